// Placing picture elements, standard shapes and junctions, the two-click
// connect protocol, and the double-click actions of elements.
#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QStandardPaths>

#include "controls/RadioGroup.h"
#include "editor/CaptionPosForm.h"
#include "editor/ConnDlg.h"
#include "editor/DiagramHistory.h"
#include "editor/MainForm.h"
#include "model/Connector.h"
#include "model/GraphicShape.h"
#include "model/HiddenShape.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "widgets/Application.h"
#include "widgets/Image.h"
#include "workarea/SnapGrid.h"

namespace tsb {

namespace {

// Item order of the side groups: Top, Bottom, Left, Right.
TConnectionSide SideOf(int itemIndex, TConnectionSide none) {
    switch (itemIndex) {
    case 0:
        return csTop;
    case 1:
        return csBottom;
    case 2:
        return csLeft;
    case 3:
        return csRight;
    default:
        return none;
    }
}

} // namespace

void TMainForm::AttachElementHooks(TCustomShape* element, TNotifyEvent dblClick) {
    element->OnClick = TNotifyEvent([this](TComponent* s) { ElementClick(s); });
    element->OnMouseUp = TMouseEvent([this](TComponent* s, TMouseButton b, TShiftState sh, int x,
                                            int y) { ElementMouseUp(s, b, sh, x, y); });
    element->OnDblClick = std::move(dblClick);
}

TNotifyEvent TMainForm::Hook(void (TMainForm::*handler)(TComponent*)) {
    return TNotifyEvent([this, handler](TComponent* s) { (this->*handler)(s); });
}

void TMainForm::PlaceGraphic(int x, int y) {
    TDiagramHistory::TChange change(*FHistory, "Add Graphic");
    auto* graphic = new TGraphicShape(this);
    graphic->SetName(MakeElementName(graphic));
    SnapGrid1->SnapPoint(x, y);
    graphic->SetTop(y);
    graphic->SetLeft(x);
    graphic->SetParent(ScrollBox1);
    graphic->SetSelected(true);
    graphic->SetImage(Image1->Picture());
    AttachElementHooks(graphic, Hook(&TMainForm::ChoosePicture));
    auto* caption = new TTextShape(this);
    graphic->SetCaption(caption);
    caption->SetName(MakeElementName(caption));
    caption->SetText("New Graphic");
    graphic->SetCaptionAlign(alBottom);
    caption->OnDblClick = Hook(&TMainForm::TextDblClick);
    PressToolButton(SelectBtn);
}

void TMainForm::PlaceShape(int x, int y) {
    TDiagramHistory::TChange change(*FHistory, "Add Shape");
    auto* shape = new TStandardShape(this);
    shape->SetName(MakeElementName(shape));
    SnapGrid1->SnapPoint(x, y);
    shape->SetTop(y);
    shape->SetLeft(x);
    shape->SetParent(ScrollBox1);
    shape->SetShapeType(stRoundRect);
    auto* caption = new TTextShape(this);
    shape->SetCaption(caption);
    caption->SetName(shape->Name() + "_Caption");
    caption->SetText("Caption");
    caption->OnDblClick = Hook(&TMainForm::TextDblClick);
    shape->SetCaptionAlign(alClient);
    AttachElementHooks(shape, Hook(&TMainForm::ShapeDblClick));
    PressToolButton(SelectBtn);
}

void TMainForm::PlaceHidden(int x, int y) {
    TDiagramHistory::TChange change(*FHistory, "Add Hidden Shape");
    auto* hidden = new THiddenShape(this);
    hidden->SetName(MakeElementName(hidden));
    SnapGrid1->SnapPoint(x, y);
    hidden->SetTop(y);
    hidden->SetLeft(x);
    hidden->SetParent(ScrollBox1);
    hidden->SetSelected(true);
    AttachElementHooks(hidden, Hook(&TMainForm::ShapeDblClick));
    PressToolButton(SelectBtn);
}

void TMainForm::ElementClick(TComponent* sender) {
    auto* shape = As<TCustomShape>(sender);
    if (!shape) return;
    switch (FToolMode) {
    case tmLineTo:
    case tmTwoWayTo:
    case tmOneWayTo:
        // A first element deleted in between is picked again.
        if (FFirstShape) {
            if (shape == FFirstShape)
                throw EDiagramError(FToolMode == tmOneWayTo
                                        ? "You cannot join an graphic to itself"
                                        : "You cannot join an object to itself");
            FSecondShape = shape;
            ConnectElements(FFirstShape, shape,
                            FToolMode == tmLineTo     ? ckLine
                            : FToolMode == tmTwoWayTo ? ckTwoWay
                                                      : ckOneWay);
            PressToolButton(SelectBtn);
            break;
        }
        SetToolMode(static_cast<TToolMode>(FToolMode - 1));
        [[fallthrough]];
    case tmLineFrom:
    case tmTwoWayFrom:
    case tmOneWayFrom:
        FFirstShape = shape;
        SetToolMode(static_cast<TToolMode>(FToolMode + 1));
        break;
    default:
        break;
    }
}

TConnector* TMainForm::ConnectElements(TCustomShape* first, TCustomShape* second,
                                       TConnectorKind kind) {
    TDiagramHistory::TChange change(*FHistory, "Connect");
    SetStatusText(2, "Choose connection attributes.");
    TConnDialog* dialog = ConnDialog();
    bool ok = dialog->ShowModal() == QDialog::Accepted;
    TConnectionSide startSide = csRight, endSide = csLeft;
    if (ok) {
        startSide = SideOf(dialog->RadioGroup1->ItemIndex(), csRight);
        endSide = SideOf(dialog->RadioGroup2->ItemIndex(), csLeft);
    }
    int startOffset = first->Height() / 2;
    int endOffset = second->Height() / 2;
    TConnector* connector = nullptr;
    switch (kind) {
    case ckLine:
        connector = new TLineConnector(this);
        break;
    case ckTwoWay:
        connector = new TDoubleHeadArrow(this);
        break;
    case ckOneWay:
        connector = new TSingleHeadArrow(this);
        break;
    }
    static const TColor colours[] = {clBlack, clRed, clBlue, clGreen};
    int colour = dialog->RadioGroup3->ItemIndex();
    if (colour >= 0 && colour < 4) connector->LineColor = colours[colour];
    connector->StartConn().Side = startSide;
    connector->StartConn().SetOffset(startOffset);
    connector->StartConn().SetShape(first);
    connector->EndConn().Side = endSide;
    connector->EndConn().SetOffset(endOffset);
    connector->EndConn().SetShape(second);
    connector->UpdateBounds();
    connector->SetParent(ScrollBox1);
    return connector;
}

void TMainForm::ShapeDblClick(TComponent* sender) {
    auto* shape = As<TStandardShape>(sender);
    if (!shape) return;
    TDiagramHistory::TChange change(*FHistory, "Change Shape");
    change.Touch(shape);
    switch (shape->ShapeType()) {
    case stRectangle:
        shape->SetShapeType(stRoundRect);
        break;
    case stRoundRect:
        shape->SetShapeType(stEllipse);
        break;
    case stEllipse:
        shape->SetShapeType(stRectangle);
        break;
    default:
        break;
    }
}

void TMainForm::ChoosePicture(TComponent* sender) {
    auto* graphic = As<TGraphicShape>(sender);
    if (!graphic) return;
    TDiagramHistory::TChange change(*FHistory, "Change Picture");
    change.Touch(graphic);
    QString folder = QString::fromStdString(TApplication::ExeFolder() + "Images");
    if (!QDir(folder).exists())
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    QFileDialog dialog(FWindow, "Choose an image", folder);
    dialog.setObjectName("OpenPictureDialog1");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters({"All (*.jpg *.jpeg *.bmp *.ico)", "JPEG Image File (*.jpg *.jpeg)",
                           "Bitmaps (*.bmp)", "Icons (*.ico)"});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    graphic->Image().LoadFromFile(dialog.selectedFiles().first().toStdString());
}

void TMainForm::ElementMouseUp(TComponent* sender, TMouseButton button, TShiftState, int, int) {
    if (button == mbLeft) {
        if (auto* m = As<TMoveableShape>(sender)) SnapGrid1->SnapControl(m);
    } else if (button == mbRight) {
        if (auto* graphic = As<TGraphicShape>(sender)) {
            TDiagramHistory::TChange change(*FHistory, "Caption Position");
            change.Touch(graphic);
            bool atBottom = graphic->CaptionAlign() == alBottom;
            // A cancelled dialog leaves the caption where it is.
            if (TCaptionPosDlg::ChoosePosition(atBottom))
                graphic->SetCaptionAlign(atBottom ? alBottom : alTop);
        }
    }
}

} // namespace tsb
