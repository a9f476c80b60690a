// Program entry: the application object, the main window, the message loop.
#include <QApplication>

#include "editor/ConnDlg.h"
#include "editor/MainForm.h"
#include "platform/Application.h"
#include "platform/Font.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("Tresselby Diagram Tool");
    app.setFont(tsb::TFont().ToQFont());
    tsb::Application().Title = "Tresselby Application";
    auto* mainForm = new tsb::TMainForm;
    tsb::ConnDialog();
    mainForm->Show();
    int result = app.exec();
    delete mainForm;
    tsb::FreeConnDialog();
    return result;
}
