#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "TestSupport.h"
#include "controls/RadioGroup.h"
#include "editor/CaptionEditForm.h"
#include "editor/CaptionPosForm.h"
#include "editor/ConnDlg.h"
#include "editor/MainForm.h"
#include "graphics/Picture.h"
#include "model/Connector.h"
#include "model/DiagramStream.h"
#include "model/GraphicShape.h"
#include "model/HiddenShape.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"

using namespace tsb;

using Tools = EditorTest;

TEST_F(Tools, PlacesEachKindWithItsCaptionAndHooks) {
    auto* shape = Place<TStandardShape>(Form->ShapeBtn, 105, 95);
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->Name(), "StandardShape1");
    EXPECT_EQ(shape->BoundsRect(), Bounds(100, 80, 100, 60));
    EXPECT_EQ(shape->ShapeType(), stRoundRect);
    EXPECT_FALSE(shape->Selected());
    ASSERT_NE(shape->Caption(), nullptr);
    EXPECT_EQ(shape->Caption()->Name(), "StandardShape1_Caption");
    EXPECT_EQ(shape->Caption()->Text(), "Caption");
    EXPECT_EQ(shape->CaptionAlign(), alClient);
    EXPECT_EQ(Form->ToolMode(), tmSelect);

    auto* graphic = Place<TGraphicShape>(Form->GraphicBtn, 300, 100);
    ASSERT_NE(graphic, nullptr);
    EXPECT_EQ(graphic->Name(), "GraphicShape1");
    EXPECT_EQ(graphic->BoundsRect(), Bounds(300, 100, 87, 87));
    EXPECT_TRUE(graphic->Selected());
    ASSERT_NE(graphic->Caption(), nullptr);
    EXPECT_EQ(graphic->Caption()->Name(), "TextShape1");
    EXPECT_EQ(graphic->Caption()->Text(), "New Graphic");
    EXPECT_FALSE(graphic->Caption()->Selected());
    EXPECT_EQ(graphic->CaptionAlign(), alBottom);
    EXPECT_EQ(graphic->Caption()->Top(), 100 + 87 + 2);

    auto* hidden = Place<THiddenShape>(Form->HiddenBtn, 419, 301);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(hidden->Name(), "HiddenShape1");
    EXPECT_EQ(hidden->BoundsRect(), Bounds(400, 300, 20, 20));
    EXPECT_TRUE(hidden->Selected());

    // A press on an existing element with a placing tool places nothing.
    Form->ShapeBtn->click();
    Click(120, 90);
    EXPECT_EQ(Form->ToolMode(), tmAddShape);
    EXPECT_EQ(Form->FindComponent("StandardShape2"), nullptr);
}

TEST_F(Tools, JoinsElementsWithEachConnectorTool) {
    auto* a = Place<TStandardShape>(Form->ShapeBtn, 100, 100);
    auto* b = Place<TStandardShape>(Form->ShapeBtn, 400, 100);
    auto* h = Place<THiddenShape>(Form->HiddenBtn, 300, 400);
    // The defaults: from the top of the first to the bottom of the second.
    Connect(Form->ToolButton4, {105, 105}, {405, 105},
            [](TConnDialog* d) { tsbtest::Click(d->OKBtn); });
    ASSERT_EQ(Connectors().size(), 1u);
    TConnector* line = Connectors()[0];
    EXPECT_STREQ(line->ClassName(), "TLineConnector");
    EXPECT_EQ(line->StartConn().Shape(), a);
    EXPECT_EQ(line->StartConn().Side, csTop);
    EXPECT_EQ(line->EndConn().Shape(), b);
    EXPECT_EQ(line->EndConn().Side, csBottom);
    EXPECT_EQ(line->LineColor, clBlack);
    EXPECT_EQ(line->Name(), "");
    EXPECT_EQ(Form->ToolMode(), tmSelect);

    Connect(Form->DHArrowBtn, {405, 105}, {305, 405}, [](TConnDialog* d) {
        d->RadioGroup1->SetItemIndex(3);
        d->RadioGroup2->SetItemIndex(2);
        d->RadioGroup3->SetItemIndex(1);
        tsbtest::Click(d->OKBtn);
    });
    ASSERT_EQ(Connectors().size(), 2u);
    TConnector* two = Connectors()[1];
    EXPECT_STREQ(two->ClassName(), "TDoubleHeadArrow");
    EXPECT_EQ(two->StartConn().Side, csRight);
    EXPECT_EQ(two->EndConn().Side, csLeft);
    EXPECT_EQ(two->EndConn().Shape(), h);
    EXPECT_EQ(two->LineColor, clRed);

    // Cancel still connects, right side to left side, in the chosen colour;
    // the dialog remembers the last choices.
    Connect(Form->SHArrowBtn, {305, 405}, {105, 105}, [](TConnDialog* d) {
        EXPECT_EQ(d->RadioGroup1->ItemIndex(), 3);
        EXPECT_EQ(d->RadioGroup3->ItemIndex(), 1);
        d->RadioGroup1->SetItemIndex(0);
        d->RadioGroup3->SetItemIndex(2);
        tsbtest::Click(d->CancelBtn);
    });
    ASSERT_EQ(Connectors().size(), 3u);
    TConnector* one = Connectors()[2];
    EXPECT_STREQ(one->ClassName(), "TSingleHeadArrow");
    EXPECT_EQ(one->StartConn().Side, csRight);
    EXPECT_EQ(one->EndConn().Side, csLeft);
    EXPECT_EQ(one->LineColor, clBlue);
    EXPECT_EQ(one->StartConn().StoredOffset(), h->Height() / 2);

    // Deleting a shape takes its connectors along.
    delete a;
    EXPECT_EQ(Connectors().size(), 1u);
}

