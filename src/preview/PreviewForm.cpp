#include "preview/PreviewForm.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "graphics/Font.h"
#include "graphics/Metafile.h"
#include "graphics/QtConvert.h"
#include "preview/qmGoPageForm.h"
#include "preview/qmPreviewAboutBox.h"
#include "preview/qmPrinter.h"
#include "widgets/Application.h"
#include "widgets/Resources.h"
#include "widgets/Screen.h"
#include "widgets/ToolButton.h"

namespace tsb {

namespace {

// Text as a label shows it: "&&" is one ampersand, and a lone one marks an
// access key and is not shown.
QString LabelText(const QString& text) {
    QString shown;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

// Zoom of each item of the zoom list; the two negative entries are worked
// out from the window.
constexpr float kPageWidth = -1, kFitPage = -2;
constexpr float kZooms[] = {5, 3, 2, 1, kPageWidth, kFitPage, 0.4f, 0.25f};
constexpr int kLastZoom = 7;

void SetHint(QWidget* widget, const char* hint) {
    widget->setProperty("hint", QString(hint));
}

// The paint box: the form paints it and handles its mouse.
class TPaintBox : public QWidget {
public:
    TPaintBox(TPreviewForm* form, QWidget* parent) : QWidget(parent), FForm(form) {}

protected:
    void paintEvent(QPaintEvent*) override {
        Guarded([this] {
            QPainter painter(this);
            FForm->PB1Paint(painter);
        });
    }
    void mousePressEvent(QMouseEvent* e) override {
        QPoint p = e->position().toPoint();
        Guarded([&] { FForm->PB1MouseDown(ButtonOf(e->button()), ShiftOf(e), p.x(), p.y()); });
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        QPoint p = e->position().toPoint();
        Guarded([&] { FForm->PB1MouseMove(ShiftOf(e), p.x(), p.y()); });
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        QPoint p = e->position().toPoint();
        Guarded([&] { FForm->PB1MouseUp(ButtonOf(e->button()), ShiftOf(e), p.x(), p.y()); });
    }

private:
    TPreviewForm* FForm;
};

} // namespace

TPreviewForm::TPreviewForm(TqmPrinter* engine) : QDialog(nullptr), FEngine(engine) {
    InitResources();
    setObjectName("PreviewForm");
    setWindowTitle("Print Preview");
    setWindowIcon(QIcon(":/preview/PreviewIcon.png"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setFont(ClassicFont("System", -13));
    setProperty("hint", QString());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QtColor(clBtnFace));
    setPalette(palette);
    // The window opens maximised; restored, it has its layout's size and
    // place.
    setGeometry(264, 139, 530, 420);
    setWindowState(Qt::WindowMaximized);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateToolBar();
    CreatePageArea();
    CreateStatusBar();
    layout->addWidget(ToolBarPanel);
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(StatBarPanel);
    FormCreate();
}

TPreviewForm::~TPreviewForm() {
    FormClose();
}

void TPreviewForm::CreateToolBar() {
    ToolBarPanel = new QFrame(this);
    ToolBarPanel->setObjectName("ToolBarPanel");
    ToolBarPanel->setAccessibleName("Tool bar");
    ToolBarPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    ToolBarPanel->setFixedHeight(27);
    ToolBarPanel->setFont(ClassicFont("Arial", -12));

    auto button = [this](const char* name, const char* caption, const char* accessible,
                         const char* hint, int left, void (TPreviewForm::*handler)()) {
        auto* b = new QPushButton(caption, ToolBarPanel);
        b->setObjectName(name);
        b->setAccessibleName(accessible);
        b->setAutoDefault(false);
        b->setGeometry(left, 2, 50, 24);
        SetHint(b, hint);
        connect(b, &QPushButton::clicked, this,
                [this, handler] { Guarded([&] { (this->*handler)(); }); });
        return b;
    };
    PrintBut = button("PrintBut", "&Print", "Print", "Print the Current Document", 5,
                      &TPreviewForm::PrintButClick);
    NextPageBut = button("NextPageBut", "&Next", "Next", "Advance to Next Page in Document", 60,
                         &TPreviewForm::NextPageButClick);
    PrevPageBut = button("PrevPageBut", "Pre&v", "Prev", "Move to Previous Page in Document", 115,
                         &TPreviewForm::PrevPageButClick);
    PrevPageBut->setEnabled(false);

    ComboBox1 = new QComboBox(ToolBarPanel);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setAccessibleName("Zoom");
    ComboBox1->addItems(
        {"500 %", "300 %", "200 %", "100 %", "Page Width", "Fit Page", "40 %", "25%"});
    ComboBox1->setGeometry(170, 2, 132, 24);
    ComboBox1->setFocusPolicy(Qt::ClickFocus);
    // Only a user's choice runs the handler, not a change made in code.
    connect(ComboBox1, &QComboBox::activated, this,
            [this] { Guarded([this] { ComboBox1Change(); }); });

    auto tool = [this](const char* name, const char* glyph, const char* hint, int left,
                       void (TPreviewForm::*handler)()) {
        auto* b = new TToolButton(ToolBarPanel);
        b->setObjectName(name);
        b->setAccessibleName(hint);
        b->setIcon(QIcon(QString(":/preview/%1.png").arg(glyph)));
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setGeometry(left, 2, 25, 25);
        b->setToolTip(hint);
        SetHint(b, hint);
        connect(b, &QToolButton::clicked, this,
                [this, handler] { Guarded([&] { (this->*handler)(); }); });
        return b;
    };
    ZoomCursorBut = tool("ZoomCursorBut", "ZoomTool", "Selects the Zoom Tool to zoom in or out",
                         307, &TPreviewForm::ZoomCursorButClick);
    HandCursorBut =
        tool("HandCursorBut", "HandTool", "Selects the Hand Tool to pan across the Page", 331,
             &TPreviewForm::HandCursorButClick);
    auto* group = new QButtonGroup(ToolBarPanel);
    group->setExclusive(true);
    group->addButton(ZoomCursorBut);
    group->addButton(HandCursorBut);
    ZoomCursorBut->setChecked(true);

    CloseBut = button("CloseBut", "&Close", "Close", "Close the Print Preview window", 362,
                      &TPreviewForm::CloseButClick);
    AboutBut =
        button("AboutBut", "&About", "About", "Displays information on the Print Preview Component",
               418, &TPreviewForm::AboutButClick);
    AboutBut->setVisible(false);
}

void TPreviewForm::CreateStatusBar() {
    StatBarPanel = new QFrame(this);
    StatBarPanel->setObjectName("StatBarPanel");
    StatBarPanel->setAccessibleName("Status bar");
    StatBarPanel->setFixedHeight(22);
    StatBarPanel->setFont(ClassicFont("Arial", -12));
    auto* row = new QHBoxLayout(StatBarPanel);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    MoveButPanel = new QFrame(StatBarPanel);
    MoveButPanel->setObjectName("MoveButPanel");
    MoveButPanel->setAccessibleName("Page navigation");
    MoveButPanel->setFixedWidth(124);
    row->addWidget(MoveButPanel);
    auto speed = [this](const char* name, const char* glyph, const char* hint, int left,
                        void (TPreviewForm::*handler)()) {
        auto* b = new TToolButton(MoveButPanel);
        b->setObjectName(name);
        b->setAccessibleName(hint);
        b->setIcon(QIcon(QString(":/preview/%1.png").arg(glyph)));
        b->setAutoRaise(true);
        b->setGeometry(left, 0, 25, 21);
        SetHint(b, hint);
        connect(b, &QToolButton::clicked, this,
                [this, handler] { Guarded([&] { (this->*handler)(); }); });
        return b;
    };
    FirstPageSpeed = speed("FirstPageSpeed", "FirstPage", "Go to First Page in Document", 1,
                           &TPreviewForm::FirstPageSpeedClick);
    PrevPageSpeed = speed("PrevPageSpeed", "PrevPage", "Move to Previous Page in Document", 25,
                          &TPreviewForm::PrevPageButClick);
    NextPageSpeed = speed("NextPageSpeed", "NextPage", "Advance to Next Page in Document", 49,
                          &TPreviewForm::NextPageButClick);
    LastPageSpeed = speed("LastPageSpeed", "LastPage", "Go to Last Page in Document", 73,
                          &TPreviewForm::LastPageSpeedClick);
    PageNumSpeed = speed("PageNumSpeed", "PageNumber", "Go to Page by Page Number", 97,
                         &TPreviewForm::PageNumSpeedClick);

    // The two display panels expose their text as their accessible name.
    auto panel = [this, row](const char* name, const char* hint) {
        auto* label = new QLabel(StatBarPanel);
        label->setObjectName(name);
        label->setAccessibleDescription(hint);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setFixedWidth(88);
        SetHint(label, hint);
        row->addWidget(label);
        return label;
    };
    CurPageLabel = panel("CurPageLabel", "Displays the Current Page of the Document");
    ZoomLabel = panel("ZoomLabel", "Displays the Current Zoom Level (100% = normal)");

    Panel1 = new QFrame(StatBarPanel);
    Panel1->setObjectName("Panel1");
    Panel1->setAccessibleName("Displays Help for the object beneath the mouse");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetHint(Panel1, "Displays Help for the object beneath the mouse");
    row->addWidget(Panel1, 1);
    HintLabel = new QLabel("HintLabel", Panel1);
    HintLabel->setObjectName("HintLabel");
    HintLabel->move(3, 2);
    HintLabel->adjustSize();
}

void TPreviewForm::CreatePageArea() {
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setAccessibleName("Pages");
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->installEventFilter(this);

    ContainPanel = new QWidget;
    ContainPanel->setObjectName("ContainPanel");
    ContainPanel->setAccessibleName("Page surround");
    ContainPanel->setAutoFillBackground(true);
    QPalette dark = ContainPanel->palette();
    dark.setColor(QPalette::Window, QtColor(clBtnShadow));
    ContainPanel->setPalette(dark);
    ScrollBox1->setWidget(ContainPanel);

    PagePanel = new QFrame(ContainPanel);
    PagePanel->setObjectName("PagePanel");
    PagePanel->setAccessibleName("Page");
    PagePanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    PagePanel->setLineWidth(1);
    PagePanel->setAutoFillBackground(true);
    QPalette white = PagePanel->palette();
    white.setColor(QPalette::Window, QtColor(clWindow));
    white.setColor(QPalette::WindowText, Qt::black);
    PagePanel->setPalette(white);

    PB1 = new TPaintBox(this, PagePanel);
    PB1->setObjectName("PB1");
    const char* hint = "With Zoom Tool, left or right click to zoom in/out.  Click && drag with "
                       "Hand Tool to pan.";
    PB1->setAccessibleName(LabelText(hint));
    SetHint(PB1, hint);
}

void TPreviewForm::FormCreate() {
    Screen().SetCursorImage(crZoomTool, TScreen::LoadCursorResource("ZOOM_CURSOR", 6, 6));
    Screen().SetCursorImage(crHandTool, TScreen::LoadCursorResource("HAND_CURSOR", 10, 10));
}

void TPreviewForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (FShown) return;
    FShown = true;
    Guarded([this] { FormShow(); });
}

void TPreviewForm::FormShow() {
    PagePanel->move(9, 9);
    ComboBox1->setCurrentIndex(4);
    SetPage(1);
    SetBaseWidth(OpeningScrollBoxWidth() - 20);
    SetZoom(PageWidthZoom());
    ZoomCursorBut->setChecked(true);
    PB1->setCursor(Screen().Cursor(crZoomTool));
    if (!FHintInstalled) {
        FSavedHint = Application().OnHint;
        Application().OnHint = [this](const std::string& hint) { HintChanged(hint); };
        Application().InstallHintTracking();
        FHintInstalled = true;
    }
    FDragging = false;
}

bool TPreviewForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ScrollBox1 && event->type() == QEvent::Resize) Guarded([this] { FormResize(); });
    return QDialog::eventFilter(watched, event);
}

