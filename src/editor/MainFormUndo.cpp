// Undo and Redo: the Edit menu's first two items, their short-cuts and
// enabling, and what the window does for its history.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QShortcut>

#include "editor/DiagramHistory.h"
#include "editor/MainForm.h"
#include "model/CustomShape.h"
#include "widgets/Application.h"
#include "workarea/qmRuler.h"

namespace tsb {

namespace {
const char* const kPageItems[] = {"P640x480", "P800x600", "P800x1035", "P800x1600", "Custom"};
} // namespace

void TMainForm::CreateUndoItems() {
    QAction* undo = AddMenuItem(EditMenu, "Undo1", "&Undo", &TMainForm::UndoActionExecute);
    undo->setShortcut(QKeySequence("Ctrl+Z"));
    QAction* redo = AddMenuItem(EditMenu, "Redo1", "&Redo", &TMainForm::RedoActionExecute);
    redo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    for (QAction* item : {undo, redo}) {
        item->setShortcutContext(Qt::WidgetShortcut);
        item->setEnabled(false);
    }
    EditMenu->addSeparator()->setObjectName("N7");
    // As the other Edit short-cuts: the items' enabling is worked out first.
    struct TKeys {
        const char* Item;
        const char* Keys;
    };
    for (auto [item, keys] :
         {TKeys{"Undo1", "Ctrl+Z"}, TKeys{"Redo1", "Ctrl+Y"}, TKeys{"Redo1", "Ctrl+Shift+Z"}})
        AddEditShortcut(item, QKeySequence(keys), QString("Shortcut%1 %2").arg(item, keys));
}

void TMainForm::CreateHistory() {
    FHistory = std::make_unique<TDiagramHistory>(ScrollBox1);
    FHistory->OnRecreated = [this](TCustomShape* element, unsigned hooks) {
        AttachHooks(element);
        // A caption placed with its element has only its double-click.
        if (!(hooks & TDiagramHistory::hkClick)) element->OnClick = {};
        if (!(hooks & TDiagramHistory::hkMouseUp)) element->OnMouseUp = {};
        if (!(hooks & TDiagramHistory::hkDblClick)) element->OnDblClick = {};
    };
    FHistory->OnCapturePage = [this]() -> std::string {
        for (const char* name : kPageItems)
            if (MenuItem(name)->isChecked()) return name;
        return {};
    };
    FHistory->OnRestorePage = [this](const std::string& item) {
        if (QAction* a = MenuItem(item)) a->setChecked(true);
        // The scales count from the work area's edges.
        qmRuler1->Invalidate();
    };
}

void TMainForm::UpdateUndoItems() {
    // Nothing is undone under a modal dialog: the command that opened it
    // still works on the diagram.
    bool free = !QApplication::activeModalWidget();
    bool canUndo = free && FHistory->CanUndo();
    bool canRedo = free && FHistory->CanRedo();
    QAction* undo = MenuItem("Undo1");
    QAction* redo = MenuItem("Redo1");
    undo->setEnabled(canUndo);
    redo->setEnabled(canRedo);
    undo->setText(canUndo ? QString("&Undo %1").arg(QString::fromStdString(FHistory->UndoText()))
                          : QString("&Undo"));
    redo->setText(canRedo ? QString("&Redo %1").arg(QString::fromStdString(FHistory->RedoText()))
                          : QString("&Redo"));
}

void TMainForm::UndoActionExecute() {
    if (QApplication::activeModalWidget()) return;
    FHistory->Undo();
}

void TMainForm::RedoActionExecute() {
    if (QApplication::activeModalWidget()) return;
    FHistory->Redo();
}

} // namespace tsb
