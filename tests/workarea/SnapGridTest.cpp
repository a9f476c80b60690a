#include <gtest/gtest.h>

#include "TestSupport.h"
#include "widgets/ScrollBox.h"
#include "workarea/SnapGrid.h"

using namespace tsb;

class Grid : public ::testing::Test {
protected:
    void SetUp() override {
        Root = new TComponent(nullptr);
        Area = new TScrollBox(Root);
        Area->SetBounds(0, 0, 100, 60);
        G = new TSnapGrid(Root);
        G->SetGridSize(20);
        G->SetParent(Area);
    }
    void TearDown() override { delete Root; }
    TComponent* Root = nullptr;
    TScrollBox* Area = nullptr;
    TSnapGrid* G = nullptr;
};

TEST_F(Grid, FillsItsParentAndTakesNoInput) {
    EXPECT_EQ(G->BoundsRect(), (TRect{0, 0, 100, 60}));
    EXPECT_FALSE(G->Enabled());
    EXPECT_EQ(Area->ControlAtPos({5, 5}), nullptr);
    G->SetGridSize(0);
    G->SetGridSize(-3);
    EXPECT_EQ(G->GridSize(), 20);
}

TEST_F(Grid, SnapsDownToGridMultiples) {
    int x = 39, y = 41;
    G->SnapPoint(x, y);
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 40);
    x = 19, y = 19;
    G->SnapPoint(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    G->SnapToGrid = false;
    x = 39, y = 41;
    G->SnapPoint(x, y);
    EXPECT_EQ(x, 39);
    EXPECT_EQ(y, 41);

    // The top changes first, then the left, each through the bounds setter.
    struct Tracker : TControl {
        using TControl::TControl;
        std::vector<TRect> Seen;
        void SetBounds(int l, int t, int w, int h) override {
            TControl::SetBounds(l, t, w, h);
            Seen.push_back(BoundsRect());
        }
    };
    auto* c = new Tracker(Root);
    c->SetBounds(55, 33, 10, 10);
    c->Seen.clear();
    G->SnapControl(c);
    EXPECT_TRUE(c->Seen.empty());
    G->SnapToGrid = true;
    G->SnapControl(c);
    ASSERT_EQ(c->Seen.size(), 2u);
    EXPECT_EQ(c->Seen[0], Bounds(55, 20, 10, 10));
    EXPECT_EQ(c->Seen[1], Bounds(40, 20, 10, 10));
}

TEST_F(Grid, PaintsGreyDotsOnEveryIntersection) {
    QImage img(100, 60, QImage::Format_RGB32);
    Area->Color = clWhite;
    Area->PaintTo(img, 0, 0);
    int dots = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            if (tsbtest::Px(img, x, y) == 0x808080u) {
                ++dots;
                EXPECT_EQ(x % 20, 0);
                EXPECT_EQ(y % 20, 0);
            }
    EXPECT_EQ(dots, 5 * 3);
    G->SetShowGrid(false);
    Area->PaintTo(img, 0, 0);
    EXPECT_EQ(tsbtest::Px(img, 20, 20), 0xFFFFFFu);
    G->SetShowGrid(true);
    Area->PaintTo(img, 0, 0);
    EXPECT_EQ(tsbtest::Px(img, 20, 20), 0x808080u);
}
