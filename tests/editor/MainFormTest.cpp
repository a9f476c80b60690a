#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "TestSupport.h"
#include "about/AboutDlg.h"
#include "about/qmAboutBox.h"
#include "editor/MainForm.h"
#include "model/TextShape.h"
#include "widgets/Image.h"
#include "workarea/SnapGrid.h"

using namespace tsb;

class MainWindow : public EditorTest {
protected:
    std::vector<TTextShape*> Texts() const { return All<TTextShape>(); }
};

TEST_F(MainWindow, LayoutAtStart) {
    EXPECT_EQ(Form->Window()->windowTitle(), "Tresselby Diagram Tool");
    EXPECT_TRUE(Form->Window()->isMaximized());
    std::vector<std::string> names, hints;
    for (QToolButton* b : Form->ToolBar1->findChildren<QToolButton*>()) {
        if (b->objectName().isEmpty() || b->objectName().startsWith("qt_")) continue;
        names.push_back(b->objectName().toStdString());
        hints.push_back(b->toolTip().toStdString());
        EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"NewBtn", "OpenBtn", "SaveBtn", "PrintBtn", "ExportBtn",
                                        "CutBtn", "CopyBtn", "PasteBtn", "DeleteBtn", "SelectBtn",
                                        "GraphicBtn", "TextBtn", "ShapeBtn", "HiddenBtn",
                                        "DHArrowBtn", "SHArrowBtn", "ToolButton4", "SnapBtn"}));
    EXPECT_EQ(hints[16], "Connect with plain line");
    EXPECT_TRUE(Form->SelectBtn->isChecked());
    EXPECT_TRUE(Form->SnapBtn->isChecked());
    EXPECT_EQ(Form->ScrollBox1->BoundsRect(), Bounds(40, 30, 800, 600));
    EXPECT_EQ(Form->StatusPanels.size(), 9u);
    EXPECT_EQ(Form->StatusText(1), "System Status:");
    EXPECT_EQ(Form->StatusText(2), "Waiting");
    EXPECT_EQ(Form->StatusText(7), "ON");
    EXPECT_EQ(Form->MenuItem("Text1")->text(), "S&tandard Shape");
    EXPECT_FALSE(Form->MenuItem("Cut1")->isEnabled());
    EXPECT_TRUE(Form->MenuItem("P800x600")->isChecked());
    EXPECT_EQ(Form->ScrollBox1->Host()->accessibleName(), "Work area");
}

TEST_F(MainWindow, PlacesTextAtTheSnappedPoint) {
    Form->TextBtn->click();
    EXPECT_EQ(Form->StatusText(2), "Place object on the diagram");
    TTextShape* t = PlaceText(37, 55);
    EXPECT_EQ(t->Name(), "TextShape1");
    EXPECT_EQ(t->Text(), "Caption");
    EXPECT_EQ(t->Left(), 20);
    EXPECT_EQ(t->Top(), 40);
    EXPECT_FALSE(t->Selected());
    EXPECT_TRUE(Form->SelectBtn->isChecked());
    EXPECT_EQ(Form->StatusText(2), "Waiting");
    EXPECT_LE(t->Width(), 41);
    EXPECT_LE(t->Height(), 15);

    Form->SnapBtn->click();
    EXPECT_EQ(Form->StatusText(7), "OFF");
    TTextShape* u = PlaceText(137, 155);
    EXPECT_EQ(u->Left(), 137);
    EXPECT_EQ(u->Top(), 155);
}

TEST_F(MainWindow, NamesTakeTheSmallestFreeNumber) {
    PlaceText(10, 10);
    PlaceText(100, 10);
    PlaceText(200, 10);
    delete Texts()[1];
    TTextShape* t = PlaceText(300, 10);
    EXPECT_EQ(t->Name(), "TextShape2");
}

