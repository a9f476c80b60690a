// Edit > Find… and Find Next, and the "Find" window, through keys typed into
// the real windows: what is selected, replaced, undone and shown.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "UndoSupport.h"
#include "editor/DiagramHistory.h"
#include "editor/FindForm.h"
#include "editor/ZoomController.h"
#include "model/StandardShape.h"

using namespace tsb;
using tsbtest::SavedBytes;

namespace {

struct Find : EditorTest {
    TTextShape* Text(int x, int y, const char* text) {
        auto* t = Add<TTextShape>(x, y);
        t->SetText(text);
        return t;
    }
    TTextShape* Caption(int x, int y, const char* text) {
        auto* shape = Add<TStandardShape>(x, y);
        tsbtest::AddCaption(Form, shape, text, alClient);
        return shape->Caption();
    }
    void Keys(QWidget* window, const char* keys) {
        window->activateWindow();
        // A window that merely shares its activation with the active one
        // does not get the short-cuts.
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window; }));
        QTest::keySequence(window, QKeySequence(keys));
        QApplication::processEvents();
    }
    // Ctrl+F in the main window, then the text typed and Return.
    TFindForm* FindByKeys(const char* text) {
        Keys(Form->Window(), "Ctrl+F");
        TFindForm* find = Form->FindForm();
        EXPECT_NE(find, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == find; }));
        EXPECT_TRUE(find->FindEdit->hasFocus());
        QTest::keyClicks(find->FindEdit, text);
        QTest::keyClick(find->FindEdit, Qt::Key_Return);
        return find;
    }
    std::vector<TCustomShape*> Selected() const {
        std::vector<TCustomShape*> out;
        for (TCustomShape* e : All<TCustomShape>())
            if (e->Selected()) out.push_back(e);
        return out;
    }
    // The diagram built in code is where the history starts.
    void Built() { Form->History().Clear(); }
    // Undo and redo make elements anew.
    TTextShape* Named(const char* name) const { return As<TTextShape>(Form->FindComponent(name)); }
    using Shapes = std::vector<TCustomShape*>;
};

} // namespace

TEST_F(Find, NextWalksTheTextsInChildOrderFromTheSelectionAndWraps) {
    TTextShape* pump1 = Caption(40, 40, "Pump 1");
    TTextShape* valve = Text(200, 40, "Valve");
    TTextShape* pump2 = Text(300, 40, "pump 2");
    TTextShape* pump3 = Caption(40, 200, "PUMP 3");

    TFindForm* find = FindByKeys("pump");
    // A window of its own that leaves the diagram in reach.
    EXPECT_FALSE(find->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(find->windowTitle(), "Find");
    EXPECT_EQ(Selected(), Shapes{pump1});
    for (TTextShape* next : {pump2, pump3, pump1}) {
        QTest::keyClick(find, Qt::Key_F3);
        EXPECT_EQ(Selected(), Shapes{next});
    }

    // Match case leaves one; Find Next stays on it.
    QTest::keyClick(find->MatchCaseBox, Qt::Key_Space);
    ASSERT_TRUE(find->MatchCaseBox->isChecked());
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(find, Qt::Key_F3);
        EXPECT_EQ(Selected(), Shapes{pump2});
    }

    // F3 in the main window goes on after what is selected (a press would
    // bring the element to the front).
    find->MatchCaseBox->setChecked(false);
    TCustomShape::UnselectAll(Form->ScrollBox1);
    valve->SetSelected(true);
    Keys(Form->Window(), "F3");
    EXPECT_EQ(Selected(), Shapes{pump2});
    EXPECT_TRUE(find->ResultLabel->text().isEmpty());
}

