// Edit > Find… and Find Next: the "Find" window, and scrolling what it
// finds into view.
#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <cmath>

#include "editor/FindForm.h"
#include "editor/MainForm.h"
#include "editor/ZoomController.h"
#include "widgets/Application.h"

namespace tsb {

namespace {

// The scroll value that shows [low, high) in a view `size` long now at
// `value`, moving it as little as possible; what does not fit shows from its
// start.
int ShowSpan(int value, int size, int low, int high, int margin) {
    low -= margin;
    high += margin;
    if (low < value || high - low > size) return low;
    if (high > value + size) return high - size;
    return value;
}

} // namespace

void TMainForm::CreateFindItems() {
    EditMenu->addSeparator()->setObjectName("N8");
    struct TItem {
        const char* Name;
        const char* Caption;
        const char* Keys;
        void (TMainForm::*Handler)();
    };
    for (auto [name, caption, keys, handler] :
         {TItem{"Find1", "Find\u2026", "Ctrl+F", &TMainForm::FindActionExecute},
          TItem{"FindNext1", "Find Next", "F3", &TMainForm::FindNextActionExecute}}) {
        QAction* item = AddMenuItem(EditMenu, name, caption, handler);
        // Shown in the menu; the window's short-cut acts.
        item->setShortcut(QKeySequence(keys));
        item->setShortcutContext(Qt::WidgetShortcut);
        auto* shortcut = new QShortcut(QKeySequence(keys), FWindow);
        shortcut->setObjectName(QString("Shortcut") + name);
        QObject::connect(shortcut, &QShortcut::activated, item, &QAction::trigger);
    }
}

void TMainForm::FindActionExecute() {
    if (!FFindForm) FFindForm = new TFindForm(*this);
    FFindForm->show();
    FFindForm->raise();
    FFindForm->activateWindow();
    FFindForm->FindEdit->setFocus();
    FFindForm->FindEdit->selectAll();
}

void TMainForm::FindNextActionExecute() {
    if (!FFindForm || FFindForm->FindEdit->text().isEmpty()) {
        FindActionExecute();
        return;
    }
    // "No matches" shows in the window.
    if (!FFindForm->FindNextClick() && !FFindForm->isVisible()) FindActionExecute();
}

void TMainForm::ScrollIntoView(const TRect& rect) {
    // The panel's content pixels of the work area's zoomed view.
    const int margin = 20;
    QScrollArea* area = ContainerPanel->ScrollArea();
    QScrollBar* h = area->horizontalScrollBar();
    QScrollBar* v = area->verticalScrollBar();
    const QPoint origin = ScrollBox1->Host()->mapTo(area->widget(), QPoint(0, 0));
    const double zoom = Zoom().Zoom();
    auto low = [&](int page) { return int(std::floor(page * zoom)); };
    auto high = [&](int page) { return int(std::ceil(page * zoom)); };
    h->setValue(ShowSpan(h->value(), area->viewport()->width(), origin.x() + low(rect.Left),
                         origin.x() + high(rect.Right), margin));
    v->setValue(ShowSpan(v->value(), area->viewport()->height(), origin.y() + low(rect.Top),
                         origin.y() + high(rect.Bottom), margin));
}

} // namespace tsb
