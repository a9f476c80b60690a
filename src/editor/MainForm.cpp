#include "editor/MainForm.h"
#include "editor/ProgressWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "about/AboutDlg.h"
#include "editor/CaptionEditForm.h"
#include "editor/DiagramHistory.h"
#include "editor/Recovery.h"
#include "editor/ZoomController.h"
#include "graphics/JPEGImage.h"
#include "model/DiagramRoot.h"
#include "model/GraphicShape.h"
#include "model/HiddenShape.h"
#include "model/ModelClasses.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "preview/qmPrinter.h"
#include "widgets/Application.h"
#include "widgets/Image.h"
#include "widgets/Resources.h"
#include "widgets/ToolButton.h"
#include "workarea/SnapGrid.h"
#include "workarea/qmRuler.h"

namespace tsb {

namespace {

const char* kPrompts[] = {
    "Waiting",
    "Place object on the diagram",
    "Place object on the diagram",
    "Place object on the diagram",
    "Place object on the diagram",
    "Choose the first object to connect",
    "Choose the second object to connect",
    "Choose the first object to connect",
    "Choose the second object to connect",
    "Choose the first object to connect",
    "Choose the second object to connect",
};

// Tool-bar images: our own pictures, or the desktop theme's where it has a
// fitting one.
QIcon ToolIcon(int image) {
    static const char* files[] = {"00-new",     "01-open", "02-save",   "03-print",  "04-export",
                                  "05-cut",     "06-copy", "07-paste",  "08-delete", "09-select",
                                  "10-graphic", "11-text", "12-shape",  "13-twoway", "14-oneway",
                                  "15-grid",    "16-snap", "17-hidden", "18-line"};
    static const char* themed[] = {"document-new",   "document-open", "document-save",
                                   "document-print", nullptr,         "edit-cut",
                                   "edit-copy",      "edit-paste",    "edit-delete"};
    QIcon own(QString(":/icons/%1.png").arg(files[image]));
    // Drawn at twice the size for screens of twice the density, whichever
    // screen the window shows on.
    own.addFile(QString(":/icons/%1@2x.png").arg(files[image]));
    if (image < 9 && themed[image] && QIcon::hasThemeIcon(themed[image]))
        return QIcon::fromTheme(themed[image], own);
    return own;
}

// A tool-bar separator: 20 pixels of space with an etched line.
class TToolSeparator : public QWidget {
public:
    TToolSeparator() { setFixedSize(20, 22); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawLine(9, 2, 9, height() - 3);
        p.setPen(Qt::white);
        p.drawLine(10, 2, 10, height() - 3);
    }
};

} // namespace

TMainForm::TMainForm() : TComponent(nullptr) {
    RegisterModelClasses();
    RegisterClass(StaticClassInfo());
    InitResources();
    SetName("MainForm");
    CreateLayout();
    FormCreate();
}

TMainForm::~TMainForm() {
    // Elements and controls go first, while the window still exists.
    if (!Destroying()) BeforeDestruction();
    FHistory.reset();
    FormDestroy();
    // The status bar goes with the window; hints must not reach it.
    Application().OnHint = nullptr;
    delete FWindow;
}

void TMainForm::Show() {
    FWindow->showMaximized();
}

void TMainForm::CreateLayout() {
    FWindow = new QMainWindow;
    FWindow->setObjectName("MainForm");
    FWindow->setWindowTitle("Tresselby Diagram Tool");
    FWindow->setGeometry(192, 114, 770, 567);
    FWindow->setFont(TFont().ToQFont());
    CreateToolBar();
    CreateMenu();
    CreateEditShortcuts();
    CreateWorkArea();
    CreateHistory();
    CreateStatusBar();
    CreateDialogs();
    CreatePrinter();
    FZoom = std::make_unique<TZoomController>(*this);
}

const TClassInfo& TMainForm::StaticClassInfo() {
    static const TClassInfo info("TMainForm", nullptr, {}, nullptr, WorkAreaHandlers<TMainForm>());
    return info;
}

void TMainForm::CreateDialogs() {
    auto make = [this](const char* name, const char* title, QFileDialog::AcceptMode mode) {
        auto* d = new QFileDialog(FWindow, title);
        d->setObjectName(name);
        d->setOption(QFileDialog::DontUseNativeDialog);
        d->setOption(QFileDialog::DontConfirmOverwrite);
        d->setAcceptMode(mode);
        d->setFileMode(QFileDialog::AnyFile);
        d->setNameFilter("Tresselby files (*.tsb)");
        return d;
    };
    OpenDialog1 = make("OpenDialog1", "Open Diagram", QFileDialog::AcceptOpen);
    SaveDialog1 = make("SaveDialog1", "Save Diagram", QFileDialog::AcceptSave);
    SaveDialog1->setDefaultSuffix("tsb");
    SaveDialog2 = make("SaveDialog2", "Save As Image", QFileDialog::AcceptSave);
    QStringList filters;
    for (const TExportFilter& f : ExportFilters())
        filters << f.Filter;
    SaveDialog2->setNameFilters(filters);
    SaveDialog2->setDefaultSuffix(ExportFilters().front().Extension);
    // A name typed without an extension gets the chosen filter's.
    QObject::connect(SaveDialog2, &QFileDialog::filterSelected, SaveDialog2,
                     [dialog = SaveDialog2](const QString& chosen) {
                         for (const TExportFilter& f : ExportFilters())
                             if (chosen == f.Filter) dialog->setDefaultSuffix(f.Extension);
                     });

    AboutDlg1 = new TAboutDlg(this);
    AboutDlg1->SetName("AboutDlg1");
    AboutDlg1->Title = "Tresselby Application";
    AboutDlg1->Copyright = "2026 The Tresselby developers";
    AboutDlg1->WebPage = TAboutDlg::DefaultWebPage;
}

std::string TMainForm::InitialFolder() {
    QString folder = QString::fromStdString(TApplication::ExeFolder() + "Output");
    if (!QDir(folder).exists())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.toStdString();
}

QToolButton* TMainForm::AddToolButton(const char* name, const char* hint, int image, bool check,
                                      void (TMainForm::*handler)()) {
    auto* b = new TToolButton(ToolBar1);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setProperty("hint", QString(hint));
    b->setAccessibleName(hint);
    b->setIcon(ToolIcon(image));
    b->setIconSize(QSize(16, 16));
    b->setAutoRaise(true);
    b->setFixedSize(25, 22);
    b->setCheckable(check);
    b->setFocusPolicy(Qt::NoFocus);
    ToolBar1->addWidget(b);
    if (handler)
        QObject::connect(b, &QToolButton::clicked, FWindow,
                         [this, handler] { Guarded([&] { (this->*handler)(); }); });
    return b;
}

void TMainForm::CreateToolBar() {
    ToolBar1 = new QToolBar(FWindow);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setProperty("hint", QString("Toolbar"));
    ToolBar1->setAccessibleName("Toolbar");
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setContentsMargins(1, 1, 1, 1);
    FWindow->addToolBar(Qt::TopToolBarArea, ToolBar1);
    auto* indent = new QWidget(ToolBar1);
    indent->setFixedSize(10, 22);
    ToolBar1->addWidget(indent);

    NewBtn = AddToolButton("NewBtn", "New project", 0, false, &TMainForm::NewActionExecute);
    OpenBtn = AddToolButton("OpenBtn", "Open file", 1, false, &TMainForm::OpenActionExecute);
    SaveBtn = AddToolButton("SaveBtn", "Save file", 2, false, &TMainForm::SaveActionExecute);
    PrintBtn = AddToolButton("PrintBtn", "Print project", 3, false, &TMainForm::PrintActionExecute);
    ExportBtn =
        AddToolButton("ExportBtn", "Export as jpg", 4, false, &TMainForm::ExportActionExecute);
    ToolBar1->addWidget(new TToolSeparator);
    CutBtn = AddToolButton("CutBtn", "Cut selection", 5, false, &TMainForm::CutActionExecute);
    CopyBtn = AddToolButton("CopyBtn", "Copy selection", 6, false, &TMainForm::CopyActionExecute);
    PasteBtn =
        AddToolButton("PasteBtn", "Paste from clipboard", 7, false, &TMainForm::PasteActionExecute);
    DeleteBtn =
        AddToolButton("DeleteBtn", "Delete selection", 8, false, &TMainForm::DeleteActionExecute);
    ToolBar1->addWidget(new TToolSeparator);
    SelectBtn = AddToolButton("SelectBtn", "Select tool", 9, true, &TMainForm::SelectActionExecute);
    GraphicBtn =
        AddToolButton("GraphicBtn", "Add a graphic", 10, true, &TMainForm::StdShapeActionExecute);
    TextBtn = AddToolButton("TextBtn", "Add text", 11, true, &TMainForm::TextBtnClick);
    ShapeBtn = AddToolButton("ShapeBtn", "Add a shape", 12, true, &TMainForm::ShapeBtnClick);
    HiddenBtn =
        AddToolButton("HiddenBtn", "Add a hidden shape", 17, true, &TMainForm::HiddenBtnClick);
    DHArrowBtn = AddToolButton("DHArrowBtn", "Connect with two way arrow", 13, true,
                               &TMainForm::LineConnectActionExecute);
    SHArrowBtn = AddToolButton("SHArrowBtn", "Connect with one way arrow", 14, true,
                               &TMainForm::SHArrowBtnClick);
    ToolButton4 = AddToolButton("ToolButton4", "Connect with plain line", 18, true,
                                &TMainForm::ToolButton4Click);
    ToolBar1->addWidget(new TToolSeparator);
    SnapBtn = AddToolButton("SnapBtn", "Toggle snap to grid", 16, true,
                            &TMainForm::SnapToGridActionExecute);

    FToolGroup = new QButtonGroup(ToolBar1);
    FToolGroup->setExclusive(true);
    for (QToolButton* b :
         {SelectBtn, GraphicBtn, TextBtn, ShapeBtn, HiddenBtn, DHArrowBtn, SHArrowBtn, ToolButton4})
        FToolGroup->addButton(b);
    SelectBtn->setChecked(true);
    SnapBtn->setChecked(true);
    // The tool bar's own button for the tools that do not fit.
    if (auto* more = ToolBar1->findChild<QToolButton*>("qt_toolbar_ext_button")) {
        more->setToolTip("More tools");
        more->setAccessibleName("More tools");
    }
}

QAction* TMainForm::AddMenuItem(QMenu* menu, const char* name, const char* caption,
                                void (TMainForm::*handler)()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    MenuItems[name] = a;
    if (handler)
        QObject::connect(a, &QAction::triggered, FWindow,
                         [this, handler] { Guarded([&] { (this->*handler)(); }); });
    return a;
}

QAction* TMainForm::MenuItem(const std::string& name) const {
    auto it = MenuItems.find(name);
    return it == MenuItems.end() ? nullptr : it->second;
}

void TMainForm::CreateMenu() {
    QMenuBar* bar = FWindow->menuBar();
    bar->setObjectName("MainMenu1");

    QMenu* file = bar->addMenu("File");
    file->setObjectName("File1");
    AddMenuItem(file, "New1", "&New", &TMainForm::NewActionExecute);
    AddMenuItem(file, "OpenAction1", "&Open", &TMainForm::OpenActionExecute);
    AddMenuItem(file, "RecoverUnsaved1", "Recover Unsaved Diagrams…",
                &TMainForm::RecoverActionExecute);
    AddMenuItem(file, "Save1", "&Save", &TMainForm::SaveActionExecute);
    AddMenuItem(file, "ExportasImage1", "Export as Image", &TMainForm::ExportActionExecute);
    AddMenuItem(file, "ExportWiringList1", "Export Wiring List\u2026",
                &TMainForm::ExportWiringListClick);
    file->addSeparator()->setObjectName("N1");
    QMenu* page = file->addMenu("P&age Setup");
    page->setObjectName("PageSetup1");
    MenuItems["PageSetup1"] = page->menuAction();
    auto* pages = new QActionGroup(page);
    pages->setExclusive(true);
    struct Preset {
        const char* Name;
        const char* Caption;
        void (TMainForm::*Handler)();
    };
    for (auto [name, caption, handler] :
         {Preset{"P640x480", "640x480", &TMainForm::P640x480ActionExecute},
          Preset{"P800x600", "800x600", &TMainForm::P800x600ActionExecute},
          Preset{"P800x1035", "800x1035", &TMainForm::P800x1035ActionExecute},
          Preset{"P800x1600", "800x1600", &TMainForm::P800x1600ActionExecute}}) {
        QAction* a = AddMenuItem(page, name, caption, handler);
        a->setCheckable(true);
        pages->addAction(a);
    }
    page->addSeparator()->setObjectName("N2");
    QAction* custom = AddMenuItem(page, "Custom", "Custom", &TMainForm::CustomClick);
    custom->setCheckable(true);
    pages->addAction(custom);
    MenuItem("P800x600")->setChecked(true);
    QAction* grid = AddMenuItem(file, "ShowGrid1", "Show &Grid", &TMainForm::ShowGridActionExecute);
    grid->setCheckable(true);
    grid->setChecked(true);
    file->addSeparator()->setObjectName("N3");
    AddMenuItem(file, "PrintAction1", "&Print", &TMainForm::PrintActionExecute);
    file->addSeparator()->setObjectName("N4");
    AddMenuItem(file, "ExitAction1", "&Exit", &TMainForm::ExitActionExecute);

    EditMenu = bar->addMenu("&Edit");
    EditMenu->setObjectName("Edit1");
    CreateUndoItems();
    // The items carry their short-cuts, which the menu shows and screen
    // readers announce; in the window the short-cuts act through the Edit
    // short-cuts below, which work out the items' enabling first.
    struct EditItem {
        const char* Name;
        const char* Caption;
        const char* Keys;
        void (TMainForm::*Handler)();
    };
    for (auto [name, caption, keys, handler] :
         {EditItem{"Cut1", "Cut", "Ctrl+X", &TMainForm::CutActionExecute},
          EditItem{"Copy1", "&Copy", "Ctrl+C", &TMainForm::CopyActionExecute},
          EditItem{"Paste1", "&Paste", "Ctrl+V", &TMainForm::PasteActionExecute},
          EditItem{"Delete2", "Delete", "Ctrl+Del", &TMainForm::DeleteActionExecute}}) {
        QAction* item = AddMenuItem(EditMenu, name, caption, handler);
        item->setShortcut(QKeySequence(keys));
        item->setShortcutContext(Qt::WidgetShortcut);
        item->setEnabled(false);
    }
    EditMenu->addSeparator()->setObjectName("N6");
    AddMenuItem(EditMenu, "SelectAll1", "Select All", &TMainForm::SelectAll);
    CreateFindItems();

    QMenu* insert = bar->addMenu("Insert");
    insert->setObjectName("Insert1");
    AddMenuItem(insert, "Select1", "&Select", &TMainForm::SelectActionExecute);
    AddMenuItem(insert, "Text1", "S&tandard Shape", &TMainForm::StdShapeActionExecute);
    AddMenuItem(insert, "Connector1", "&Connector", &TMainForm::LineConnectActionExecute);
    insert->addSeparator()->setObjectName("N5");
    AddMenuItem(insert, "Delete1", "&Delete", &TMainForm::DeleteActionExecute);

    QMenu* help = bar->addMenu("Help");
    help->setObjectName("Help1");
    AddMenuItem(help, "About1", "&About", &TMainForm::About1Click);
}

void TMainForm::CreateStatusBar() {
    QStatusBar* bar = FWindow->statusBar();
    bar->setObjectName("StatusBar");
    bar->setProperty("hint", QString("Application status information"));
    bar->setAccessibleName("Status bar");
    bar->setFixedHeight(24);
    bar->setSizeGripEnabled(false);
    struct Panel {
        int Width;
        bool Lowered;
        bool Centred;
        const char* Text;
    };
    static const Panel panels[9] = {
        {200, true, false, ""},        {80, false, false, "System Status:"},
        {300, true, false, ""},        {150, false, false, ""},
        {45, false, false, "Coords:"}, {50, true, true, ""},
        {30, false, false, "Snap:"},   {30, true, true, ""},
        {50, false, false, ""}};
    for (int i = 0; i < 9; ++i) {
        auto* label = new QLabel(panels[i].Text, bar);
        // A label's accessible name is its text, so screen readers read
        // the panels as they change.
        label->setObjectName(QString("StatusPanel%1").arg(i));
        label->setFixedWidth(panels[i].Width);
        label->setFrameStyle(panels[i].Lowered ? (QFrame::Panel | QFrame::Sunken)
                                               : QFrame::NoFrame);
        label->setAlignment((panels[i].Centred ? Qt::AlignHCenter : Qt::AlignLeft) |
                            Qt::AlignVCenter);
        bar->addWidget(label);
        StatusPanels.push_back(label);
    }
    // A new window knows nothing under the pointer yet; a hint left from an
    // earlier window would keep the first one from showing.
    Application().SetHint({});
    Application().OnHint = [this](const std::string& hint) { SetStatusText(0, hint); };
    Application().InstallHintTracking();
}

void TMainForm::CreateWorkArea() {
    ContainerPanel = new TScrollingWinControl(this);
    ContainerPanel->SetName("ContainerPanel");
    ContainerPanel->Color = clAppWorkSpace;
    FWindow->setCentralWidget(ContainerPanel->Widget());
    ContainerPanel->Widget()->setObjectName("ContainerPanel");
    // The panel's design size; the window's layout replaces it once shown.
    ContainerPanel->SetBounds(0, 0, 762, 461);

    // Behind the work area, filling the panel: the rulers show in the margins.
    qmRuler1 = new TqmRuler(this);
    qmRuler1->SetName("qmRuler1");
    qmRuler1->SetBounds(0, 0, 762, 461);
    qmRuler1->Hint = "Background";
    qmRuler1->SetFlat(true);
    qmRuler1->SetHairLineColor(clRed);
    qmRuler1->SetRulers(ruBoth);
    qmRuler1->SetBackGround(clWhite);
    qmRuler1->SetRulerWidth(25);
    qmRuler1->SetAlign(alClient);
    qmRuler1->SetParent(ContainerPanel);

    // The default picture of new picture elements.
    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetBounds(0, 0, 85, 85);
    Image1->SetVisible(false);
    Image1->SetParent(ContainerPanel);
    QFile file(":/images/DefaultPicture.jpg");
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray bytes = file.readAll();
        TJPEGImage jpeg;
        jpeg.LoadFromBytes(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                           static_cast<std::size_t>(bytes.size()));
        Image1->Picture().SetGraphic(&jpeg);
    }