TEST_F(MainWindow, DragSnapsOnRelease) {
    TTextShape* t = PlaceText(40, 40);
    tsbtest::Drag(Work(), 42, 42, 95, 77);
    EXPECT_TRUE(t->Selected());
    EXPECT_EQ(t->Left(), 80); // 93 snapped down
    EXPECT_EQ(t->Top(), 60);  // 75 snapped down
    // It cannot be dragged out of the work area.
    tsbtest::Drag(Work(), 82, 62, 82 - 200, 62);
    EXPECT_GE(t->Left(), 0);
    // A press on empty space clears the selection.
    tsbtest::MousePress(Work(), 500, 500);
    tsbtest::MouseRelease(Work(), 500, 500);
    EXPECT_FALSE(t->Selected());
}

TEST_F(MainWindow, ResizeByAHandleDoesNotSnapTheSize) {
    TTextShape* t = PlaceText(100, 100);
    tsbtest::MousePress(Work(), 105, 105);
    tsbtest::MouseRelease(Work(), 105, 105);
    ASSERT_TRUE(t->Selected());
    TRect br = t->HandleRect(7);
    TPoint p = t->ClientToParent({br.Left + 1, br.Top + 1});
    tsbtest::MouseMove(Work(), p.X, p.Y);
    EXPECT_EQ(t->ActiveHandle, 7);
    int w = t->Width(), h = t->Height();
    tsbtest::MousePress(Work(), p.X, p.Y);
    tsbtest::MouseMove(Work(), p.X + 23, p.Y + 11, Qt::LeftButton);
    tsbtest::MouseRelease(Work(), p.X + 23, p.Y + 11);
    EXPECT_EQ(t->Width(), w + 23);
    EXPECT_EQ(t->Height(), h + 11);
    EXPECT_EQ(t->Left(), 100);
}

TEST_F(MainWindow, CoordinatesInTheStatusBar) {
    tsbtest::MouseMove(Work(), 0, 0);
    EXPECT_EQ(Form->StatusText(5), "0x0");
    tsbtest::MouseMove(Work(), 120, 45);
    EXPECT_EQ(Form->StatusText(5), "120x45");
    // Moves over an element are passed on in work-area coordinates.
    PlaceText(200, 200);
    tsbtest::MouseMove(Work(), 205, 203);
    EXPECT_EQ(Form->StatusText(5), "205x203");
    EXPECT_EQ(Form->StatusText(0), "Work area");
}

TEST_F(MainWindow, ConnectModesReturnToSelectOnEmptySpace) {
    Form->ToolButton4->click();
    EXPECT_EQ(Form->StatusText(2), "Choose the first object to connect");
    tsbtest::MousePress(Work(), 300, 300);
    tsbtest::MouseRelease(Work(), 300, 300);
    EXPECT_EQ(Form->ToolMode(), tmSelect);
    EXPECT_EQ(Form->StatusText(2), "Waiting");
    EXPECT_TRUE(Form->SelectBtn->isChecked());
    // The Insert menu selects tools without pressing their buttons.
    Form->MenuItem("Connector1")->trigger();
    EXPECT_EQ(Form->ToolMode(), tmTwoWayFrom);
    EXPECT_TRUE(Form->SelectBtn->isChecked());
    Form->MenuItem("Text1")->trigger();
    EXPECT_EQ(Form->ToolMode(), tmAddGraphic);
}

TEST_F(MainWindow, ExitClosesTheWindow) {
    Form->MenuItem("ExitAction1")->trigger();
    EXPECT_FALSE(Form->Window()->isVisible());
}

TEST_F(MainWindow, HoldsTheDefaultPicture) {
    ASSERT_NE(Form->Image1, nullptr);
    EXPECT_FALSE(Form->Image1->Visible());
    EXPECT_EQ(Form->Image1->Picture().Width(), 85);
    EXPECT_EQ(Form->Image1->Picture().Height(), 85);
    EXPECT_STREQ(Form->Image1->Picture().Graphic()->ClassName().c_str(), "TJPEGImage");
}