TEST_F(Find, AllSelectsEveryMatchAndNoMatchesShowsInTheWindow) {
    TTextShape* pump1 = Caption(40, 40, "Pump 1");
    Text(200, 40, "Valve");
    TTextShape* pump2 = Text(300, 40, "pump 2");

    TFindForm* find = FindByKeys("PUMP");
    tsbtest::Click(find->FindAllBtn);
    EXPECT_EQ(Selected(), (Shapes{pump1, pump2}));
    EXPECT_EQ(find->ResultLabel->text(), "2 matches");

    find->FindEdit->clear();
    QTest::keyClicks(find->FindEdit, "tank");
    QTest::keyClick(find->FindEdit, Qt::Key_Return);
    EXPECT_EQ(find->ResultLabel->text(), "No matches");
    // No box to dismiss.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    EXPECT_EQ(Selected(), (Shapes{pump1, pump2}));

    // F3 with the window closed shows it when nothing matches.
    QTest::keyClick(find, Qt::Key_Escape);
    ASSERT_FALSE(find->isVisible());
    Keys(Form->Window(), "F3");
    EXPECT_TRUE(find->isVisible());
    EXPECT_EQ(find->ResultLabel->text(), "No matches");

    // Nothing to find: nothing to press.
    find->FindEdit->clear();
    for (QPushButton* b :
         {find->FindNextBtn, find->FindAllBtn, find->ReplaceBtn, find->ReplaceAllBtn})
        EXPECT_FALSE(b->isEnabled());
}

TEST_F(Find, ReplaceAllIsOneStepAndNeverReplacesItsOwnResult) {
    TTextShape* banana = Text(40, 40, "banana");
    TTextShape* caption = Caption(40, 200, "a\r\nb A");
    TTextShape* other = Text(300, 40, "xyz");
    Built();
    const TBytes before = SavedBytes(Form);
    const int width = banana->Width();

    TFindForm* find = FindByKeys("a");
    QTest::keyClicks(find->ReplaceEdit, "aa");
    tsbtest::Click(find->ReplaceAllBtn);
    EXPECT_EQ(banana->Text(), "baanaanaa");
    // Lines stay joined as files hold them; case is ignored.
    EXPECT_EQ(caption->Text(), "aa\r\nb aa");
    EXPECT_EQ(other->Text(), "xyz");
    EXPECT_EQ(find->ResultLabel->text(), "5 replaced");
    // The text element grew to its text, as the caption editor makes it.
    EXPECT_EQ(banana->Width(), banana->CanvasState().TextWidth("baanaanaa"));
    EXPECT_GT(banana->Width(), width);
    const TBytes replaced = SavedBytes(Form);

    Form->UpdateMenuClick();
    EXPECT_EQ(Form->MenuItem("Undo1")->text(), "&Undo Replace All");
    Keys(Form->Window(), "Ctrl+Z");
    EXPECT_EQ(SavedBytes(Form), before);
    EXPECT_FALSE(Form->History().CanUndo());
    EXPECT_EQ(Named("TextShape1")->Text(), "banana");
    EXPECT_EQ(Named("TextShape1")->Width(), width);
    Keys(Form->Window(), "Ctrl+Y");
    EXPECT_EQ(SavedBytes(Form), replaced);

    // Line breaks pasted into the fields are the texts' own.
    find->FindEdit->setText("aa\nb");
    find->ReplaceEdit->setText("1\r2\n3");
    tsbtest::Click(find->ReplaceAllBtn);
    EXPECT_EQ(Named("TextShape2")->Text(), "1\r\n2\r\n3 aa");
}