    ScrollBox1 = tsb::CreateWorkArea(this);
    ScrollBox1->SetBounds(56, 35, 577, 382);
    ScrollBox1->SetParent(ContainerPanel);
    ScrollBox1->Host()->setObjectName("ScrollBox1");
    ScrollBox1->Host()->setAccessibleName("Work area");
    qmRuler1->SetTarget(ScrollBox1);

    SnapGrid1 = new TSnapGrid(this);
    SnapGrid1->SetName("SnapGrid1");
    SnapGrid1->SetGridSize(20);
    SnapGrid1->SetShowGrid(true);
    SnapGrid1->SnapToGrid = true;
    SnapGrid1->SetParent(ScrollBox1);
}

void TMainForm::FormCreate() {
    ScrollBox1->SetBounds(ScrollBox1->Left(), ScrollBox1->Top(), 800, 600);
    PlaceWorkArea(30);
    FPasteNames.Clear();
    FClipStream.clear();
    SetStatusText(2, "Waiting");
    SetStatusText(7, "ON");
}

void TMainForm::FormDestroy() {
    FPasteNames.Clear();
    FClipStream.clear();
}

std::string TMainForm::StatusText(int panel) const {
    return StatusPanels[static_cast<std::size_t>(panel)]->text().toStdString();
}

