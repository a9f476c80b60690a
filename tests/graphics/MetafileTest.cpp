// Page recordings that cannot keep their pixels: too large a page still
// records its commands and says so.
#include <QPainter>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "graphics/Metafile.h"

using namespace tsb;
using tsbtest::Px;

namespace {

// A navy page with an inverting wide line across it, played onto w x h pixels.
QImage RecordAndPlay(TMetafile& page, int w, int h) {
    {
        TMetafileCanvas canvas(page);
        canvas.Brush.Color = clNavy;
        canvas.FillRect({0, 0, page.Width(), page.Height()});
        canvas.Pen.Mode = pmNotXor;
        canvas.Pen.Width = 3;
        canvas.MoveTo(0, page.Height() / 2);
        canvas.LineTo(page.Width(), page.Height() / 2);
    }
    QImage out(w, h, QImage::Format_RGB32);
    out.fill(Qt::gray);
    QPainter painter(&out);
    page.Play(painter, QRect(0, 0, w, h));
    return out;
}

} // namespace

TEST(Metafile, APageTooLargeForItsPixelsKeepsItsCommandsAndSaysSo) {
    // A row of this page is beyond what an image can hold.
    TMetafile page(80'000'000, 8);
    QImage played = RecordAndPlay(page, 80, 8);
    EXPECT_TRUE(page.ShadowLost());
    EXPECT_FALSE(page.Raster());
    EXPECT_EQ(Px(played, 40, 0), 0x000080u);
    EXPECT_EQ(Px(played, 79, 7), 0x000080u);

    // A page of an ordinary size keeps the pixels the inverting pen made.
    TMetafile small(40, 8);
    played = RecordAndPlay(small, 40, 8);
    EXPECT_FALSE(small.ShadowLost());
    EXPECT_TRUE(small.Raster());
    EXPECT_EQ(Px(played, 20, 0), 0x000080u);
}
