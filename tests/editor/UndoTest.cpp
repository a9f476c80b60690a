// Undo and redo through the Edit menu, its short-cuts and the history: what
// a step brings back, how the window repaints, the history's bounds, and
// input that must not corrupt it.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "UndoSupport.h"
#include "controls/LongEdit.h"
#include "editor/DiagramHistory.h"
#include "editor/SizeEnterForm.h"
#include "model/DiagramStream.h"
#include "model/StandardShape.h"
#include "widgets/Clipboard.h"

using namespace tsb;
using tsbtest::SavedBytes;

namespace {

struct Undo : EditorTest {
    TDiagramHistory& History() const { return Form->History(); }
    // The Edit menu as it shows: its items worked out as on opening.
    std::pair<QAction*, QAction*> Items() {
        Form->UpdateMenuClick();
        return {Form->MenuItem("Undo1"), Form->MenuItem("Redo1")};
    }
    // The short-cut as a user presses it on the main window.
    void Press(const char* keys) {
        Form->Window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Form->Window()));
        QTest::keySequence(Form->Window(), QKeySequence(keys));
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(Undo, MenuItemsNameTheStepAndFollowTheShortCuts) {
    auto [undo, redo] = Items();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    auto* shape = Place<TStandardShape>(Form->ShapeBtn, 100, 100);
    ASSERT_NE(shape, nullptr);
    Items();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "&Undo Add Shape");

    Press("Ctrl+Z");
    EXPECT_EQ(All<TStandardShape>().size(), 0u);
    Items();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text(), "&Redo Add Shape");
    // Screen readers read the items by their captions.
    Form->EditMenu->popup(QPoint(0, 0));
    QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(Form->EditMenu);
    EXPECT_EQ(menu->child(0)->text(QAccessible::Name), "Undo");
    EXPECT_EQ(menu->child(1)->text(QAccessible::Name), "Redo Add Shape");
    Form->EditMenu->hide();

    for (const char* keys : {"Ctrl+Y", "Ctrl+Shift+Z"}) {
        Press(keys);
        ASSERT_EQ(All<TStandardShape>().size(), 1u) << keys;
        EXPECT_EQ(All<TStandardShape>()[0]->Name(), "StandardShape1");
        EXPECT_EQ(All<TStandardShape>()[0]->Caption()->Name(), "StandardShape1_Caption");
        Press("Ctrl+Z");
    }
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
}

TEST_F(Undo, AnUndoneMoveRepaintsWhereTheShapeWasAndWhereItGoesBack) {
    auto* shape = Place<TStandardShape>(Form->ShapeBtn, 100, 100);
    ASSERT_NE(shape, nullptr);
    // What shows of the work area in the window.
    auto shown = [this] {
        QApplication::processEvents();
        return Work()->grab().toImage().copy(Work()->visibleRegion().boundingRect());
    };
    Click(130, 110);
    QImage original = shown();
    tsbtest::Drag(Work(), 130, 110, 330, 110);
    ASSERT_EQ(shape->Left(), 300);
    // The left edge of the outline above the handle, where the shape was
    // and where it went; the grid has no dot there.
    QImage moved = shown();
    EXPECT_EQ(tsbtest::Px(moved, 102, 120), 0xFFFFFFu);
    EXPECT_EQ(tsbtest::Px(moved, 302, 120), 0x000000u);
    auto [undo, redo] = Items();
    EXPECT_EQ(undo->text(), "&Undo Move");
    undo->trigger();
    QImage back = shown();
    EXPECT_EQ(tsbtest::Px(back, 102, 120), 0x000000u);
    EXPECT_EQ(tsbtest::Px(back, 302, 120), 0xFFFFFFu);
    EXPECT_TRUE(back == original);
    Items();
    redo->trigger();
    EXPECT_TRUE(shown() == moved);
}

TEST_F(Undo, SelectingComesWithNeitherUndoNorRedo) {
    auto* a = Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    Place<TStandardShape>(Form->ShapeBtn, 300, 40);
    Form->ShapeDblClick(a);
    ASSERT_EQ(a->ShapeType(), stEllipse);
    // A press brings the shape to the front and leaves its pointer on it.
    a->BringToFront();
    a->SetCursor(crHand);
    a->SetSelected(true);
    Items().first->trigger();
    auto* back = dynamic_cast<TStandardShape*>(Form->FindComponent("StandardShape1"));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->ShapeType(), stRoundRect);
    EXPECT_EQ(Form->ScrollBox1->ControlList().back(), back);
    EXPECT_EQ(back->Cursor(), crHand);
    EXPECT_TRUE(back->Selected());
    EXPECT_TRUE(back->Caption()->Selected());
    EXPECT_TRUE(static_cast<bool>(back->OnDblClick));
    // Selecting alone makes no step.
    TCustomShape::SelectAll(Form->ScrollBox1);
    TCustomShape::UnselectAll(Form->ScrollBox1);
    EXPECT_EQ(Items().first->text(), "&Undo Add Shape");
}