int TPreviewForm::OpeningScrollBoxWidth() const {
    // The window system may make a window maximised only after it shows; the
    // opening zoom fits the page to the window the user will see.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!isMaximized() || !screen) return ScrollBox1->width();
    const int maximised = screen->availableGeometry().width() - (frameGeometry().width() - width());
    return ScrollBox1->width() + std::max(0, maximised - width());
}

void TPreviewForm::FormResize() {
    const int before = FBaseWidth;
    SetBaseWidth(ScrollBox1->width() - 20);
    // A change of height alone keeps the base width; the page is laid out
    // along both axes all the same.
    if (FBaseWidth == before) RepaintPage();
}

void TPreviewForm::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TPreviewForm::FormClose() {
    if (!FHintInstalled) return;
    Application().OnHint = FSavedHint;
    FSavedHint = nullptr;
    FHintInstalled = false;
}

void TPreviewForm::HintChanged(const std::string& hint) {
    HintLabel->setText(LabelText(QString::fromStdString(hint)));
    HintLabel->adjustSize();
}

void TPreviewForm::SetPage(int n) {
    if (n == FShownPage) return;
    FShownPage = n;
    int count = FEngine->PageCount();
    CurPageLabel->setText(QString("Page %1 of %2").arg(n).arg(count));
    FEngine->SelectPage(n);
    FShownMetafile = FEngine->SelectedPage();
    for (QWidget* w : {static_cast<QWidget*>(PrevPageBut), static_cast<QWidget*>(PrevPageSpeed),
                       static_cast<QWidget*>(FirstPageSpeed)})
        w->setEnabled(n > 1);
    for (QWidget* w : {static_cast<QWidget*>(NextPageBut), static_cast<QWidget*>(NextPageSpeed),
                       static_cast<QWidget*>(LastPageSpeed)})
        w->setEnabled(n < count);
}

