// Program entry: the command line, the application object, the main window
// and the message loop.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <iostream>

#include "editor/CommandLine.h"
#include "editor/MainForm.h"
#include "editor/Program.h"
#include "widgets/Application.h"

int main(int argc, char** argv) {
    // Questions are answered before any display is needed.
    const tsb::TCommandLine line = tsb::TCommandLine::Parse({argv + 1, argv + argc});
    if (line.Action != tsb::TCommandLine::caStart) return line.Answer(std::cout, std::cerr);
    // The toolkit sees none of the arguments: a diagram's name is never
    // taken for one of its options. Its environment variables still apply.
    int toolkitArgc = 1;
    QApplication app(toolkitArgc, argv);
    tsb::TProgram program(line.FileName);
    if (line.Recovery) {
        tsb::TMainForm* form = program.MainForm();
        form->EnableRecovery();
        // Once the window shows.
        QTimer::singleShot(0, form->Window(),
                           [form] { tsb::Guarded([&] { form->OfferRecoveredCopies(); }); });
    }
    return app.exec();
}