TEST_F(Tools, PickingTheSameElementTwiceKeepsTheMode) {
    Place<TStandardShape>(Form->ShapeBtn, 100, 100);
    Form->SHArrowBtn->click();
    Click(105, 105);
    Click(110, 110);
    ASSERT_EQ(tsbtest::ShownErrors().size(), 1u);
    EXPECT_EQ(tsbtest::ShownErrors()[0], "You cannot join an graphic to itself.");
    EXPECT_EQ(Form->ToolMode(), tmOneWayTo);
    Form->ToolButton4->click();
    Click(105, 105);
    Click(110, 110);
    EXPECT_EQ(tsbtest::ShownErrors().back(), "You cannot join an object to itself.");
    EXPECT_EQ(Form->ToolMode(), tmLineTo);
    EXPECT_TRUE(Connectors().empty());
    // The failed pick did not leave a drag behind.
    auto* shape = As<TStandardShape>(Form->FindComponent("StandardShape1"));
    EXPECT_FALSE(shape->Moving);
}

TEST_F(Tools, DoubleClicksCycleShapesAndEditCaptions) {
    auto* shape = Place<TStandardShape>(Form->ShapeBtn, 100, 100);
    tsbtest::MouseDoubleClick(Work(), 104, 104);
    EXPECT_EQ(shape->ShapeType(), stEllipse);
    tsbtest::MouseDoubleClick(Work(), 104, 104);
    EXPECT_EQ(shape->ShapeType(), stRectangle);
    tsbtest::MouseDoubleClick(Work(), 104, 104);
    EXPECT_EQ(shape->ShapeType(), stRoundRect);

    // The caption editor with a two-line text keeps a bold caption bold.
    TTextShape* caption = shape->Caption();
    TFont bold = caption->Font();
    bold.SetStyle(fsBold);
    caption->SetFont(bold);
    tsbtest::AnswerModal<TCaptionEditDlg>([](TCaptionEditDlg* d) {
        d->CaptionEdit->setPlainText("Pump\nStation");
        tsbtest::Click(d->OkBtn);
    });
    QPoint mid(caption->Left() + caption->Width() / 2, caption->Top() + caption->Height() / 2);
    tsbtest::MouseDoubleClick(Work(), mid.x(), mid.y());
    EXPECT_EQ(caption->Text(), "Pump\r\nStation");
    EXPECT_EQ(caption->Font().Style(), fsBold);
    EXPECT_EQ(shape->ShapeType(), stRoundRect);
    // Two lines tall, and saved with the bytes diagram files hold.
    EXPECT_EQ(caption->Height(), 2 * caption->CanvasState().TextHeight("Pump"));
    shape->SetSelected(true);
    TBytes bytes = TDiagramStream::Write(Form->ScrollBox1, false);
    const std::string saved(bytes.begin(), bytes.end());
    EXPECT_NE(saved.find("\x04Text\x06\x0DPump\r\nStation"), std::string::npos);
}