void TMainForm::SetStatusText(int panel, const std::string& text) {
    QLabel* label = StatusPanels[static_cast<std::size_t>(panel)];
    const QString value = QString::fromStdString(text);
    if (label->text() == value) return;
    // The label announces its new text to screen readers itself.
    label->setText(value);
}

void TMainForm::SetToolMode(TToolMode mode) {
    FToolMode = mode;
    SetStatusText(2, kPrompts[mode]);
}

void TMainForm::PressToolButton(QToolButton* button) {
    for (QAbstractButton* b : FToolGroup->buttons())
        b->setChecked(b == button);
    button->click();
}

std::string TMainForm::MakeElementName(const TComponent* element) const {
    std::string base = element->ClassName() + 1;
    for (int n = 1;; ++n) {
        std::string name = base + std::to_string(n);
        // A name that differs only in case would clash on assignment too.
        if (!FindComponent(name)) return name;
    }
}

void TMainForm::PlaceWorkArea(int minimumTop) {
    int top = (ContainerPanel->Height() - ScrollBox1->Height()) / 2;
    int left = (ContainerPanel->Width() - ScrollBox1->Width()) / 2;
    if (top < minimumTop) top = minimumTop;
    if (left < 40) left = 40;
    ScrollBox1->SetBounds(left, top, ScrollBox1->Width(), ScrollBox1->Height());
    if (FZoom) FZoom->PagePlaced(minimumTop);
    // The scales count from the work area's edges.
    qmRuler1->Invalidate();
}

