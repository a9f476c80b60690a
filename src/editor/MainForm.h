// The main window: tool bar, menu, status bar and the page-sized work area,
// the editing-mode state machine, element naming and the element hooks.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QKeySequence>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/ClassInfo.h"
#include "core/Component.h"
#include "core/Exception.h"
#include "editor/ProgressWindow.h"
#include "export/PageExport.h"
#include "model/PasteNames.h"
#include "widgets/ScrollBox.h"

class QAction;
class QActionGroup;
class QFileDialog;
class QButtonGroup;
class QLabel;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace tsb {

class TAboutDlg;
class TCustomShape;
class TImage;
class TSnapGrid;
class TqmRuler;
class TqmPrinter;
class TPageInfo;
class TMetafileCanvas;
class TScrollingWinControl;
class TZoomController;

enum TToolMode : std::uint8_t {
    tmSelect,
    tmAddGraphic,
    tmAddText,
    tmAddShape,
    tmAddHidden,
    tmLineFrom,
    tmLineTo,
    tmTwoWayFrom,
    tmTwoWayTo,
    tmOneWayFrom,
    tmOneWayTo,
};

enum TConnectorKind : std::uint8_t { ckLine, ckTwoWay, ckOneWay };

class TConnector;
class TDiagramHistory;
class TFindForm;
class TTextShape;
class TRecovery;
class TRecoveryStore;
struct TRecoveryCopy;

// Editor rule violations, such as joining an element to itself.
class EDiagramError : public Exception {
public:
    using Exception::Exception;
};

class TMainForm : public TComponent {
    TSB_CLASS(TMainForm)
public:
    TMainForm();
    ~TMainForm() override;

    QMainWindow* Window() const { return FWindow; }
    void Show();

    // Layout parts, by their control names.
    QToolBar* ToolBar1 = nullptr;
    QToolButton* NewBtn = nullptr;
    QToolButton* OpenBtn = nullptr;
    QToolButton* SaveBtn = nullptr;
    QToolButton* PrintBtn = nullptr;
    QToolButton* ExportBtn = nullptr;
    QToolButton* CutBtn = nullptr;
    QToolButton* CopyBtn = nullptr;
    QToolButton* PasteBtn = nullptr;
    QToolButton* DeleteBtn = nullptr;
    QToolButton* SelectBtn = nullptr;
    QToolButton* GraphicBtn = nullptr;
    QToolButton* TextBtn = nullptr;
    QToolButton* ShapeBtn = nullptr;
    QToolButton* HiddenBtn = nullptr;
    QToolButton* DHArrowBtn = nullptr;
    QToolButton* SHArrowBtn = nullptr;
    QToolButton* ToolButton4 = nullptr;
    QToolButton* SnapBtn = nullptr;
    TScrollingWinControl* ContainerPanel = nullptr;
    TqmRuler* qmRuler1 = nullptr;
    TImage* Image1 = nullptr;
    TScrollBox* ScrollBox1 = nullptr;
    TSnapGrid* SnapGrid1 = nullptr;
    std::vector<QLabel*> StatusPanels;
    std::map<std::string, QAction*> MenuItems;
    QAction* MenuItem(const std::string& name) const;
    QMenu* EditMenu = nullptr;
    // File dialogs of the open and save commands (Qt's own dialogs, filter
    // "Tresselby files (*.tsb)", starting in the folder Output beside the
    // program, or in the user's documents folder where that is missing).
    QFileDialog* OpenDialog1 = nullptr;
    QFileDialog* SaveDialog1 = nullptr;
    QFileDialog* SaveDialog2 = nullptr;
    static std::string InitialFolder();
    // The filters of the export dialog SaveDialog2 in order, JPEG first and
    // chosen when it opens; the extension a name typed without one gets
    // under the filter, and the format the filter writes.
    struct TExportFilter {
        const char* Filter;
        const char* Extension;
        TExportFormat Format;
    };
    static const std::vector<TExportFilter>& ExportFilters();
    // The about box of Help > About.
    TAboutDlg* AboutDlg1 = nullptr;
    // The print engine: portrait, US Letter, one page of the work area.
    TqmPrinter* qmPrinter1 = nullptr;
    // The diagram's undo and redo history. Commands that change the diagram
    // record their change through it (TDiagramHistory::TChange).
    TDiagramHistory& History() const { return *FHistory; }
    // Recovery copies of unsaved changes, kept in `root` (empty: the
    // standard folder); the program enables them, windows made in code
    // have none.
    void EnableRecovery(const QString& root = {});
    TRecovery* Recovery() const { return FRecovery.get(); }
    // The file the diagram was opened from or last saved to; empty for a
    // new diagram.
    const std::string& DiagramFileName() const { return FDiagramFileName; }
    // Shows "Recover Unsaved Diagrams" when there are copies to offer.
    void OfferRecoveredCopies();
    // Opens a recovery copy as the current, unsaved diagram; Save then
    // offers the name the diagram had. The copy goes once this window keeps
    // its own.
    void OpenRecoveredCopy(const TRecoveryCopy& copy);
    // "Recover Unsaved Diagrams" with the store's copies apart from
    // `current`; with `onlyWithCopies`, not at all when there are none.
    void ChooseRecoveredCopy(TRecoveryStore& store, const QString& current, bool onlyWithCopies);
    // The work area's zoom, the View menu and the zoom panel.
    TZoomController& Zoom() const { return *FZoom; }