TEST_F(Tools, RightReleaseOnAPictureMovesItsCaption) {
    auto* graphic = Place<TGraphicShape>(Form->GraphicBtn, 200, 200);
    tsbtest::AnswerModal<TCaptionPosDlg>([](TCaptionPosDlg* d) {
        EXPECT_TRUE(d->RadioButton2->isChecked());
        tsbtest::Click(d->RadioButton1);
        tsbtest::Click(d->BitBtn1);
    });
    tsbtest::MousePress(Work(), 220, 220, Qt::RightButton);
    tsbtest::MouseRelease(Work(), 220, 220, Qt::RightButton);
    EXPECT_EQ(graphic->CaptionAlign(), alTop);
    EXPECT_LT(graphic->Caption()->Top(), graphic->Top());

    // Closing the dialog without Ok changes nothing.
    tsbtest::AnswerModal<TCaptionPosDlg>([](TCaptionPosDlg* d) {
        tsbtest::Click(d->RadioButton2);
        d->reject();
    });
    tsbtest::MousePress(Work(), 220, 220, Qt::RightButton);
    tsbtest::MouseRelease(Work(), 220, 220, Qt::RightButton);
    EXPECT_EQ(graphic->CaptionAlign(), alTop);
}

TEST_F(Tools, ChoosingAPictureLoadsIt) {
    auto* graphic = Place<TGraphicShape>(Form->GraphicBtn, 200, 200);
    QTemporaryDir dir;
    QString path = dir.filePath("picture.jpg");
    ASSERT_TRUE(QFile::copy(":/images/DefaultPicture.jpg", path));
    tsbtest::AnswerModal<QFileDialog>([path](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Choose an image");
        auto* edit = d->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(edit, nullptr);
        edit->setText(path);
        static_cast<QDialog*>(d)->done(QDialog::Accepted);
    });
    graphic->Image().Clear();
    EXPECT_EQ(graphic->Width(), 2);
    tsbtest::MouseDoubleClick(Work(), 201, 201);
    EXPECT_TRUE(tsbtest::ShownErrors().empty()) << tsbtest::ShownErrors().front();
    EXPECT_EQ(graphic->Width(), 87);
    EXPECT_EQ(graphic->Height(), 87);

    // An icon: listed by the dialog, drawn with its transparency in exports.
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(0xFF0000C0);
    icon.setPixel(5, 5, 0);
    QString ico = dir.filePath("picture.ico");
    ASSERT_TRUE(icon.save(ico, "ico"));
    tsbtest::AnswerModal<QFileDialog>([ico](QFileDialog* d) {
        EXPECT_TRUE(d->nameFilters().join(' ').contains("*.ico"));
        d->findChild<QLineEdit*>("fileNameEdit")->setText(ico);
        static_cast<QDialog*>(d)->done(QDialog::Accepted);
    });
    tsbtest::MouseDoubleClick(Work(), 201, 201);
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    EXPECT_EQ(graphic->Width(), 18);
    graphic->SetSelected(false);
    QImage exported = Form->WorkAreaBitmap();
    const int x = graphic->Left() + 1, y = graphic->Top() + 1;
    EXPECT_EQ(tsbtest::Px(exported, x, y), 0x0000C0u);
    EXPECT_EQ(tsbtest::Px(exported, x + 15, y + 15), 0x0000C0u);
    EXPECT_EQ(tsbtest::Px(exported, x + 5, y + 5), 0xFFFFFFu); // the work area shows through
}

TEST_F(Tools, AConnectedShapeDraggedWithTheMouseTakesItsConnector) {
    auto* a = Place<TStandardShape>(Form->ShapeBtn, 100, 100);
    Place<TStandardShape>(Form->ShapeBtn, 400, 100);
    Connect(Form->SHArrowBtn, {105, 105}, {405, 105},
            [](TConnDialog* d) { tsbtest::Click(d->CancelBtn); });
    TConnector* c = Connectors().at(0);
    TPoint before = c->StartConn().AttachPoint();
    tsbtest::Drag(Work(), 110, 110, 150, 170);
    EXPECT_EQ(a->BoundsRect(), Bounds(140, 160, 100, 60));
    TPoint after = c->StartConn().AttachPoint();
    EXPECT_EQ(after.X - before.X, 40);
    EXPECT_EQ(after.Y - before.Y, 60);
    EXPECT_EQ(c->Left(), after.X + 1);
}