void TMainForm::AttachTextHooks(TCustomShape* element) {
    element->OnDblClick = TNotifyEvent([this](TComponent* s) { TextDblClick(s); });
    element->OnClick = TNotifyEvent([this](TComponent* s) { ElementClick(s); });
    element->OnMouseUp = TMouseEvent([this](TComponent* s, TMouseButton b, TShiftState sh, int x,
                                            int y) { ElementMouseUp(s, b, sh, x, y); });
}

void TMainForm::ScrollBox1MouseDown(TComponent*, TMouseButton, TShiftState, int x, int y) {
    switch (FToolMode) {
    case tmSelect:
        TCustomShape::UnselectAll(ScrollBox1);
        break;
    case tmAddText: {
        TDiagramHistory::TChange change(*FHistory, "Add Text");
        auto* text = new TTextShape(this);
        text->SetName(MakeElementName(text));
        SnapGrid1->SnapPoint(x, y);
        text->SetTop(y);
        text->SetLeft(x);
        text->SetParent(ScrollBox1);
        text->SetText("Caption");
        AttachTextHooks(text);
        PressToolButton(SelectBtn);
        break;
    }
    case tmAddGraphic:
        PlaceGraphic(x, y);
        break;
    case tmAddShape:
        PlaceShape(x, y);
        break;
    case tmAddHidden:
        PlaceHidden(x, y);
        break;
    default:
        PressToolButton(SelectBtn);
        break;
    }
}

