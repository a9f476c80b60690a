// The print preview: the engine's pages one at a time on a white page panel
// whose size follows the zoom, with zoom and hand tools, page navigation,
// printing and closing.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/Types.h"

class QComboBox;
class QFrame;
class QLabel;
class QPainter;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace tsb {

class TMetafile;
class TqmPrinter;

// Cursor numbers of the preview's tools.
constexpr TCursor crZoomTool = 40;
constexpr TCursor crHandTool = 41;

class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    explicit TPreviewForm(TqmPrinter* engine);
    ~TPreviewForm() override;

    // Controls, by their names.
    QFrame* ToolBarPanel = nullptr;
    QPushButton* PrintBut = nullptr;
    QPushButton* NextPageBut = nullptr;
    QPushButton* PrevPageBut = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QToolButton* ZoomCursorBut = nullptr;
    QToolButton* HandCursorBut = nullptr;
    QPushButton* CloseBut = nullptr;
    QPushButton* AboutBut = nullptr;
    QFrame* StatBarPanel = nullptr;
    QFrame* MoveButPanel = nullptr;
    QToolButton* FirstPageSpeed = nullptr;
    QToolButton* PrevPageSpeed = nullptr;
    QToolButton* NextPageSpeed = nullptr;
    QToolButton* LastPageSpeed = nullptr;
    QToolButton* PageNumSpeed = nullptr;
    QLabel* CurPageLabel = nullptr;
    QLabel* ZoomLabel = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* HintLabel = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QWidget* ContainPanel = nullptr;
    QFrame* PagePanel = nullptr;
    QWidget* PB1 = nullptr;

    float Zoom() const { return FZoom; }
    int ShownPage() const { return FShownPage; }
    int BaseWidth() const { return FBaseWidth; }

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormClose();
    void PB1Paint(QPainter& painter);
    void ComboBox1Change();
    void ZoomInButClick();
    void ZoomOutButClick();
    void NextPageButClick();
    void PrevPageButClick();
    void FirstPageSpeedClick();
    void LastPageSpeedClick();
    void PageNumSpeedClick();
    void PrintButClick();
    void CloseButClick();
    void AboutButClick();
    void ZoomCursorButClick();
    void HandCursorButClick();
    // Shift carries the buttons held.
    void PB1MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void PB1MouseMove(TShiftState shift, int x, int y);
    void PB1MouseUp(TMouseButton button, TShiftState shift, int x, int y);

    void SetPage(int n);
    // -1 stands for the last page.
    void GoToPage(int n);
    void SetBaseWidth(int width);
    void SetZoom(float zoom);
    float PageWidthZoom() const;
    float FitPageZoom() const;
    void HintChanged(const std::string& hint);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateToolBar();
    void CreateStatusBar();
    void CreatePageArea();
    // Sizes and places the page panel for the zoom and the base width, then
    // has it painted.
    void LayoutPage();
    void RepaintPage();
    // The scroll box's width in the window as it opens.
    int OpeningScrollBoxWidth() const;

    float FZoom = 0;
    int FShownPage = 0;
    int FBaseWidth = 0;
    std::function<void(const std::string&)> FSavedHint;
    bool FHintInstalled = false;
    int FDragStartX = 0;
    int FDragStartY = 0;
    bool FDragging = false;
    const TMetafile* FShownMetafile = nullptr;
    TqmPrinter* FEngine;
    bool FShown = false;
};

} // namespace tsb
