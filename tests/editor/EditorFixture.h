// The editor's main window, shown, with the helpers the editor tests share:
// clicks on the work area, placing elements with the tools, connecting them.
#pragma once

#include <QMainWindow>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "DialogTestSupport.h"
#include "SampleDiagrams.h"
#include "controls/RadioGroup.h"
#include "editor/ConnDlg.h"
#include "editor/MainForm.h"
#include "model/Connector.h"
#include "model/TextShape.h"
#include "support/TestSupport.h"
#include "widgets/ScrollBox.h"

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        tsbtest::ShownErrors().clear();
        Form = new tsb::TMainForm;
        if (Shown()) {
            Form->Show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(Form->Window()));
        }
        // Every test starts from the connection dialog's own defaults.
        tsb::ConnDialog()->RadioGroup1->SetItemIndex(0);
        tsb::ConnDialog()->RadioGroup2->SetItemIndex(1);
        tsb::ConnDialog()->RadioGroup3->SetItemIndex(0);
    }
    void TearDown() override { delete Form; }
    // A window that is never shown keeps its design sizes.
    virtual bool Shown() const { return true; }

    QWidget* Work() const { return Form->ScrollBox1->Host(); }
    void Click(int x, int y) {
        tsbtest::MousePress(Work(), x, y);
        tsbtest::MouseRelease(Work(), x, y);
    }
    // The front-most element of the class after a press with the tool.
    template <typename T> T* Place(QToolButton* tool, int x, int y) {
        tool->click();
        Click(x, y);
        return Last<T>();
    }
    tsb::TTextShape* PlaceText(int x, int y) { return Place<tsb::TTextShape>(Form->TextBtn, x, y); }
    template <typename T> T* Last() const {
        const auto& list = Form->ScrollBox1->ControlList();
        for (auto it = list.rbegin(); it != list.rend(); ++it)
            if (auto* t = tsb::As<T>(*it)) return t;
        return nullptr;
    }
    template <typename T> std::vector<T*> All() const {
        std::vector<T*> out;
        for (tsb::TControl* c : Form->ScrollBox1->ControlList())
            if (auto* t = tsb::As<T>(c)) out.push_back(t);
        return out;
    }
    std::vector<tsb::TConnector*> Connectors() const { return All<tsb::TConnector>(); }
    // Connects two points of the work area with a connect tool, the dialog
    // answered by `answer`.
    void Connect(QToolButton* tool, tsb::TPoint a, tsb::TPoint b,
                 std::function<void(tsb::TConnDialog*)> answer) {
        tool->click();
        Click(a.X, a.Y);
        EXPECT_EQ(Form->StatusText(2), "Choose the second object to connect");
        tsbtest::AnswerModal<tsb::TConnDialog>(answer);
        Click(b.X, b.Y);
    }
    // An element made in code, named as the editor names it.
    template <typename T> T* Add(int left, int top) {
        return tsbtest::AddElement<T>(Form, left, top);
    }
    // A connector made in code, as the editor makes it.
    template <typename T>
    T* Join(tsb::TCustomShape* a, tsb::TConnectionSide sa, tsb::TCustomShape* b,
            tsb::TConnectionSide sb) {
        return tsbtest::JoinElements<T>(Form, a, sa, b, sb);
    }

    tsb::TMainForm* Form = nullptr;
};