void TMainForm::ScrollBox1MouseMove(TComponent*, TShiftState, int x, int y) {
    SetStatusText(5, std::to_string(x) + "x" + std::to_string(y));
    qmRuler1->MoveHairLine({x, y});
}

void TMainForm::SelectActionExecute() {
    SetToolMode(tmSelect);
}
void TMainForm::TextBtnClick() {
    SetToolMode(tmAddText);
}
void TMainForm::StdShapeActionExecute() {
    SetToolMode(tmAddGraphic);
}
void TMainForm::ShapeBtnClick() {
    SetToolMode(tmAddShape);
}
void TMainForm::HiddenBtnClick() {
    SetToolMode(tmAddHidden);
}

void TMainForm::ToolButton4Click() {
    SetToolMode(tmLineFrom);
    FFirstShape = nullptr;
    FSecondShape = nullptr;
}

void TMainForm::LineConnectActionExecute() {
    SetToolMode(tmTwoWayFrom);
    FFirstShape = nullptr;
    FSecondShape = nullptr;
}

void TMainForm::SHArrowBtnClick() {
    SetToolMode(tmOneWayFrom);
    FFirstShape = nullptr;
    FSecondShape = nullptr;
}

void TMainForm::TextDblClick(TComponent* sender) {
    auto* text = As<TTextShape>(sender);
    if (!text) return;
    TDiagramHistory::TChange change(*FHistory, "Edit Caption");
    change.Touch(text);
    std::string value = text->Text();
    if (TCaptionEditDlg::EditCaption(value, text->Font())) SetElementText(text, value);
}

