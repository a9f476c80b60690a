#include <algorithm>
// The picture object: loading by extension, the picture data record of
// diagram files, deep copies and change notifications.
#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "graphics/Bitmap.h"
#include "graphics/BmpCodec.h"
#include "graphics/JPEGImage.h"
#include "graphics/Picture.h"
#include "support/TestSupport.h"

using namespace tsb;

namespace {

using Bytes = std::vector<std::uint8_t>;

QImage Filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

Bytes Record(const std::string& name, const Bytes& data) {
    Bytes b(1 + name.size());
    b[0] = std::uint8_t(name.size());
    std::copy(name.begin(), name.end(), b.begin() + 1);
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(data.size() >> (8 * i)));
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Picture.OnChange = [this] { ++Changes; };
    }
    std::string Write(const std::string& name, const Bytes& data) {
        const QString path = Dir.filePath(QString::fromStdString(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(data.data()), qint64(data.size()));
        return path.toStdString();
    }

    QTemporaryDir Dir;
    TPicture Picture;
    int Changes = 0;
};

} // namespace

TEST_F(PictureTest, LoadsFilesByExtensionWhateverTheCase) {
    const Bytes bmp = EncodeBmp(Filled(5, 4, 0x336699));
    const Bytes jpg = EncodeJpeg(Filled(16, 8, 0x336699));

    Picture.LoadFromFile(Write("a.BMP", bmp));
    ASSERT_NE(Picture.Graphic(), nullptr);
    EXPECT_EQ(Picture.Graphic()->ClassName(), "TBitmap");
    EXPECT_EQ(Picture.Width(), 5);
    EXPECT_EQ(Picture.Height(), 4);
    Picture.LoadFromFile(Write("b.Jpeg", jpg));
    EXPECT_EQ(Picture.Graphic()->ClassName(), "TJPEGImage");
    EXPECT_EQ(Changes, 2);

    // Failures leave the picture as it was and raise no change.
    const TGraphic* before = Picture.Graphic();
    EXPECT_EQ(ErrorOf([&] { Picture.LoadFromFile(Write("d.png", bmp)); }),
              "Unknown picture file extension (.png)");
    EXPECT_EQ(ErrorOf([&] { Picture.LoadFromFile(Write("e.jpg", bmp)); }),
              "Not a JPEG file: starts with 0x42 0x4d");
    EXPECT_EQ(ErrorOf([&] { Picture.LoadFromFile(Write("f.bmp", jpg)); }),
              "Bitmap image is not valid");
    const std::string missing = Dir.filePath("missing.bmp").toStdString();
    EXPECT_EQ(ErrorOf([&] { Picture.LoadFromFile(missing); }), "Cannot open file " + missing);
    EXPECT_EQ(Picture.Graphic(), before);
    EXPECT_EQ(Picture.Width(), 16);
    EXPECT_EQ(Changes, 2);
}

TEST_F(PictureTest, DataRecordBytesForEachClass) {
    EXPECT_EQ(Picture.WriteData(), Bytes{0});

    const QImage image = Filled(3, 2, 0x123456);
    TBitmap bitmap(image);
    Picture.SetGraphic(&bitmap);
    const Bytes bmpRecord = Picture.WriteData();
    EXPECT_EQ(bmpRecord, Record("TBitmap", EncodeBmp(image)));
    EXPECT_EQ(Bytes(bmpRecord.begin(), bmpRecord.begin() + 14),
              (Bytes{7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 78, 0, 0, 0, 'B', 'M'}));

    const Bytes jpg = EncodeJpeg(Filled(16, 16, 0xFF8000), 50);
    const Bytes jpgRecord = Record("TJPEGImage", jpg);
    TPicture other;
    other.ReadData(jpgRecord.data(), jpgRecord.size());
    EXPECT_EQ(other.Graphic()->ClassName(), "TJPEGImage");
    EXPECT_EQ(other.WriteData(), jpgRecord); // the JPEG file passes through unchanged

    Picture.ReadData(bmpRecord.data(), bmpRecord.size());
    EXPECT_EQ(Picture.Graphic()->Image(), image);

    // A JPEG record with no data is an empty JPEG image; an empty bitmap writes no data.
    const Bytes emptyJpeg = Record("TJPEGImage", {});
    Picture.ReadData(emptyJpeg.data(), emptyJpeg.size());
    ASSERT_NE(Picture.Graphic(), nullptr);
    EXPECT_TRUE(Picture.Graphic()->Empty());
    EXPECT_EQ(Picture.Width(), 0);
    TBitmap empty;
    Picture.SetGraphic(&empty);
    EXPECT_EQ(Picture.WriteData(), Record("TBitmap", {}));
}