void TPreviewForm::GoToPage(int n) {
    const int count = std::max(1, FEngine->PageCount());
    if (n == -1) n = count;
    // The page entry has no range where its bounds are equal, as with one
    // page: a number beyond the document goes to the nearest page.
    SetPage(std::clamp(n, 1, count));
}

void TPreviewForm::SetBaseWidth(int width) {
    if (width == FBaseWidth) return;
    FBaseWidth = width;
    RepaintPage();
}

void TPreviewForm::SetZoom(float zoom) {
    if (zoom == FZoom) return;
    FZoom = zoom;
    // The percentage in fixed notation: four significant digits, no decimals.
    float percent = zoom * 100;
    QString number = std::fabs(percent) < 10000 ? QString::number(percent, 'f', 0)
                                                : QString::number(percent, 'E', 3);
    ZoomLabel->setText("Zoom = " + number + "%");
    RepaintPage();
}

// A printable area without width or height has nothing to fit: it shows at
// 100 %, never at an infinite zoom.
float TPreviewForm::PageWidthZoom() const {
    float w = static_cast<float>(FEngine->PageWidth());
    float b = static_cast<float>(FBaseWidth);
    if (FEngine->Orientation() == poPortrait) return w / (b + 38);
    return w > 0 ? (b - 42) / w : 1;
}