TEST_F(Undo, AStepThatCannotBeReadLeavesTheDiagramAndTheHistory) {
    auto* shape = Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    shape->SetSelected(true);
    Form->DeleteActionExecute();
    // Something that is no step takes the deleted shape's name.
    auto* intruder = Add<TStandardShape>(300, 300);
    ASSERT_EQ(intruder->Name(), "StandardShape1");
    tsb::TBytes before = SavedBytes(Form);
    auto [undo, redo] = Items();
    undo->trigger();
    ASSERT_EQ(tsbtest::ShownErrors().size(), 1u);
    EXPECT_EQ(tsbtest::ShownErrors()[0], "A component named StandardShape1 already exists.");
    EXPECT_EQ(SavedBytes(Form), before);
    EXPECT_EQ(History().Stack().index(), 2);
    EXPECT_EQ(Items().first->text(), "&Undo Delete");
    EXPECT_FALSE(redo->isEnabled());
    delete intruder;
    undo->trigger();
    EXPECT_NE(Form->FindComponent("StandardShape1_Caption"), nullptr);
    EXPECT_EQ(Items().second->text(), "&Redo Delete");
}

TEST_F(Undo, TheHistoryDropsItsOldestStepsBeyondItsMemory) {
    auto* shape = Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    shape->SetSelected(true);
    auto move = [&](int dx) {
        History().NewGesture();
        shape->MoveSelected(dx, 0);
        History().Flush();
    };
    for (int i = 0; i < 1000; ++i)
        move(i % 2 ? -1 : 1);
    EXPECT_EQ(History().Stack().count(), 1001);
    std::size_t each = History().Bytes() / 1001;
    History().SetMemoryLimit(each * 100);
    EXPECT_LE(History().Bytes(), each * 100);
    int kept = History().Stack().count();
    EXPECT_GT(kept, 80);
    EXPECT_LT(kept, 101);
    // The newest steps stay, and undo still leads through them.
    EXPECT_EQ(History().UndoText(), "Move");
    std::uint64_t top = History().StateSerial();
    for (int i = 0; i < kept; ++i)
        History().Undo();
    EXPECT_FALSE(History().CanUndo());
    EXPECT_EQ(shape->Left(), 40);
    while (History().CanRedo())
        History().Redo();
    EXPECT_EQ(History().StateSerial(), top);
    EXPECT_EQ(shape->Left(), 40);
}

TEST_F(Undo, PageSetupComesBackWithItsTick) {
    Form->P640x480ActionExecute();
    auto guard = tsbtest::OnModal<TSizeDialog>([](TSizeDialog* d) {
        d->LongEdit1->SetValue(1000);
        d->LongEdit2->SetValue(700);
        d->BitBtn1->click();
    });
    Form->CustomClick();
    guard.reset();
    EXPECT_EQ(Form->ScrollBox1->Width(), 1000);
    TRect custom = Form->ScrollBox1->BoundsRect();
    // A cancelled dialog changes the page not and makes no step.
    auto cancel = tsbtest::OnModal<TSizeDialog>([](TSizeDialog* d) { d->BitBtn2->click(); });
    Form->CustomClick();
    cancel.reset();
    EXPECT_EQ(History().Stack().count(), 2);
    History().Undo();
    EXPECT_EQ(Form->ScrollBox1->Width(), 640);
    EXPECT_TRUE(Form->MenuItem("P640x480")->isChecked());
    History().Undo();
    EXPECT_EQ(Form->ScrollBox1->Width(), 800);
    EXPECT_TRUE(Form->MenuItem("P800x600")->isChecked());
    History().Redo();
    History().Redo();
    EXPECT_EQ(Form->ScrollBox1->BoundsRect(), custom);
    EXPECT_TRUE(Form->MenuItem("Custom")->isChecked());
}