TEST_F(MainWindow, StatusPanelShowsTheHintUnderTheMouse) {
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(Form->NewBtn, &enter);
    EXPECT_EQ(Form->StatusText(0), "New project");
    QApplication::sendEvent(Form->SnapBtn, &enter);
    EXPECT_EQ(Form->StatusText(0), "Toggle snap to grid");
    QApplication::sendEvent(Form->Window()->statusBar(), &enter);
    EXPECT_EQ(Form->StatusText(0), "Application status information");
    // The rulers' margin beside the work area.
    tsbtest::MouseMove(Form->ContainerPanel->Host(), 5, 300);
    EXPECT_EQ(Form->StatusText(0), "Background");
    tsbtest::MouseMove(Work(), 10, 10);
    EXPECT_EQ(Form->StatusText(0), "Work area");
}

TEST_F(MainWindow, ScreenReadersReadThePanelsAndTheEditItems) {
    auto name = [](QObject* o) {
        return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name).toStdString();
    };
    EXPECT_EQ(name(Form->StatusPanels[2]), "Waiting");
    EXPECT_EQ(name(Form->StatusPanels[7]), "ON");
    Form->SnapBtn->click();
    EXPECT_EQ(name(Form->StatusPanels[7]), "OFF");
    // A screen reader presses a tool button as a click does.
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(Form->TextBtn);
    EXPECT_EQ(text->text(QAccessible::Name), "Add text");
    text->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    for (int i = 0; i < 100 && name(Form->StatusPanels[2]) == "Waiting"; ++i)
        QTest::qWait(10);
    EXPECT_EQ(name(Form->StatusPanels[2]), "Place object on the diagram");

    Form->EditMenu->popup(QPoint(0, 0));
    QAccessibleInterface* menu = QAccessible::queryAccessibleInterface(Form->EditMenu);
    std::vector<std::string> items, keys;
    for (int i = 0; i < menu->childCount(); ++i) {
        QAccessibleInterface* item = menu->child(i);
        if (item->role() != QAccessible::MenuItem) continue;
        items.push_back(item->text(QAccessible::Name).toStdString());
        keys.push_back(item->text(QAccessible::Accelerator).toStdString());
    }
    Form->EditMenu->hide();
    EXPECT_EQ(items, (std::vector<std::string>{"Undo", "Redo", "Cut", "Copy", "Paste", "Delete",
                                               "Select All", "Find\u2026", "Find Next"}));
    EXPECT_EQ(keys, (std::vector<std::string>{"Ctrl+Z", "Ctrl+Y", "Ctrl+X", "Ctrl+C", "Ctrl+V",
                                              "Ctrl+Del", "", "Ctrl+F", "F3"}));
}

TEST_F(MainWindow, HelpAboutShowsTheAboutBox) {
    tsbtest::ShownErrors().clear();
    ASSERT_NE(Form->AboutDlg1, nullptr);
    EXPECT_EQ(Form->AboutDlg1->Owner(), Form);
    EXPECT_EQ(Form->FindComponent("AboutDlg1"), Form->AboutDlg1);
    EXPECT_EQ(Form->AboutDlg1->Title, "Tresselby Application");
    QAction* about = Form->MenuItem("About1");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), "&About");
    auto* help = Form->Window()->menuBar()->findChild<QMenu*>("Help1");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->actions().contains(about));

    QStringList texts;
    tsbtest::AnswerModal<tsb::TqmAboutBox>([&](tsb::TqmAboutBox* box) {
        texts << box->windowTitle() << box->ProductName->text() << box->Copyright->text()
              << box->WebPage->text();
        // Closed with the close box: the result is ignored either way.
        QCloseEvent close;
        QApplication::sendEvent(box, &close);
    });
    about->trigger();
    EXPECT_EQ(texts,
              (QStringList{"About", "Tresselby Application version 1.0.0.0",
                           "2026 The Tresselby developers", "https://tresselby.example.org/"}));
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<tsb::TqmAboutBox*>(w), nullptr);
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
}
