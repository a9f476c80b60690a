#include "UndoSupport.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <gtest/gtest.h>

#include "controls/LongEdit.h"
#include "controls/RadioGroup.h"
#include "editor/CaptionEditForm.h"
#include "editor/CaptionPosForm.h"
#include "editor/ConnDlg.h"
#include "editor/DiagramHistory.h"
#include "editor/MainForm.h"
#include "editor/SizeEnterForm.h"
#include "model/DiagramDump.h"
#include "model/DiagramStream.h"
#include "model/GraphicShape.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "widgets/Clipboard.h"
#include "widgets/ScrollBox.h"
#include "workarea/SnapGrid.h"

using namespace tsb;

namespace tsbtest {

TBytes SavedBytes(TMainForm* form) {
    TCustomShape::SelectAll(form->ScrollBox1);
    TBytes bytes = TDiagramStream::Write(form->ScrollBox1);
    TCustomShape::UnselectAll(form->ScrollBox1);
    return bytes;
}

std::vector<std::string> ElementsApartFromSelecting(TMainForm* form) {
    const TScrollBox* box = form->ScrollBox1;
    std::vector<std::string> out;
    for (TControl* c : box->ControlList()) {
        auto* e = As<TCustomShape>(c);
        if (!e) continue;
        TCursor cursor = e->Cursor();
        e->SetCursor(crDefault);
        out.push_back(DumpElement(e, form) + "\n");
        e->SetCursor(cursor);
    }
    std::sort(out.begin(), out.end());
    out.insert(out.begin(), "page " + std::to_string(box->Left()) + "," +
                                std::to_string(box->Top()) + " " + std::to_string(box->Width()) +
                                "x" + std::to_string(box->Height()) + "\n");
    return out;
}

TRandomEdits::TRandomEdits(TMainForm* form, unsigned seed, bool mouse, std::string picture)
    : Form(form), Engine(seed), Mouse(mouse), Picture(std::move(picture)) {
    Watchdog.setInterval(1000);
    QObject::connect(&Watchdog, &QTimer::timeout, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal == LastModal)
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        LastModal = modal;
    });
    Watchdog.start();
}

int TRandomEdits::Random(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(Engine);
}

std::vector<TCustomShape*> TRandomEdits::Elements() const {
    std::vector<TCustomShape*> out;
    for (TControl* c : Form->ScrollBox1->ControlList())
        if (auto* e = As<TCustomShape>(c)) out.push_back(e);
    return out;
}

template <typename T> T* TRandomEdits::Pick() {
    std::vector<T*> all;
    for (TCustomShape* e : Elements())
        if (auto* t = As<T>(e); t && !t->IsConnector()) all.push_back(t);
    return all.empty() ? nullptr : all[static_cast<std::size_t>(Random(0, int(all.size()) - 1))];
}

bool TRandomEdits::PointOn(TControl* element, TPoint& at) {
    for (int i = 0; i < 20; ++i) {
        TPoint p{element->Left() + Random(0, std::max(0, element->Width() - 1)),
                 element->Top() + Random(0, std::max(0, element->Height() - 1))};
        if (Form->ScrollBox1->ControlAtPos(p) == element) {
            at = p;
            return true;
        }
    }
    return false;
}

void TRandomEdits::Click(TPoint at, int button, int modifiers) {
    MousePress(Form->ScrollBox1->Host(), at.X, at.Y, button, modifiers);
    MouseRelease(Form->ScrollBox1->Host(), at.X, at.Y, button, modifiers);
    QApplication::processEvents();
}

void TRandomEdits::Keys(const char* keys) {
    // Short-cuts reach the active window only.
    Form->Window()->activateWindow();
    if (!QTest::qWaitForWindowActive(Form->Window())) ADD_FAILURE() << "the window is not active";
    QTest::keySequence(Form->Window(), QKeySequence(keys));
    QApplication::processEvents();
}

