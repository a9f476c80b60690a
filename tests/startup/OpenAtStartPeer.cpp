// The editor started as its program entry starts it, with the diagram named
// on the command line, checked from inside once the start is over:
//   open_at_start_peer opens ARGS...        the diagram is open as the Open
//                                           command leaves it
//   open_at_start_peer fails MESSAGE ARGS...  the message box said MESSAGE,
//                                           and the diagram is empty
// ARGS are the editor's own command line. Prints what failed; exit status 0
// when every check passed.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "editor/CommandLine.h"
#include "editor/MainForm.h"
#include "editor/Program.h"
#include "model/CustomShape.h"
#include "model/DiagramDump.h"
#include "model/DiagramRoot.h"
#include "model/GraphicShape.h"
#include "model/HiddenShape.h"
#include "model/ModelClasses.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"

using namespace tsb;

namespace {

int failures = 0;

void Check(bool ok, const std::string& what, const std::string& detail = {}) {
    if (ok) return;
    ++failures;
    std::fprintf(stderr, "FAILED: %s%s%s\n", what.c_str(), detail.empty() ? "" : ": ",
                 detail.c_str());
}

struct TShownBox {
    int Count = 0;
    std::string Title;
    std::string Text;
};

// Reads every message box shown and presses its OK, as a user would.
void AnswerMessageBoxes(TShownBox& shown) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        ++shown.Count;
        shown.Title = box->windowTitle().toStdString();
        shown.Text = box->text().toStdString();
        if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    });
    poll->start(20);
}

std::vector<TCustomShape*> Elements(TMainForm* form) {
    std::vector<TCustomShape*> out;
    for (TControl* c : form->ScrollBox1->ControlList())
        if (auto* e = As<TCustomShape>(c)) out.push_back(e);
    return out;
}

bool Ticked(TMainForm* form, const char* item) {
    QAction* a = form->MenuItem(item);
    return a && a->isChecked();
}

// What opened at start against the same file read on its own by the model.
void CheckOpened(TMainForm* form, const std::string& fileName, const TShownBox& shown) {
    Check(shown.Count == 0, "no message box", shown.Text);
    RegisterModelClasses();
    TDiagramRoot alone;
    TCustomShape::LoadFromFile(fileName, alone.ScrollBox1);
    const std::string expected = DumpDiagram(alone.ScrollBox1);
    const std::string got = DumpDiagram(form->ScrollBox1);
    Check(!expected.empty(), "the file has elements");
    Check(got == expected, "the elements of the file", "\n" + got + "instead of\n" + expected);
    Check(form->ScrollBox1->Width() == alone.ScrollBox1->Width() &&
              form->ScrollBox1->Height() == alone.ScrollBox1->Height(),
          "the page size of the file");
    Check(form->ScrollBox1->Align() == alNone, "the work area is not aligned");
    // Placed in the middle of the panel, no higher than 30 and no further
    // left than 40.
    const int left = (form->ContainerPanel->Width() - form->ScrollBox1->Width()) / 2;
    const int top = (form->ContainerPanel->Height() - form->ScrollBox1->Height()) / 2;
    Check(form->ScrollBox1->Left() == std::max(left, 40) &&
              form->ScrollBox1->Top() == std::max(top, 30),
          "the work area is placed");
    Check(Ticked(form, "Custom") && !Ticked(form, "P800x600"), "\"Custom\" is ticked");
    for (TCustomShape* e : Elements(form)) {
        Check(!e->Selected(), e->Name() + " is not selected");
        // Pictures, texts, standard shapes and junctions report clicks and
        // releases to the main window; the first three double-clicks too.
        const bool hooked = As<TGraphicShape>(e) || As<TTextShape>(e) || As<TStandardShape>(e);
        if (hooked || As<THiddenShape>(e))
            Check(e->OnClick && e->OnMouseUp && (!hooked || e->OnDblClick),
                  e->Name() + " has its hooks");
    }
}

void CheckFailed(TMainForm* form, const std::string& message, const TShownBox& shown) {
    Check(shown.Count == 1, "one message box", std::to_string(shown.Count));
    Check(shown.Title == "Tresselby Application", "the message box's title", shown.Title);
    Check(shown.Text == message, "the message", shown.Text);
    Check(Elements(form).empty(), "the diagram is empty");
    Check(form->ScrollBox1->Width() == 800 && form->ScrollBox1->Height() == 600,
          "the page stays 800 x 600");
    Check(Ticked(form, "P800x600") && !Ticked(form, "Custom"), "\"800x600\" stays ticked");
}

} // namespace

int main(int argc, char** argv) {
    int toolkitArgc = 1;
    QApplication app(toolkitArgc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    const int first = mode == "fails" ? 3 : 2;
    if ((mode != "opens" && mode != "fails") || argc < first) {
        std::fprintf(stderr, "usage: open_at_start_peer opens ARGS... | fails MESSAGE ARGS...\n");
        return 2;
    }
    const TCommandLine line = TCommandLine::Parse({argv + first, argv + argc});
    if (line.Action != TCommandLine::caStart || line.FileName.empty()) {
        std::fprintf(stderr, "FAILED: the command line names no file to open\n");
        return 1;
    }
    TShownBox shown;
    AnswerMessageBoxes(shown);
    {
        TProgram program(line.FileName);
        TMainForm* form = program.MainForm();
        Check(form->Window()->isVisible(), "the main window is shown");
        if (mode == "opens")
            CheckOpened(form, line.FileName, shown);
        else
            CheckFailed(form, argv[2], shown);
        // The editor goes on working after the start.
        bool stays = false;
        QTimer::singleShot(200, &app, [&] {
            stays = form->Window()->isVisible();
            QApplication::exit(0);
        });
        app.exec();
        Check(stays, "the main window stays");
    }
    if (failures == 0) std::printf("%s: %s\n", mode.c_str(), line.FileName.c_str());
    return failures == 0 ? 0 : 1;
}
