#include <QAction>
#include <QMainWindow>
#include <QToolButton>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "TestSupport.h"
#include "controls/LongEdit.h"
#include "editor/MainForm.h"
#include "editor/SizeEnterForm.h"
#include "model/TextShape.h"
#include "workarea/SnapGrid.h"

using namespace tsb;

using PageCommands = EditorTest;

TEST_F(PageCommands, PresetsResizeAndPlaceTheWorkAreaWhileElementsStay) {
    TTextShape* t = PlaceText(700, 560);
    Form->MenuItem("P640x480")->trigger();
    EXPECT_TRUE(Form->MenuItem("P640x480")->isChecked());
    EXPECT_FALSE(Form->MenuItem("P800x600")->isChecked());
    EXPECT_EQ(Form->ScrollBox1->Width(), 640);
    EXPECT_EQ(Form->ScrollBox1->Height(), 480);
    int panelW = Form->ContainerPanel->Width(), panelH = Form->ContainerPanel->Height();
    EXPECT_EQ(Form->ScrollBox1->Left(), std::max(40, (panelW - 640) / 2));
    EXPECT_EQ(Form->ScrollBox1->Top(), std::max(20, (panelH - 480) / 2));
    EXPECT_EQ(t->Left(), 700);
    EXPECT_EQ(t->Top(), 560);
    Form->MenuItem("P800x1600")->trigger();
    EXPECT_EQ(Form->ScrollBox1->Height(), 1600);
    EXPECT_EQ(Form->ScrollBox1->Top(), 30);
    // The grid follows the page.
    EXPECT_EQ(Form->SnapGrid1->Height(), 1600);
}

TEST_F(PageCommands, CustomSizeFromTheDialog) {
    tsbtest::AnswerModal<TSizeDialog>([](TSizeDialog* d) {
        d->LongEdit1->setText("1000");
        d->LongEdit2->setText("700");
        tsbtest::Click(d->BitBtn1);
    });
    Form->MenuItem("Custom")->trigger();
    EXPECT_EQ(Form->ScrollBox1->Width(), 1000);
    EXPECT_EQ(Form->ScrollBox1->Height(), 700);
    EXPECT_TRUE(Form->MenuItem("Custom")->isChecked());

    // Cancel keeps the page; Custom stays ticked.
    Form->MenuItem("P800x600")->trigger();
    tsbtest::AnswerModal<TSizeDialog>([](TSizeDialog* d) { tsbtest::Click(d->BitBtn2); });
    Form->MenuItem("Custom")->trigger();
    EXPECT_EQ(Form->ScrollBox1->Width(), 800);
    EXPECT_TRUE(Form->MenuItem("Custom")->isChecked());

    // A page without area is refused with a message.
    tsbtest::AnswerModal<TSizeDialog>([](TSizeDialog* d) {
        d->LongEdit1->setText("0");
        d->LongEdit2->setText("500");
        tsbtest::Click(d->BitBtn1);
    });
    Form->MenuItem("Custom")->trigger();
    EXPECT_EQ(Form->ScrollBox1->Width(), 800);
    EXPECT_EQ(Form->ScrollBox1->Height(), 600);
    // So is one larger than a diagram file can hold.
    tsbtest::AnswerModal<TSizeDialog>([](TSizeDialog* d) {
        d->LongEdit1->setText("1000");
        d->LongEdit2->setText("1000001");
        tsbtest::Click(d->BitBtn1);
    });
    Form->MenuItem("Custom")->trigger();
    EXPECT_EQ(Form->ScrollBox1->Width(), 800);
    EXPECT_EQ(Form->ScrollBox1->Height(), 600);
    EXPECT_EQ(tsbtest::ShownErrors(),
              (std::vector<std::string>{
                  "The work area must be at least 1 pixel wide and 1 pixel high.",
                  "The work area must be at most 1000000 pixels wide and 1000000 pixels high."}));
}

TEST_F(PageCommands, ShowGridSelectAllAndDelete) {
    Form->MenuItem("ShowGrid1")->trigger();
    EXPECT_FALSE(Form->SnapGrid1->ShowGrid());
    EXPECT_FALSE(Form->MenuItem("ShowGrid1")->isChecked());
    Form->MenuItem("ShowGrid1")->trigger();
    EXPECT_TRUE(Form->SnapGrid1->ShowGrid());
    EXPECT_TRUE(Form->MenuItem("ShowGrid1")->isChecked());

    PlaceText(10, 10);
    PlaceText(100, 100);
    Form->MenuItem("SelectAll1")->trigger();
    EXPECT_TRUE(TCustomShape::AnySelected(Form->ScrollBox1));
    Form->DeleteBtn->click();
    EXPECT_EQ(Form->ScrollBox1->ControlCount(), 1); // the grid stays
    EXPECT_EQ(Form->ScrollBox1->Controls(0), Form->SnapGrid1);
}