void TRandomEdits::SelectSome() {
    TCustomShape::UnselectAll(Form->ScrollBox1);
    int n = Random(1, 3);
    for (int i = 0; i < n; ++i) {
        auto* e = Pick<TCustomShape>();
        if (!e) return;
        TPoint at;
        if (!Mouse)
            e->SetSelected(true);
        else if (PointOn(e, at))
            Click(at, Qt::LeftButton, i ? int(Qt::ShiftModifier) : 0);
    }
}

void TRandomEdits::Undo() {
    if (Mouse) return Keys("Ctrl+Z");
    Form->UpdateMenuClick();
    Form->MenuItem("Undo1")->trigger();
}

void TRandomEdits::Redo() {
    if (Mouse) return Keys(Random(0, 1) ? "Ctrl+Y" : "Ctrl+Shift+Z");
    Form->UpdateMenuClick();
    Form->MenuItem("Redo1")->trigger();
}

void TRandomEdits::Make(int kind) {
    TDiagramHistory& history = Form->History();
    QWidget* host = Form->ScrollBox1->Host();
    const bool cancel = Random(0, 5) == 0;
    TPoint at;
    switch (kind) {
    case kAddText:
    case kAddShape:
    case kAddGraphic:
    case kAddHidden: {
        QToolButton* tools[] = {Form->TextBtn, Form->ShapeBtn, Form->GraphicBtn, Form->HiddenBtn};
        tools[kind]->click();
        int x = Random(0, Form->ScrollBox1->Width() - 1),
            y = Random(0, Form->ScrollBox1->Height() - 1);
        if (Mouse)
            Click({x, y});
        else
            Form->ScrollBox1MouseDown(Form->ScrollBox1, mbLeft, TShiftState(), x, y);
        Form->SelectBtn->click();
        return;
    }
    case kMove: {
        auto* m = Pick<TMoveableShape>();
        int dx = Random(-80, 80), dy = Random(-80, 80);
        if (!m) return;
        if (Mouse) {
            if (!PointOn(m, at)) return;
            Drag(host, at.X, at.Y, at.X + dx, at.Y + dy);
            QApplication::processEvents();
            return;
        }
        // As a drag does: the selection moves by shared steps, the element
        // snaps where it is released.
        history.NewGesture();
        SelectSome();
        m->SetSelected(true);
        m->MoveSelected(dx / 2, dy / 2);
        m->MoveSelected(dx - dx / 2, dy - dy / 2);
        Form->SnapGrid1->SnapControl(m);
        history.Flush();
        return;
    }
    case kResize: {
        auto* s = Pick<TSizeableShape>();
        if (!s) return;
        int handle = Random(0, 7), dx = Random(-40, 40), dy = Random(-40, 40);
        TRect r = s->HandleRect(handle);
        TPoint grip{r.Left + 2, r.Top + 2};
        if (Mouse) {
            if (!PointOn(s, at)) return;
            Click(at);
            TPoint p = s->ClientToParent(grip);
            MouseMove(host, p.X, p.Y);
            Drag(host, p.X, p.Y, p.X + dx, p.Y + dy);
            QApplication::processEvents();
            return;
        }
        history.NewGesture();
        s->ActiveHandle = handle;
        s->LastPoint = grip;
        s->ResizeTo(grip.X + dx / 2, grip.Y + dy / 2);
        s->ResizeTo(grip.X + dx, grip.Y + dy);
        s->ActiveHandle = 8;
        history.Flush();
        return;
    }
    case kConnect: {
        auto* a = Pick<TCustomShape>();
        auto* b = Pick<TCustomShape>();
        if (!a || !b || a == b) return;
        int from = Random(0, 3), to = Random(0, 3), colour = Random(0, 3);
        auto guard = OnModal<TConnDialog>([=](TConnDialog* d) {
            d->RadioGroup1->SetItemIndex(from);
            d->RadioGroup2->SetItemIndex(to);
            d->RadioGroup3->SetItemIndex(colour);
            (cancel ? d->CancelBtn : d->OKBtn)->click();
        });
        TConnectorKind connector = static_cast<TConnectorKind>(Random(0, 2));
        if (!Mouse) {
            Form->ConnectElements(a, b, connector);
            return;
        }
        QToolButton* tools[] = {Form->ToolButton4, Form->DHArrowBtn, Form->SHArrowBtn};
        tools[connector]->click();
        TPoint atB;
        if (PointOn(a, at) && PointOn(b, atB)) {
            Click(at);
            Click(atB);
        }
        Form->SelectBtn->click();
        return;
    }
    case kDelete:
    case kCut:
        SelectSome();
        if (Mouse)
            Keys(kind == kDelete ? "Ctrl+Del" : "Ctrl+X");
        else if (kind == kDelete)
            Form->DeleteActionExecute();
        else
            Form->CutActionExecute();
        return;
    case kPaste:
        if (!Clipboard().HasFormat(TMainForm::ClipboardFormat()) || Random(0, 2) == 0) {
            SelectSome();
            if (Mouse)
                Keys("Ctrl+C");
            else
                Form->CopyActionExecute();
        }
        if (Mouse)
            Keys("Ctrl+V");
        else
            Form->PasteActionExecute();
        return;
    case kEditCaption: {
        auto* text = Pick<TTextShape>();
        if (!text) return;
        std::string words[] = {"Pump", "Valve\nStage 2", "Kühler", "A longer caption here", ""};
        QString value = QString::fromStdString(words[Random(0, 4)]);
        auto guard = OnModal<TCaptionEditDlg>([=](TCaptionEditDlg* d) {
            d->CaptionEdit->setPlainText(value);
            (cancel ? d->CancelBtn : d->OkBtn)->click();
        });
        if (!Mouse)
            Form->TextDblClick(text);
        else if (PointOn(text, at))
            MouseDoubleClick(host, at.X, at.Y);
        QApplication::processEvents();
        return;
    }
    case kCaptionPosition: {
        auto* graphic = Pick<TGraphicShape>();
        if (!graphic) return;
        bool bottom = Random(0, 1);
        auto guard = OnModal<TCaptionPosDlg>([=](TCaptionPosDlg* d) {
            (bottom ? d->RadioButton2 : d->RadioButton1)->setChecked(true);
            if (cancel)
                d->reject();
            else
                d->BitBtn1->click();
        });
        if (!Mouse)
            Form->ElementMouseUp(graphic, mbRight, TShiftState(), 0, 0);
        else if (PointOn(graphic, at))
            Click(at, Qt::RightButton);
        return;
    }
    case kShapeType: {
        auto* shape = Pick<TStandardShape>();
        if (!shape) return;
        if (!Mouse)
            Form->ShapeDblClick(shape);
        else if (PointOn(shape, at))
            MouseDoubleClick(host, at.X, at.Y);
        QApplication::processEvents();
        return;
    }
    case kPicture: {
        auto* graphic = Pick<TGraphicShape>();
        if (!graphic) return;
        QString file = QString::fromStdString(Picture);
        auto guard = OnModal<QFileDialog>([=](QFileDialog* d) {
            if (cancel) return d->reject();
            d->findChild<QLineEdit*>("fileNameEdit")->setText(file);
            static_cast<QDialog*>(d)->accept();
        });
        if (!Mouse)
            Form->ChoosePicture(graphic);
        else if (PointOn(graphic, at))
            MouseDoubleClick(host, at.X, at.Y);
        QApplication::processEvents();
        return;
    }
    case kPageSetup: {
        const char* items[] = {"P640x480", "P800x600", "P800x1035", "P800x1600", "Custom"};
        int item = Random(0, 4);
        int width = Random(300, 1600), height = Random(300, 1600);
        auto guard = OnModal<TSizeDialog>([=](TSizeDialog* d) {
            d->LongEdit1->SetValue(width);
            d->LongEdit2->SetValue(height);
            (cancel ? d->BitBtn2 : d->BitBtn1)->click();
        });
        Form->MenuItem(items[item])->trigger();
        return;
    }
    default:
        return;
    }
}

} // namespace tsbtest