TEST_F(Find, ReplaceChangesTheSelectedMatchThenFindsTheNext) {
    TTextShape* first = Text(40, 40, "Pump");
    TTextShape* valve = Text(200, 40, "valve");
    TTextShape* second = Text(300, 40, "pump pump");

    Built();

    // Nothing selected matches: Replace only finds.
    valve->SetSelected(true);
    TFindForm* find = FindByKeys("pump");
    QTest::keyClicks(find->ReplaceEdit, "Motor");
    ASSERT_EQ(Selected(), Shapes{second});
    second->SetSelected(false);
    valve->SetSelected(true);
    tsbtest::Click(find->ReplaceBtn);
    EXPECT_EQ(Selected(), Shapes{second});
    EXPECT_EQ(second->Text(), "pump pump");

    tsbtest::Click(find->ReplaceBtn);
    EXPECT_EQ(second->Text(), "Motor Motor");
    EXPECT_EQ(Selected(), Shapes{first});
    tsbtest::Click(find->ReplaceBtn);
    EXPECT_EQ(first->Text(), "Motor");
    EXPECT_EQ(find->ResultLabel->text(), "No matches");

    // Each replace is a step of its own.
    Form->UpdateMenuClick();
    EXPECT_EQ(Form->MenuItem("Undo1")->text(), "&Undo Replace");
    Form->UndoActionExecute();
    EXPECT_EQ(Named("TextShape1")->Text(), "Pump");
    EXPECT_EQ(Named("TextShape3")->Text(), "Motor Motor");
}

TEST_F(Find, ScrollsWhatItFindsIntoView) {
    Form->P800x1600ActionExecute();
    Form->Window()->showNormal();
    Form->Window()->resize(500, 400);
    QApplication::processEvents();
    TTextShape* far = Text(600, 1500, "far away");
    QScrollArea* area = Form->ContainerPanel->ScrollArea();
    ASSERT_EQ(area->verticalScrollBar()->value(), 0);

    FindByKeys("far");
    const QRect shown(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value(),
                      area->viewport()->width(), area->viewport()->height());
    const QRect at(Form->ScrollBox1->Left() + far->Left(), Form->ScrollBox1->Top() + far->Top(),
                   far->Width(), far->Height());
    EXPECT_TRUE(shown.contains(at)) << at.y() << " in " << shown.y() << "+" << shown.height();

    // Zoomed in, what is found shows at its zoomed place.
    Form->Zoom().SetZoom(3);
    area->horizontalScrollBar()->setValue(0);
    area->verticalScrollBar()->setValue(0);
    QApplication::processEvents();
    Keys(Form->Window(), "F3");
    const QPoint origin = Form->ScrollBox1->Host()->mapTo(area->widget(), QPoint(0, 0));
    const QRect zoomed(origin.x() + 3 * far->Left(), origin.y() + 3 * far->Top(), 3 * far->Width(),
                       3 * far->Height());
    const QRect now(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value(),
                    area->viewport()->width(), area->viewport()->height());
    EXPECT_TRUE(now.contains(zoomed))
        << zoomed.x() << "," << zoomed.y() << " in " << now.x() << "," << now.y();
}

TEST(DiagramSearch, MatchesAndReplacesInEveryScriptAndCase) {
    struct {
        const char* Text;
        const char* Find;
        bool MatchCase;
        const char* Replaced; // with "X"; nullptr: no match
        std::size_t Count;
    } cases[] = {
        {"Pump", "pump", false, "X", 1},
        {"Pump", "pump", true, nullptr, 0},
        {"Überdruck", "über", false, "Xdruck", 1},
        {"Überdruck", "über", true, nullptr, 0},
        // ASCII sought in a text of another script, and the reverse.
        {"Насос PUMP", "pump", false, "Насос X", 1},
        {"Pump", "насос", false, nullptr, 0},
        {"НАСОС", "насос", false, "X", 1},
        // Left to right, never overlapping; lines stay as they are.
        {"aaa", "aa", true, "Xa", 1},
        {"a\r\nA", "a", false, "X\r\nX", 2},
        {"", "a", false, nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Text) + " / " + c.Find);
        const TDiagramSearch search(c.Find, c.MatchCase);
        std::size_t count = 99;
        const std::string replaced = search.Replaced(c.Text, "X", count);
        EXPECT_EQ(search.Matches(c.Text), c.Replaced != nullptr);
        EXPECT_EQ(replaced, c.Replaced ? c.Replaced : c.Text);
        EXPECT_EQ(count, c.Count);
    }
}