void TMainForm::SetElementText(TTextShape* text, const std::string& value) {
    text->SetText(value);
    text->SetFont(text->Font());
}

void TMainForm::SnapToGridActionExecute() {
    if (SnapBtn->isChecked()) {
        SnapGrid1->SnapToGrid = true;
        SetStatusText(7, "ON");
    } else {
        SnapGrid1->SnapToGrid = false;
        SetStatusText(7, "OFF");
    }
}

void TMainForm::ExitActionExecute() {
    FWindow->close();
}

void TMainForm::NewActionExecute() {
    TBytes kept = FRecovery ? FRecovery->SnapshotIfModified() : TBytes();
    TCustomShape::DeleteAll(ScrollBox1);
    if (FRecovery) FRecovery->Replaced(std::move(kept), FDiagramFileName);
    FDiagramFileName.clear();
    FOfferName.clear();
    FHistory->Clear();
}

void TMainForm::OpenActionExecute() {
    OpenDialog1->setDirectory(QString::fromStdString(InitialFolder()));
    if (OpenDialog1->exec() != QDialog::Accepted) return;
    QStringList files = OpenDialog1->selectedFiles();
    if (files.isEmpty()) return;
    OpenFile(files.first().toStdString());
}

bool TMainForm::OpenFile(const std::string& fileName) {
    // Reads the whole file before anything changes: a failed or cancelled
    // open leaves the diagram, the page and the history as they were.
    TBytes kept = FRecovery ? FRecovery->SnapshotIfModified() : TBytes();
    try {
        TDiagramHistory::TQuiet quiet(*FHistory);
        TProgressWindow progress(
            FWindow, "Opening " + QFileInfo(QString::fromStdString(fileName)).fileName());
        TCustomShape::LoadFromFile(fileName, ScrollBox1, &progress);
    } catch (const ECancelled&) {
        return false;
    }
    if (FRecovery) FRecovery->Replaced(std::move(kept), FDiagramFileName);
    FDiagramFileName = fileName;
    FOfferName.clear();
    FHistory->Clear();
    ScrollBox1->SetAlign(alNone);
    PlaceWorkArea(30);
    if (QAction* custom = MenuItem("Custom")) custom->setChecked(true);
    ReattachHooks();
    TCustomShape::UnselectAll(ScrollBox1);
    return true;
}

