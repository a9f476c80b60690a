#include "EditorWindow.h"

#include <QApplication>
#include <QMainWindow>

#include "LargeDiagram.h"
#include "editor/MainForm.h"

namespace tsbbench {

void Settle() {
    QApplication::processEvents();
}

std::unique_ptr<tsb::TMainForm> NewWindow() {
    auto form = std::make_unique<tsb::TMainForm>();
    form->Window()->resize(1600, 1200);
    form->Window()->show();
    Settle();
    return form;
}

tsb::TMainForm& LargeDiagramWindow() {
    static tsb::TMainForm* form = [] {
        tsb::TMainForm* f = NewWindow().release();
        qAddPostRoutine([] { delete form; });
        f->OpenFile(LargeDiagramFile());
        Settle();
        return f;
    }();
    return *form;
}

} // namespace tsbbench
