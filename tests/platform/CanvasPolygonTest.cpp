// Filled polygons: the inside meets the outline without gaps, so a filled
// triangle is solid and an isosceles one is symmetric about its axis.
#include <QImage>
#include <gtest/gtest.h>

#include "platform/Canvas.h"
#include "support/TestSupport.h"

using namespace tsb;
using tsbtest::Px;

TEST(CanvasPolygon, FilledTrianglesAreSolidAndSymmetric) {
    struct Case {
        std::vector<TPoint> Points;
        bool Vertical; // the axis of symmetry runs vertically (x = 15)
    };
    const Case cases[] = {
        {{{15, 25}, {10, 10}, {20, 10}}, true},  // pointing down
        {{{15, 5}, {10, 20}, {20, 20}}, true},   // up
        {{{25, 15}, {10, 10}, {10, 20}}, false}, // right
        {{{5, 15}, {20, 10}, {20, 20}}, false},  // left
    };
    for (const Case& c : cases) {
        QImage img(30, 30, QImage::Format_RGB32);
        img.fill(Qt::white);
        TCanvas canvas(&img);
        canvas.Brush.Color = clBlack;
        canvas.Polygon(c.Points);
        for (int line = 0; line < 30; ++line) {
            auto black = [&](int i) {
                return c.Vertical ? Px(img, i, line) == 0 : Px(img, line, i) == 0;
            };
            int first = -1, last = -1, count = 0;
            for (int i = 0; i < 30; ++i)
                if (black(i)) {
                    if (first < 0) first = i;
                    last = i;
                    ++count;
                }
            if (count == 0) continue;
            SCOPED_TRACE(testing::Message() << "line " << line);
            EXPECT_EQ(count, last - first + 1); // no holes
            EXPECT_EQ(first + last, 30);        // centred on 15
        }
    }
}

TEST(CanvasPolygon, OutlineOnlyWithAClearBrush) {
    QImage img(30, 30, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas canvas(&img);
    canvas.Brush.Style = bsClear;
    canvas.Polygon({{15, 25}, {10, 10}, {20, 10}});
    EXPECT_EQ(Px(img, 15, 12), 0xFFFFFFu);
    EXPECT_EQ(Px(img, 15, 10), 0u);
    EXPECT_EQ(Px(img, 15, 25), 0u);
    EXPECT_EQ(Px(img, 10, 10), 0u);
    EXPECT_EQ(Px(img, 20, 10), 0u);
}
