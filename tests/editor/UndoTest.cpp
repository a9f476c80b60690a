// Undo and redo through the Edit menu, its short-cuts and the history: what
// a step brings back, how the window repaints, the history's bounds, and
// input that must not corrupt it.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QKeySequence>
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