TEST_F(Undo, NewAndOpenStartAfreshSaveKeepsAndAFailedOpenLeavesTheHistory) {
    QTemporaryDir dir;
    std::string file = dir.filePath("d.tsb").toStdString();
    Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    auto save = tsbtest::OnModal<QFileDialog>([&](QFileDialog* d) {
        d->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(file));
        static_cast<QDialog*>(d)->accept();
    });
    Form->SaveActionExecute();
    save.reset();
    EXPECT_TRUE(History().CanUndo());
    EXPECT_THROW(Form->OpenFile(file + ".missing"), std::exception);
    EXPECT_TRUE(History().CanUndo());
    Form->OpenFile(file);
    EXPECT_FALSE(History().CanUndo());
    Place<TStandardShape>(Form->ShapeBtn, 200, 40);
    Form->NewActionExecute();
    EXPECT_FALSE(History().CanUndo());
    EXPECT_FALSE(History().CanRedo());
}

TEST_F(Undo, ADeleteDuringADragIsAStepAfterTheMoveSoFar) {
    auto* shape = Place<TStandardShape>(Form->ShapeBtn, 100, 100);
    // The press brings the shape to the front and leaves its pointer on it.
    auto placed = tsbtest::ElementsApartFromSelecting(Form);
    tsbtest::MousePress(Work(), 130, 110);
    tsbtest::MouseMove(Work(), 180, 110, Qt::LeftButton);
    Press("Ctrl+Del");
    EXPECT_EQ(All<TStandardShape>().size(), 0u);
    tsbtest::MouseMove(Work(), 230, 110, Qt::LeftButton);
    tsbtest::MouseRelease(Work(), 230, 110);
    QApplication::processEvents();
    EXPECT_EQ(History().UndoText(), "Delete");
    Press("Ctrl+Z");
    shape = dynamic_cast<TStandardShape*>(Form->FindComponent("StandardShape1"));
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->Left(), 150);
    EXPECT_EQ(History().UndoText(), "Move");
    Press("Ctrl+Z");
    EXPECT_EQ(tsbtest::ElementsApartFromSelecting(Form), placed);
    Press("Ctrl+Y");
    Press("Ctrl+Y");
    EXPECT_EQ(All<TStandardShape>().size(), 0u);
}

TEST_F(Undo, APasteFromASecondWindowIsAStepOfThisWindowOnly) {
    auto other = std::make_unique<TMainForm>();
    other->ShapeBtn->click();
    other->ScrollBox1MouseDown(nullptr, mbLeft, TShiftState(), 200, 200);
    other->SelectAll();
    other->CopyActionExecute();
    Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    TRect page = Form->ScrollBox1->BoundsRect();
    tsb::TBytes before = SavedBytes(Form);
    Form->PasteActionExecute();
    ASSERT_EQ(All<TStandardShape>().size(), 2u);
    EXPECT_EQ(All<TStandardShape>()[1]->Name(), "StandardShape2");
    // The paste brought the other window's page place along.
    EXPECT_EQ(Form->ScrollBox1->BoundsRect(), other->ScrollBox1->BoundsRect());
    tsb::TBytes pasted = SavedBytes(Form);
    EXPECT_EQ(other->History().Stack().count(), 1);
    Press("Ctrl+Z");
    EXPECT_EQ(SavedBytes(Form), before);
    EXPECT_EQ(Form->ScrollBox1->BoundsRect(), page);
    EXPECT_EQ(other->History().Stack().count(), 1);
    EXPECT_EQ(other->ScrollBox1->ControlCount(), 3);
    Press("Ctrl+Y");
    EXPECT_EQ(SavedBytes(Form), pasted);
}

TEST_F(Undo, NothingIsUndoneUnderAModalDialog) {
    Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    Place<TStandardShape>(Form->ShapeBtn, 300, 40);
    bool enabled = true;
    auto answer = tsbtest::OnModal<TConnDialog>([&](TConnDialog* d) {
        QTest::keySequence(Form->Window(), QKeySequence("Ctrl+Z"));
        Form->UpdateMenuClick();
        enabled = Form->MenuItem("Undo1")->isEnabled();
        Form->UndoActionExecute();
        History().Undo();
        d->OKBtn->click();
    });
    Form->ToolButton4->click();
    Click(70, 50);
    Click(330, 50);
    answer.reset();
    EXPECT_FALSE(enabled);
    EXPECT_EQ(All<TStandardShape>().size(), 2u);
    EXPECT_EQ(Connectors().size(), 1u);
    EXPECT_EQ(History().Stack().count(), 3);
    EXPECT_EQ(History().UndoText(), "Connect");
    Press("Ctrl+Z");
    EXPECT_EQ(Connectors().size(), 0u);
}
