// One side of the clipboard test between two running copies of the editor:
//   clipboard_peer copy READY DONE   places a shape, copies it, announces READY
//                                    and keeps serving the clipboard until DONE
//   clipboard_peer paste             pastes and checks what arrived
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "editor/MainForm.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "widgets/Application.h"
#include "widgets/Clipboard.h"

using namespace tsb;

static int Fail(const char* what) {
    std::fprintf(stderr, "clipboard_peer: %s\n", what);
    return 1;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return Fail("usage: clipboard_peer copy READY DONE | paste");
    Application().OnException = [](const std::string& m) {
        std::fprintf(stderr, "clipboard_peer: error shown: %s\n", m.c_str());
    };
    auto* form = new TMainForm;
    int result = 0;
    if (std::strcmp(argv[1], "copy") == 0 && argc == 4) {
        form->ShapeBtnClick();
        form->ScrollBox1MouseDown(form->ScrollBox1, mbLeft, 0, 120, 80);
        form->SelectAll();
        form->CopyActionExecute();
        QFile ready(argv[2]);
        if (!ready.open(QIODevice::WriteOnly)) return Fail("cannot announce");
        ready.close();
        QString done = argv[3];
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (QFile::exists(done)) app.quit();
        });
        poll.start(50);
        QTimer::singleShot(60000, &app, &QApplication::quit);
        app.exec();
    } else if (std::strcmp(argv[1], "paste") == 0) {
        if (Clipboard().Text() != "TCustomShape: Diagram Tool custom type")
            result = Fail("the clipboard text did not arrive");
        else if (!Clipboard().HasFormat(TMainForm::ClipboardFormat()))
            result = Fail("the private format did not arrive");
        else if (Clipboard().Bitmap().size() != QSize(800, 600))
            result = Fail("the bitmap did not arrive");
        else {
            form->PasteActionExecute();
            auto* shape = As<TStandardShape>(form->FindComponent("StandardShape1"));
            if (!shape || !shape->Caption() || shape->Caption()->Text() != "Caption")
                result = Fail("the pasted shape is missing");
            else if (shape->Left() != 120 || shape->Top() != 80)
                result = Fail("the pasted shape is not where it was copied");
            else
                std::printf("pasted %s with %s\n", shape->Name().c_str(),
                            shape->Caption()->Name().c_str());
        }
    } else {
        result = Fail("unknown mode");
    }
    delete form;
    return result;
}
