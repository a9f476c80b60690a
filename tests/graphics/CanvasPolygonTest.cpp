// A filled polygon's inside meets its outline without gaps: a filled
// isosceles triangle is solid and symmetric about its axis.
#include <QImage>
#include <gtest/gtest.h>

#include "graphics/Canvas.h"
#include "support/TestSupport.h"

using namespace tsb;

TEST(CanvasPolygon, FilledTrianglesAreSolidAndSymmetric) {
    const std::vector<TPoint> triangles[] = {{{15, 25}, {10, 10}, {20, 10}},
                                             {{15, 5}, {10, 20}, {20, 20}},
                                             {{25, 15}, {10, 10}, {10, 20}},
                                             {{5, 15}, {20, 10}, {20, 20}}};
    for (int t = 0; t < 4; ++t) {
        QImage img(30, 30, QImage::Format_RGB32);
        img.fill(Qt::white);
        TCanvas canvas(&img);
        canvas.Brush.Color = clBlack;
        canvas.Polygon(triangles[t]);
        for (int line = 0; line < 30; ++line) {
            int first = -1, last = -1, count = 0;
            for (int i = 0; i < 30; ++i)
                if (tsbtest::Px(img, t < 2 ? i : line, t < 2 ? line : i) == 0) {
                    if (first < 0) first = i;
                    last = i;
                    ++count;
                }
            if (count == 0) continue;
            EXPECT_EQ(count, last - first + 1) << t << " line " << line; // no holes
            EXPECT_EQ(first + last, 30) << t << " line " << line;        // centred on 15
        }
    }
}
