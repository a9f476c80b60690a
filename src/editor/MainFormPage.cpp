// Page-size, grid, select-all and delete commands of the main window.
#include <QAction>

#include "core/Exception.h"
#include "core/Idents.h"
#include "editor/DiagramHistory.h"
#include "editor/MainForm.h"
#include "editor/SizeEnterForm.h"
#include "model/CustomShape.h"
#include "workarea/SnapGrid.h"

namespace tsb {

void TMainForm::SetPageSize(const char* item, int width, int height, int minimumTop) {
    TDiagramHistory::TChange change(*FHistory, "Page Setup", true);
    MenuItem(item)->setChecked(true);
    ScrollBox1->SetBounds(ScrollBox1->Left(), ScrollBox1->Top(), width, height);
    PlaceWorkArea(minimumTop);
}

void TMainForm::P640x480ActionExecute() {
    SetPageSize("P640x480", 640, 480, 20);
}
void TMainForm::P800x600ActionExecute() {
    SetPageSize("P800x600", 800, 600, 30);
}
void TMainForm::P800x1035ActionExecute() {
    SetPageSize("P800x1035", 800, 1035, 30);
}
void TMainForm::P800x1600ActionExecute() {
    SetPageSize("P800x1600", 800, 1600, 30);
}

void TMainForm::CustomClick() {
    TDiagramHistory::TChange change(*FHistory, "Page Setup", true);
    MenuItem("Custom")->setChecked(true);
    int width = ScrollBox1->Width(), height = ScrollBox1->Height();
    if (TSizeDialog::EnterSize(width, height)) {
        // A page without area cannot hold anything; keep the page as it was.
        if (width <= 0 || height <= 0)
            throw Exception("The work area must be at least 1 pixel wide and 1 pixel high");
        // Diagram files and the clipboard hold no larger page.
        if (width > CoordinateLimit || height > CoordinateLimit) {
            const std::string limit = std::to_string(CoordinateLimit);
            throw Exception(FormatMessage(
                "The work area must be at most %s pixels wide and %s pixels high", {limit, limit}));
        }
        ScrollBox1->SetBounds(ScrollBox1->Left(), ScrollBox1->Top(), width, height);
    }
    PlaceWorkArea(30);
}

void TMainForm::ShowGridActionExecute() {
    // The menu item toggles its own tick as it is triggered.
    SnapGrid1->SetShowGrid(!SnapGrid1->ShowGrid());
}

void TMainForm::SelectAll() {
    TCustomShape::SelectAll(ScrollBox1);
}

void TMainForm::DeleteActionExecute() {
    TDiagramHistory::TChange change(*FHistory, "Delete");
    change.TouchSelected();
    TCustomShape::DeleteSelected(ScrollBox1);
}

} // namespace tsb