// A 16 x 8 icon, orange but for a transparent top-left pixel.
Bytes IconFile() {
    QImage image(16, 8, QImage::Format_ARGB32);
    image.fill(0xFFFF8000);
    image.setPixel(0, 0, 0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(QImageWriter(&buffer, "ico").write(image));
    return Bytes(bytes.begin(), bytes.end());
}

TEST_F(PictureTest, IconsWithOrWithoutAByteCountComeBackAsTheyCame) {
    const Bytes ico = IconFile();
    Picture.LoadFromFile(Write("i.ICO", ico));
    ASSERT_NE(Picture.Graphic(), nullptr);
    EXPECT_EQ(Picture.Graphic()->ClassName(), "TIcon");
    EXPECT_EQ(Picture.Width(), 16);
    EXPECT_EQ(Picture.Height(), 8);
    // A loaded icon is written as the file alone.
    Bytes bare{5, 'T', 'I', 'c', 'o', 'n'};
    bare.insert(bare.end(), ico.begin(), ico.end());
    EXPECT_EQ(Picture.WriteData(), bare);

    const Bytes counted = Record("TIcon", ico);
    for (const Bytes& record : {bare, counted}) {
        TPicture read;
        read.ReadData(record.data(), record.size());
        ASSERT_NE(read.Graphic(), nullptr);
        EXPECT_EQ(read.WriteData(), record);
        TPicture copy;
        copy.Assign(read);
        EXPECT_EQ(copy.WriteData(), record);

        // Drawn with its own transparency, at its own size.
        QImage canvas = Filled(20, 10, 0x0000FF);
        QPainter painter(&canvas);
        read.Graphic()->Draw(painter, 1, 1);
        painter.end();
        EXPECT_EQ(tsbtest::Px(canvas, 1, 1), 0x0000FFu);
        EXPECT_EQ(tsbtest::Px(canvas, 2, 1), 0xFF8000u);
        EXPECT_EQ(tsbtest::Px(canvas, 16, 8), 0xFF8000u);
        EXPECT_EQ(tsbtest::Px(canvas, 17, 9), 0x0000FFu);
    }

    Bytes damaged = bare;
    damaged.resize(damaged.size() / 2);
    const TGraphic* before = Picture.Graphic();
    EXPECT_EQ(ErrorOf([&] { Picture.ReadData(damaged.data(), damaged.size()); }),
              "Icon image is not valid");
    const Bytes notIcon = Record("TIcon", EncodeBmp(Filled(2, 2, 0)));
    EXPECT_EQ(ErrorOf([&] { Picture.ReadData(notIcon.data(), notIcon.size()); }),
              "Icon image is not valid");
    EXPECT_EQ(Picture.Graphic(), before);
}

TEST_F(PictureTest, ReadingUnknownShortAndDamagedRecords) {
    TBitmap bitmap(Filled(2, 2, 0xABCDEF));
    Picture.SetGraphic(&bitmap);
    Changes = 0;

    // An unknown class is not an error: its data is kept as it came, whatever
    // it holds, and written back byte for byte.
    for (const Bytes& unknown :
         {Record("TMetafile", {1, 2, 3}), Bytes{5, 'T', 'W', 'h', 'a', 't', 9}}) {
        Picture.ReadData(unknown.data(), unknown.size());
        ASSERT_NE(Picture.Graphic(), nullptr);
        EXPECT_FALSE(Picture.Graphic()->SizeKnown());
        EXPECT_EQ(Picture.WriteData(), unknown);
    }
    EXPECT_EQ(Changes, 2);
    TPicture copy;
    copy.Assign(Picture);
    EXPECT_EQ(copy.WriteData(), Picture.WriteData());
    EXPECT_EQ(ErrorOf([&] { copy.Graphic()->Assign(bitmap); }),
              "Cannot assign a TBitmap to a TWhat");
    Picture.ReadData(Bytes{0}.data(), 1);
    EXPECT_EQ(Picture.Graphic(), nullptr);

    Picture.SetGraphic(&bitmap);
    Changes = 0;
    const Bytes good = Record("TBitmap", EncodeBmp(bitmap.Image()));
    const std::string readError = "Stream read error";
    auto read = [&](const Bytes& b) {
        return ErrorOf([&] { Picture.ReadData(b.data(), b.size()); });
    };
    EXPECT_EQ(read({}), readError);
    EXPECT_EQ(read({9, 'T', 'B'}), readError);                             // name beyond the data
    EXPECT_EQ(read({7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 1}), readError); // count cut short
    EXPECT_EQ(read(Bytes(good.begin(), good.end() - 1)), readError);       // count beyond the data
    Bytes damaged = good;
    damaged[12] = 'X';
    EXPECT_EQ(read(damaged), "Bitmap image is not valid");
    Bytes badJpeg = Record("tjpegimage", {0xFF, 0xD8, 0xFF});
    EXPECT_EQ(read(badJpeg), "Premature end of JPEG file");
    EXPECT_EQ(Picture.Graphic()->Image(), bitmap.Image());
    EXPECT_EQ(Changes, 0);
}

TEST_F(PictureTest, AssignCopiesDeeplyAndEveryChangeIsReported) {
    TBitmap bitmap(Filled(4, 4, 0x00FF00));
    bitmap.SetTransparent(true);
    TPicture source;
    source.SetGraphic(&bitmap);
    Picture.Assign(source);
    ASSERT_NE(Picture.Graphic(), nullptr);
    EXPECT_NE(Picture.Graphic(), source.Graphic());
    EXPECT_TRUE(Picture.Graphic()->Transparent());
    static_cast<TBitmap*>(source.Graphic())->SetSize(7, 7);
    EXPECT_EQ(Picture.Width(), 4);
    EXPECT_EQ(tsbtest::Px(Picture.Graphic()->Image(), 3, 3), 0x00FF00u);
    EXPECT_EQ(Changes, 1);

    Picture.Graphic()->SetTransparent(false);
    Picture.Graphic()->SetTransparent(false);
    EXPECT_EQ(Changes, 2);
    static_cast<TBitmap*>(Picture.Graphic())->SetImage(Filled(3, 3, 0));
    EXPECT_EQ(Changes, 3);
    std::unique_ptr<TGraphic> copy = Picture.Graphic()->Clone(); // does not report here
    copy->SetTransparent(true);
    EXPECT_EQ(Changes, 3);

    TPicture empty;
    Picture.Assign(empty);
    EXPECT_EQ(Picture.Graphic(), nullptr);
    EXPECT_EQ(Picture.Width(), 0);
    Picture.Assign(empty); // an empty picture assigned again still tells the listener
    Picture.Clear();
    EXPECT_EQ(Changes, 6);
    Picture.Assign(Picture);
    EXPECT_EQ(Changes, 6);
}

TEST_F(PictureTest, RegisteredClassesLoadTheirExtensionsAndRecords) {
    RegisterGraphicClass("TTestBitmap", {"tbm"}, [] { return std::make_unique<TBitmap>(); });
    const Bytes bmp = EncodeBmp(Filled(6, 1, 0xFFFFFF));
    Picture.LoadFromFile(Write("x.TBM", bmp));
    EXPECT_EQ(Picture.Width(), 6);
    const Bytes record = Record("TTestBitmap", bmp);
    TPicture other;
    other.ReadData(record.data(), record.size());
    EXPECT_EQ(other.Width(), 6);
    EXPECT_EQ(CreateGraphic("TNoSuchGraphic"), nullptr);
}
