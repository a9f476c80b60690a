// Windowed controls when something fails: a child whose painting throws, and
// a layout whose child refuses its bounds.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Exception.h"
#include "widgets/Application.h"
#include "widgets/WinControl.h"

using namespace tsb;
using tsbtest::Px;

namespace {

class TFiller : public TControl {
public:
    using TControl::TControl;
    bool Fail = false;
    int Paints = 0;
    void Paint() override {
        ++Paints;
        if (Fail) throw Exception("Cannot draw this");
        Canvas()->Brush.Color = clRed;
        Canvas()->FillRect(ClientRect());
    }
    void SetBounds(int left, int top, int width, int height) override {
        if (Fail) throw Exception("No room");
        TControl::SetBounds(left, top, width, height);
    }
};

TFiller* AddFiller(TComponent& owner, TWinControl* parent, const TRect& r) {
    auto* c = new TFiller(&owner);
    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    c->SetParent(parent);
    return c;
}

} // namespace

TEST(WinControlPaint, AFailingChildIsReportedOnceAfterThePaintAndTheRestStillPaints) {
    TComponent owner(nullptr);
    auto* host = new TWinControl(&owner);
    host->Color = clWhite;
    host->SetBounds(0, 0, 80, 30);
    host->Widget()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host->Widget()));
    // The failing child lies under another and between two more.
    TFiller* before = AddFiller(owner, host, {0, 0, 20, 20});
    TFiller* failing = AddFiller(owner, host, {10, 0, 40, 20});
    failing->Fail = true;
    TFiller* after = AddFiller(owner, host, {40, 0, 60, 20});
    tsbtest::ShownErrors().clear();

    host->Widget()->repaint();
    // Nothing is shown from inside the paint; the other children painted.
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    EXPECT_EQ(failing->Paints, 1);
    const QImage& surface = host->Surface();
    EXPECT_EQ(Px(surface, 5, 5), 0xFF0000u);
    EXPECT_EQ(Px(surface, 55, 5), 0xFF0000u);
    EXPECT_EQ(Px(surface, 70, 25), 0xFFFFFFu);
    QApplication::processEvents();
    EXPECT_EQ(tsbtest::ShownErrors(), std::vector<std::string>{"Cannot draw this."});

    // The region counts as painted: a paint without a change shows the
    // surface again and asks nothing of the children.
    host->Widget()->repaint();
    QApplication::processEvents();
    EXPECT_EQ(failing->Paints, 1);
    EXPECT_EQ(tsbtest::ShownErrors().size(), 1u);

    // Failures while one report waits make no second one.
    for (int i = 0; i < 3; ++i) {
        failing->Invalidate();
        host->Widget()->repaint();
    }
    EXPECT_EQ(failing->Paints, 4);
    QApplication::processEvents();
    EXPECT_EQ(tsbtest::ShownErrors().size(), 2u);
    EXPECT_GE(before->Paints, 1);
    EXPECT_GE(after->Paints, 1);

    // Export still fails as a whole: a picture with a part missing is no
    // picture to write.
    QImage image(80, 30, QImage::Format_RGB32);
    EXPECT_THROW(host->PaintTo(image, 0, 0), Exception);
}

TEST(WinControlLayout, AChildThatRefusesItsBoundsDoesNotStopLaterLayouts) {
    TComponent owner(nullptr);
    auto* box = new TScrollingWinControl(&owner);
    box->SetBounds(0, 0, 100, 80);
    TFiller* child = AddFiller(owner, box, {0, 0, 10, 10});
    child->SetAlign(alClient);
    const QSize full = box->Host()->size();
    child->Fail = true;
    EXPECT_THROW(box->Realign(), Exception);
    child->Fail = false;
    child->SetBounds(0, 0, 10, 10);
    box->Realign();
    EXPECT_EQ(QSize(child->Width(), child->Height()), full);
}
