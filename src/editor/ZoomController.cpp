#include "editor/ZoomController.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editor/MainForm.h"
#include "model/CustomShape.h"
#include "widgets/Application.h"
#include "workarea/qmRuler.h"

namespace tsb {

namespace {

// The rulers' margins left of and above the page, as the page is placed.
constexpr int MarginLeft = 40;

bool Same(double a, double b) {
    return std::abs(a - b) < 1e-9;
}

} // namespace

TZoomController::TZoomController(TMainForm& form) : FForm(form) {
    QMainWindow* window = form.Window();
    QMenuBar* bar = window->menuBar();
    auto* view = new QMenu("View", bar);
    view->setObjectName("View1");
    // After Edit: before the menu that follows it.
    QAction* before = nullptr;
    const QList<QAction*> menus = bar->actions();
    for (qsizetype i = 0; i + 1 < menus.size(); ++i)
        if (menus[i]->menu() == form.EditMenu) before = menus[i + 1];
    if (before)
        bar->insertMenu(before, view);
    else
        bar->addMenu(view);
    struct TItem {
        const char* Name;
        const char* Caption;
        QList<QKeySequence> Keys;
        void (TZoomController::*Handler)();
    };
    const TItem items[] = {
        {"ZoomIn1",
         "Zoom In",
         {QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")},
         &TZoomController::ZoomIn},
        {"ZoomOut1", "Zoom Out", {QKeySequence("Ctrl+-")}, &TZoomController::ZoomOut},
        {"ActualSize1", "Actual Size", {QKeySequence("Ctrl+0")}, &TZoomController::ActualSize},
        {"FitPage1", "Fit Page", {}, &TZoomController::FitPage},
        {"FitSelection1", "Fit Selection", {}, &TZoomController::FitSelection},
    };
    for (const TItem& item : items) {
        QAction* a = view->addAction(item.Caption);
        a->setObjectName(item.Name);
        a->setShortcuts(item.Keys);
        form.MenuItems[item.Name] = a;
        QObject::connect(a, &QAction::triggered, this,
                         [this, handler = item.Handler] { Guarded([&] { (this->*handler)(); }); });
        if (item.Handler == &TZoomController::FitPage) view->addSeparator()->setObjectName("N9");
    }
    QObject::connect(view, &QMenu::aboutToShow, this, [this] {
        FForm.MenuItem("FitSelection1")->setEnabled(TCustomShape::AnySelected(FForm.ScrollBox1));
    });

    FPanel = new QLabel(QString::fromStdString(ZoomText(1)), window->statusBar());
    FPanel->setObjectName("ZoomPanel");
    FPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FPanel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    FPanel->setFixedWidth(60);
    window->statusBar()->addPermanentWidget(FPanel);

    // Over the work area and over the margins around it.
    form.ScrollBox1->Host()->installEventFilter(this);
    form.ContainerPanel->ScrollArea()->viewport()->installEventFilter(this);
}

const std::vector<double>& TZoomController::Steps() {
    static const std::vector<double> steps = {0.10, 0.15, 0.20, 0.25, 1.0 / 3, 0.50, 2.0 / 3, 0.75,
                                              1.00, 1.25, 1.50, 2.00, 3.00,    4.00, 6.00,    8.00};
    return steps;
}

std::string TZoomController::ZoomText(double zoom) {
    const double percent = zoom * 100;
    char text[32];
    if (percent < 9.95)
        std::snprintf(text, sizeof text, "%.1f %%", percent);
    else
        std::snprintf(text, sizeof text, "%.0f %%", percent);
    return text;
}

QPoint TZoomController::ViewportMiddle() const {
    const QWidget* viewport = FForm.ContainerPanel->ScrollArea()->viewport();
    return QPoint(viewport->width() / 2, viewport->height() / 2);
}

QPointF TZoomController::PageAt(QPoint at) const {
    const QWidget* viewport = FForm.ContainerPanel->ScrollArea()->viewport();
    const QPoint host = FForm.ScrollBox1->Host()->mapTo(viewport, QPoint(0, 0));
    return QPointF(at - host) / FZoom;
}

QPoint TZoomController::ViewOrigin(double zoom) const {
    const TScrollBox* area = FForm.ScrollBox1;
    if (zoom == 1) return QPoint(area->Left(), area->Top());
    // As the page is placed at 100 %: in the middle, within the margins.
    const TViewTransform& view = area->View();
    TViewTransform zoomed = view;
    zoomed.SetZoom(zoom);
    const int left = (FForm.ContainerPanel->Width() - zoomed.ViewExtent(area->Width())) / 2;
    const int top = (FForm.ContainerPanel->Height() - zoomed.ViewExtent(area->Height())) / 2;
    return QPoint(std::max(left, MarginLeft), std::max(top, FMinimumTop));
}

void TZoomController::Apply(double zoom, QPointF page, QPoint at) {
    FZoom = zoom;
    const QPoint origin = ViewOrigin(zoom);
    FForm.ScrollBox1->SetZoom(zoom, {origin.x(), origin.y()});
    FForm.qmRuler1->Invalidate();
    FPanel->setText(QString::fromStdString(ZoomText(zoom)));
    QScrollArea* scroll = FForm.ContainerPanel->ScrollArea();
    const QPointF want = QPointF(origin) + page * zoom - QPointF(at);
    scroll->horizontalScrollBar()->setValue(int(std::lround(want.x())));
    scroll->verticalScrollBar()->setValue(int(std::lround(want.y())));
}

void TZoomController::ZoomAt(double zoom, QPoint at) {
    zoom = std::clamp(zoom, MinZoom, MaxZoom);
    QScrollArea* scroll = FForm.ContainerPanel->ScrollArea();
    QScrollBar* h = scroll->horizontalScrollBar();
    QScrollBar* v = scroll->verticalScrollBar();
    const bool resting =
        FAnchor.At == at && FAnchor.Horizontal == h->value() && FAnchor.Vertical == v->value();
    const QPointF page = resting ? FAnchor.Page : PageAt(at);
    if (Same(zoom, FZoom) && resting) return;
    Apply(zoom, page, at);
    FAnchor = {at, page, h->value(), v->value()};
}

void TZoomController::SetZoom(double zoom) {
    ZoomAt(zoom, ViewportMiddle());
}

double TZoomController::NextStep(double zoom, bool in) {
    const std::vector<double>& steps = Steps();
    if (in) {
        for (double step : steps)
            if (step > zoom && !Same(step, zoom)) return step;
    } else {
        for (auto it = steps.rbegin(); it != steps.rend(); ++it)
            if (*it < zoom && !Same(*it, zoom)) return *it;
    }
    return zoom;
}

void TZoomController::ZoomIn() {
    SetZoom(NextStep(FZoom, true));
}

void TZoomController::ZoomOut() {
    SetZoom(NextStep(FZoom, false));
}

void TZoomController::ActualSize() {
    SetZoom(1);
}

void TZoomController::FitPage() {
    const TScrollBox* area = FForm.ScrollBox1;
    // The page with a margin as wide as the rulers' on every side.
    const double across = double(FForm.ContainerPanel->Width() - 2 * MarginLeft) / area->Width();
    const double down = double(FForm.ContainerPanel->Height() - 2 * FMinimumTop) / area->Height();
    const double zoom = std::clamp(std::min(across, down), MinZoom, MaxZoom);
    Apply(zoom, {0, 0}, {0, 0});
    FAnchor = {};
}

void TZoomController::FitSelection() {
    TRect box;
    bool any = false;
    for (TControl* c : FForm.ScrollBox1->ControlList()) {
        auto* shape = As<TCustomShape>(c);
        if (!shape || !shape->Selected()) continue;
        box = any ? box.Union(c->BoundsRect()) : c->BoundsRect();
        any = true;
    }
    if (!any) return;
    const QWidget* viewport = FForm.ContainerPanel->ScrollArea()->viewport();
    const double across =
        double(FForm.ContainerPanel->Width() - 2 * MarginLeft) / std::max(1, box.Width());
    const double down =
        double(FForm.ContainerPanel->Height() - 2 * FMinimumTop) / std::max(1, box.Height());
    const double zoom = std::clamp(std::min(across, down), MinZoom, MaxZoom);
    Apply(zoom, QPointF(box.Left + box.Width() / 2.0, box.Top + box.Height() / 2.0),
          QPoint(viewport->width() / 2, viewport->height() / 2));
    FAnchor = {};
}

void TZoomController::PagePlaced(int minimumTop) {
    FMinimumTop = minimumTop;
    FAnchor = {};
    if (FZoom == 1) return;
    const QPoint origin = ViewOrigin(FZoom);
    FForm.ScrollBox1->SetZoom(FZoom, {origin.x(), origin.y()});
}

bool TZoomController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
    // Each notch (120) of the wheel a step; a fine-grained wheel adds up.
    FWheel += wheel->angleDelta().y();
    QWidget* viewport = FForm.ContainerPanel->ScrollArea()->viewport();
    const QPoint at = static_cast<QWidget*>(watched)->mapTo(viewport, wheel->position().toPoint());
    Guarded([&] {
        while (FWheel >= 120 || FWheel <= -120) {
            const bool in = FWheel > 0;
            FWheel += in ? -120 : 120;
            ZoomAt(NextStep(FZoom, in), at);
        }
    });
    return true;
}

} // namespace tsb