    // The published methods: the work area's handlers, which diagram streams
    // name.
    static const TClassInfo& StaticClassInfo();

    TToolMode ToolMode() const { return FToolMode; }
    void SetToolMode(TToolMode mode);
    void PressToolButton(QToolButton* button);
    std::string MakeElementName(const TComponent* element) const;
    void PlaceWorkArea(int minimumTop);
    std::string StatusText(int panel) const;
    void SetStatusText(int panel, const std::string& text);

    // Handlers.
    void FormCreate();
    void FormDestroy();
    void ScrollBox1MouseDown(TComponent* sender, TMouseButton button, TShiftState shift, int x,
                             int y);
    void ScrollBox1MouseMove(TComponent* sender, TShiftState shift, int x, int y);
    void SelectActionExecute();
    void TextBtnClick();
    void StdShapeActionExecute();
    void ShapeBtnClick();
    void HiddenBtnClick();
    void ToolButton4Click();
    void LineConnectActionExecute();
    void SHArrowBtnClick();
    void ElementClick(TComponent* sender);
    TConnector* ConnectElements(TCustomShape* first, TCustomShape* second, TConnectorKind kind);
    void ShapeDblClick(TComponent* sender);
    void ChoosePicture(TComponent* sender);
    void ElementMouseUp(TComponent* sender, TMouseButton button, TShiftState shift, int x, int y);
    void TextDblClick(TComponent* sender);
    // Gives a text element or caption a new text as the caption editor's
    // "Ok" does: the text, then the font again, which measures it anew.
    void SetElementText(TTextShape* text, const std::string& value);
    void SnapToGridActionExecute();
    void ExitActionExecute();
    void NewActionExecute();
    void OpenActionExecute();
    // Opens a diagram file as the Open command does once its dialog has
    // given a name: all or nothing, then the page is placed and "Custom"
    // ticked, the hooks attached and the elements unselected. False where
    // the open was cancelled, which changes nothing.
    bool OpenFile(const std::string& fileName);
    void SaveActionExecute();
    // Attaches the element hooks to every element of the work area by its
    // kind, as after open and paste.
    void ReattachHooks();
    void ExportActionExecute();
    void ExportWiringListClick();
    void CopyActionExecute();
    void CutActionExecute();
    // Reads the private block through FPasteNames, whose reader hooks
    // (PasteSetName, PasteReferenceName) give the elements fresh names.
    void PasteActionExecute();
    void UpdateMenuClick();
    void UndoActionExecute();
    void RecoverActionExecute();
    void RedoActionExecute();
    // Edit > Find… shows the "Find" window; Edit > Find Next finds with
    // what it holds, or shows it while it holds nothing to find.
    void FindActionExecute();
    void FindNextActionExecute();
    TFindForm* FindForm() const { return FFindForm; }
    // Scrolls the work area's panel to show a rectangle of the work area.
    void ScrollIntoView(const TRect& rect);
    // The private clipboard format of diagrams.
    static const std::string& ClipboardFormat();
    // The work area as on screen, with grid points and selection handles:
    // at full size up to FullBitmapPixels, scaled down to at most
    // ReducedBitmapPixels beyond, so a copy of a huge page stays small.
    QImage WorkAreaBitmap() const;
    static constexpr std::int64_t FullBitmapPixels = std::int64_t(64) << 20;
    static constexpr std::int64_t ReducedBitmapPixels = std::int64_t(16) << 20;
    void P640x480ActionExecute();
    void P800x600ActionExecute();
    void P800x1035ActionExecute();
    void P800x1600ActionExecute();
    void CustomClick();
    void ShowGridActionExecute();
    void SelectAll();
    void DeleteActionExecute();
    void About1Click();
    void PrintActionExecute();
    void qmPrinter1BeginPrint(TComponent* sender, TPageInfo*& info);
    void qmPrinter1PrintPage(TComponent* sender, TPageInfo*& info, TMetafileCanvas& canvas,
                             TRect drawRect);
    void qmPrinter1EndPrint(TComponent* sender, TPageInfo*& info);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    // Keeps the copy of unsaved changes while the diagram is still there.
    void BeforeDestruction() override;