void TMainForm::SaveActionExecute() {
    TCustomShape::SelectAll(ScrollBox1);
    try {
        SaveDialog1->setDirectory(QString::fromStdString(InitialFolder()));
        if (!FOfferName.empty()) SaveDialog1->selectFile(QString::fromStdString(FOfferName));
        if (SaveDialog1->exec() == QDialog::Accepted) {
            QStringList files = SaveDialog1->selectedFiles();
            if (!files.isEmpty()) {
                TProgressWindow progress(FWindow, "Saving " + QFileInfo(files.first()).fileName());
                try {
                    TCustomShape::SaveToFile(files.first().toStdString(), ScrollBox1, &progress);
                    FDiagramFileName = files.first().toStdString();
                    FOfferName.clear();
                    FHistory->MarkSaved();
                } catch (const ECancelled&) {
                }
            }
        }
    } catch (...) {
        TCustomShape::UnselectAll(ScrollBox1);
        throw;
    }
    TCustomShape::UnselectAll(ScrollBox1);
}

void TMainForm::ReattachHooks() {
    // By class, in this order: picture elements, text elements (captions
    // included), standard shapes, hidden junctions. Connectors get none.
    int count = ScrollBox1->ControlCount();
    for (int i = 0; i < count && i < ScrollBox1->ControlCount(); ++i)
        AttachHooks(ScrollBox1->Controls(i));
}

void TMainForm::AttachHooks(TControl* c) {
    if (auto* graphic = As<TGraphicShape>(c))
        AttachElementHooks(graphic, Hook(&TMainForm::ChoosePicture));
    else if (auto* text = As<TTextShape>(c))
        AttachTextHooks(text);
    else if (auto* shape = As<TStandardShape>(c))
        AttachElementHooks(shape, Hook(&TMainForm::ShapeDblClick));
    else if (auto* hidden = As<THiddenShape>(c))
        AttachElementHooks(hidden, TNotifyEvent());
}

void TMainForm::About1Click() {
    AboutDlg1->Execute();
}

void TMainForm::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (FHistory) {
        if (operation == opInsert)
            FHistory->ComponentInserted(component);
        else
            FHistory->ComponentRemoved(component);
    }
    if (operation != opRemove) return;
    if (component == static_cast<TComponent*>(FFirstShape)) FFirstShape = nullptr;
    if (component == static_cast<TComponent*>(FSecondShape)) FSecondShape = nullptr;
}

} // namespace tsb