float TPreviewForm::FitPageZoom() const {
    float room =
        static_cast<float>(height() - ToolBarPanel->height() - StatBarPanel->height() - 40);
    const int h = FEngine->PageHeight();
    return h > 0 ? room / static_cast<float>(h) : 1;
}

void TPreviewForm::RepaintPage() {
    LayoutPage();
    PB1->update();
}

void TPreviewForm::LayoutPage() {
    float w = static_cast<float>(std::max(1, FEngine->PageWidth()));
    float h = static_cast<float>(std::max(1, FEngine->PageHeight()));
    float scaled = static_cast<float>(FBaseWidth) * FZoom;
    int panelWidth, panelHeight;
    if (FEngine->Orientation() == poPortrait) {
        panelWidth = Round(scaled);
        panelHeight = Round(scaled * (h / w));
    } else {
        panelWidth = Round(scaled * (w / h));
        panelHeight = Round(scaled);
    }
    panelWidth = std::max(0, panelWidth);
    panelHeight = std::max(0, panelHeight);
    // Along each axis the page either sits in the middle of the view, or the
    // view scrolls over it with a 9-pixel rim of the dark container.
    struct TAxis {
        int Container, Offset;
        bool Scrolls;
    };
    auto axis = [](int panel, int box) -> TAxis {
        if (panel + 18 < box - 1) return {box - 1, (box - 1) / 2 - panel / 2, false};
        return {panel + 18, 9, true};
    };
    const TAxis across = axis(panelWidth, ScrollBox1->width());
    const TAxis down = axis(panelHeight, ScrollBox1->height());
    ScrollBox1->setHorizontalScrollBarPolicy(across.Scrolls ? Qt::ScrollBarAsNeeded
                                                            : Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(down.Scrolls ? Qt::ScrollBarAsNeeded
                                                        : Qt::ScrollBarAlwaysOff);
    ContainPanel->resize(across.Container, down.Container);
    PagePanel->setGeometry(across.Offset, down.Offset, panelWidth, panelHeight);
    PB1->setGeometry(PagePanel->contentsRect());
}

void TPreviewForm::PB1Paint(QPainter& painter) {
    if (FShownMetafile) FShownMetafile->Play(painter, PB1->rect());
}

void TPreviewForm::ComboBox1Change() {
    int index = ComboBox1->currentIndex();
    if (index < 0 || index > kLastZoom) return;
    float zoom = kZooms[index];
    if (zoom == kPageWidth) zoom = PageWidthZoom();
    if (zoom == kFitPage) zoom = FitPageZoom();
    SetZoom(zoom);
}

void TPreviewForm::ZoomInButClick() {
    int index = ComboBox1->currentIndex();
    if (index - 1 >= 0) ComboBox1->setCurrentIndex(index - 1);
    ComboBox1Change();
}

void TPreviewForm::ZoomOutButClick() {
    int index = ComboBox1->currentIndex();
    if (index + 1 <= kLastZoom) ComboBox1->setCurrentIndex(index + 1);
    ComboBox1Change();
}

void TPreviewForm::NextPageButClick() {
    if (FShownPage < FEngine->PageCount()) SetPage(FShownPage + 1);
    PB1->update();
}

void TPreviewForm::PrevPageButClick() {
    if (FShownPage > 1) SetPage(FShownPage - 1);
    PB1->update();
}

void TPreviewForm::FirstPageSpeedClick() {
    SetPage(1);
    PB1->update();
}

void TPreviewForm::LastPageSpeedClick() {
    GoToPage(-1);
    PB1->update();
}

void TPreviewForm::PageNumSpeedClick() {
    TqmGoPageForm dialog(nullptr);
    dialog.SetPageCount(FEngine->PageCount());
    dialog.SetPage(FShownPage);
    if (dialog.Execute()) {
        GoToPage(dialog.GetPage());
        PB1->update();
    }
}

void TPreviewForm::PrintButClick() {
    FEngine->Print();
}

void TPreviewForm::CloseButClick() {
    close();
}

void TPreviewForm::AboutButClick() {
    TqmPreviewAboutBox about(nullptr);
    about.Execute();
}

void TPreviewForm::ZoomCursorButClick() {
    PB1->setCursor(Screen().Cursor(crZoomTool));
}

void TPreviewForm::HandCursorButClick() {
    PB1->setCursor(Screen().Cursor(crHandTool));
}

void TPreviewForm::PB1MouseDown(TMouseButton, TShiftState shift, int x, int y) {
    if (HandCursorBut->isChecked()) {
        FDragStartX = x;
        FDragStartY = y;
        FDragging = true;
        return;
    }
    // The clicked point of the page comes to the middle of the view.
    float fx = static_cast<float>(x) / static_cast<float>(std::max(1, PagePanel->width()));
    float fy = static_cast<float>(y) / static_cast<float>(std::max(1, PagePanel->height()));
    if (shift & ssLeft) ZoomInButClick();
    if (shift & ssRight) ZoomOutButClick();
    LayoutPage();
    ScrollBox1->horizontalScrollBar()->setValue(
        static_cast<int>(static_cast<float>(PagePanel->width()) * fx) - ScrollBox1->width() / 2);
    ScrollBox1->verticalScrollBar()->setValue(
        static_cast<int>(static_cast<float>(PagePanel->height()) * fy) - ScrollBox1->height() / 2);
}

void TPreviewForm::PB1MouseMove(TShiftState, int x, int y) {
    if (!FDragging) return;
    QScrollBar* h = ScrollBox1->horizontalScrollBar();
    QScrollBar* v = ScrollBox1->verticalScrollBar();
    h->setValue(h->value() + (FDragStartX - x));
    v->setValue(v->value() + (FDragStartY - y));
}

void TPreviewForm::PB1MouseUp(TMouseButton, TShiftState, int, int) {
    FDragging = false;
}

} // namespace tsb
