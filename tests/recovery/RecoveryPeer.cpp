// A running editor as the program entry makes it, with its recovery copies
// in $XDG_STATE_HOME, for the script test:
//   edit EXPECTED READY   makes changes, writes the elements as Save would
//                         write them to EXPECTED, waits until its copy is written, creates
//                         READY and runs until it is killed;
//   close EXPECTED        makes the changes and closes its window;
//   recover EXPECTED      answers "Recover Unsaved Diagrams" with Open and
//                         checks the elements against EXPECTED.
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <iostream>

#include "editor/DiagramHistory.h"
#include "editor/MainForm.h"
#include "editor/Program.h"
#include "editor/RecoverForm.h"
#include "editor/Recovery.h"
#include "model/DiagramStream.h"
#include "model/StandardShape.h"
#include "widgets/Application.h"

using namespace tsb;

namespace {

// The element records Save writes, and the page's size; Open places the
// page in the window anew.
QByteArray Saved(TMainForm* form) {
    TCustomShape::SelectAll(form->ScrollBox1);
    TBytes bytes;
    for (TControl* c : form->ScrollBox1->ControlList())
        if (auto* e = As<TCustomShape>(c)) TDiagramStream::WriteElement(bytes, form->ScrollBox1, e);
    TCustomShape::UnselectAll(form->ScrollBox1);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())) +
           QByteArray::number(form->ScrollBox1->Width()) + "x" +
           QByteArray::number(form->ScrollBox1->Height());
}

void Edit(TMainForm* form) {
    for (auto [tool, x] :
         {std::pair{form->ShapeBtn, 40}, {form->TextBtn, 300}, {form->HiddenBtn, 500}}) {
        tool->click();
        form->ScrollBox1MouseDown(form->ScrollBox1, mbLeft, TShiftState(), x, 100);
    }
    auto* shape = dynamic_cast<TStandardShape*>(form->FindComponent("StandardShape1"));
    form->ShapeDblClick(shape);
    shape->SetSelected(true);
    form->History().NewGesture();
    shape->MoveSelected(60, 40);
    // As the end of a drag: the caption back in its place.
    shape->PlaceCaption();
    form->History().Flush();
}

bool Write(const char* path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string mode = argv[1];
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    Application().OnException = [](const std::string& m) { std::cerr << "error: " << m << "\n"; };
    TProgram program;
    TMainForm* form = program.MainForm();
    form->EnableRecovery();
    if (mode == "edit" || mode == "close") {
        Edit(form);
        if (!Write(argv[2], Saved(form))) return 3;
        if (mode == "close") return 0;
        // The copy is written a few seconds after the last change.
        for (int i = 0; i < 300 && form->Recovery()->CurrentCopyIfAny().isEmpty(); ++i) {
            QApplication::processEvents();
            QThread::msleep(50);
        }
        form->Recovery()->WriteNow();
        if (!QFile::exists(form->Recovery()->CurrentCopyIfAny()) || argc < 4) return 4;
        QFile(argv[3]).open(QIODevice::WriteOnly);
        return app.exec();
    }
    if (mode != "recover") return 2;
    int listed = -1;
    QString name, count;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TRecoverDlg*>(QApplication::activeModalWidget());
        if (!dialog) return;
        listed = dialog->CopyList->topLevelItemCount();
        if (listed > 0) {
            name = dialog->CopyList->topLevelItem(0)->text(0);
            count = dialog->CopyList->topLevelItem(0)->text(2);
        }
        dialog->OpenBtn->click();
    });
    form->OfferRecoveredCopies();
    QFile expected(argv[2]);
    if (!expected.open(QIODevice::ReadOnly)) return 3;
    QByteArray got = Saved(form);
    bool same = got == expected.readAll();
    if (!same) Write((std::string(argv[2]) + ".got").c_str(), got);
    std::cout << "listed " << listed << " " << name.toStdString() << " with " << count.toStdString()
              << " elements; " << (same ? "the same diagram" : "another diagram") << "\n";
    return listed == 1 && name == "Untitled" && count == "4" && same ? 0 : 1;
}