    TToolMode FToolMode = tmSelect;
    TCustomShape* FFirstShape = nullptr;
    TCustomShape* FSecondShape = nullptr;
    TPasteNames FPasteNames;
    QByteArray FClipStream;

private:
    void CreateLayout();
    void CreateToolBar();
    void CreateMenu();
    void CreateEditShortcuts();
    // A short-cut of the window that works out the Edit menu's enabling
    // first, then acts only through the item when it is enabled.
    void AddEditShortcut(const char* item, const QKeySequence& keys, const QString& objectName);
    void CreateStatusBar();
    void CreateWorkArea();
    void CreateDialogs();
    void CreatePrinter();
    QToolButton* AddToolButton(const char* name, const char* hint, int image, bool check,
                               void (TMainForm::*handler)());
    QAction* AddMenuItem(QMenu* menu, const char* name, const char* caption,
                         void (TMainForm::*handler)());
    void CreateUndoItems();
    void CreateFindItems();
    void CreateHistory();
    void UpdateUndoItems();
    // The hooks of an element by its kind, as open and paste attach them.
    void AttachHooks(TControl* control);
    void AttachTextHooks(TCustomShape* element);
    void AttachElementHooks(TCustomShape* element, TNotifyEvent dblClick);
    TNotifyEvent Hook(void (TMainForm::*handler)(TComponent*));
    void PlaceGraphic(int x, int y);
    void PlaceShape(int x, int y);
    void PlaceHidden(int x, int y);
    void SetPageSize(const char* item, int width, int height, int minimumTop);

    QMainWindow* FWindow = nullptr;
    QButtonGroup* FToolGroup = nullptr;
    // The page information of the print in progress.
    std::unique_ptr<TPageInfo> FPageInfo;
    // The progress of building the printed page, from BeginPrint to
    // EndPrint.
    std::unique_ptr<TProgressWindow> FPrintProgress;
    std::unique_ptr<TDiagramHistory> FHistory;
    std::unique_ptr<TRecovery> FRecovery;
    // Made when first shown; a child of the window, which deletes it.
    TFindForm* FFindForm = nullptr;
    std::string FDiagramFileName;
    // The name Save offers after a recovered copy was opened.
    std::string FOfferName;
    std::unique_ptr<TZoomController> FZoom;
};

} // namespace tsb
