#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "TestSupport.h"
#include "controls/RadioGroup.h"
#include "editor/ConnDlg.h"
#include "editor/MainForm.h"
#include "graphics/JpegCodec.h"
#include "model/Connector.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"
#include "widgets/Clipboard.h"

using namespace tsb;

namespace {

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

} // namespace

class ClipboardCommands : public EditorTest {
protected:
    void SetUp() override {
        Clipboard().SetEntries("", QImage(), "", {});
        EditorTest::SetUp();
        ConnDialog()->RadioGroup1->SetItemIndex(3);
        ConnDialog()->RadioGroup2->SetItemIndex(2);
    }
    TStandardShape* PlaceShape(int x, int y) {
        Form->ShapeBtn->click();
        Click(x, y);
        return As<TStandardShape>(Form->FindComponent("StandardShape" + std::to_string(++Shapes)));
    }
    TConnector* Join(TPoint a, TPoint b) {
        Form->SHArrowBtn->click();
        Click(a.X, a.Y);
        tsbtest::AnswerModal<TConnDialog>([](TConnDialog* d) { tsbtest::Click(d->OKBtn); });
        Click(b.X, b.Y);
        return Connectors().back();
    }
    int Shapes = 0;
};

TEST_F(ClipboardCommands, ClipboardBytesOfTheWorkedExample) {
    QByteArray file = ReadFile(QString(TRESSELBY_TEST_DATA) + "/worked-example.tsb");
    ASSERT_EQ(file.size(), 619);
    TCustomShape::LoadFromFile(TRESSELBY_TEST_DATA "/worked-example.tsb", Form->ScrollBox1);
    Form->CopyBtn->click();
    QByteArray expected = "TPF0" + file.left(11) +
                          "\x0A"
                          "ScrollBox1" +
                          file.mid(12);
    std::optional<QByteArray> block = Clipboard().Data(TMainForm::ClipboardFormat());
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(block->size(), 633);
    EXPECT_EQ(*block, expected);
    EXPECT_EQ(Clipboard().Text(), "TCustomShape: Diagram Tool custom type");
    QImage bitmap = Clipboard().Bitmap();
    EXPECT_EQ(bitmap.size(), QSize(800, 600));
}

TEST_F(ClipboardCommands, PastingTwiceGivesFreshNamesAndCaptions) {
    TStandardShape* shape = PlaceShape(100, 100);
    Click(110, 110); // select it (with its caption)
    Form->CopyBtn->click();
    Form->PasteBtn->click();
    Form->PasteBtn->click();
    auto* second = As<TStandardShape>(Form->FindComponent("StandardShape2"));
    auto* third = As<TStandardShape>(Form->FindComponent("StandardShape3"));
    ASSERT_NE(second, nullptr);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(second->BoundsRect(), shape->BoundsRect());
    ASSERT_NE(second->Caption(), nullptr);
    ASSERT_NE(third->Caption(), nullptr);
    EXPECT_EQ(second->Caption()->Name(), "TextShape1");
    EXPECT_EQ(third->Caption()->Name(), "TextShape2");
    EXPECT_NE(second->Caption(), shape->Caption());
    EXPECT_TRUE(second->Selected());
    // Pasted elements take part in connecting: their hooks are attached.
    ASSERT_TRUE(static_cast<bool>(third->OnClick));
    ASSERT_TRUE(static_cast<bool>(third->Caption()->OnDblClick));
}

TEST_F(ClipboardCommands, PastedConnectorsJoinPastedShapesOrTheNamesTheyHad) {
    TStandardShape* a = PlaceShape(100, 100);
    TStandardShape* b = PlaceShape(400, 100);
    TConnector* c = Join({105, 105}, {405, 105});
    Form->MenuItem("SelectAll1")->trigger();
    Form->CopyBtn->click();
    Form->PasteBtn->click();
    std::vector<TConnector*> all = Connectors();
    ASSERT_EQ(all.size(), 2u);
    TConnector* pasted = all[1];
    EXPECT_EQ(pasted->Name(), "SingleHeadArrow1");
    EXPECT_EQ(pasted->StartConn().Shape(), Form->FindComponent("StandardShape3"));
    EXPECT_EQ(pasted->EndConn().Shape(), Form->FindComponent("StandardShape4"));

    // A connector copied alone reattaches to the elements of the stored names.
    TCustomShape::UnselectAll(Form->ScrollBox1);
    c->SetSelected(true);
    Form->CopyBtn->click();
    Form->PasteBtn->click();
    all = Connectors();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[2]->StartConn().Shape(), a);
    EXPECT_EQ(all[2]->EndConn().Shape(), b);
    // ... or stays unattached when they are gone.
    delete a;
    Form->PasteBtn->click();
    all = Connectors();
    TConnector* loose = all.back();
    EXPECT_EQ(loose->StartConn().Shape(), nullptr);
    EXPECT_EQ(loose->EndConn().Shape(), b);
}

TEST_F(ClipboardCommands, CopyWithNothingSelectedPastesOnlyTheBounds) {
    PlaceShape(100, 100);
    Form->CopyBtn->click();
    int count = Form->ScrollBox1->ControlCount();
    Form->MenuItem("P640x480")->trigger();
    TRect moved = Form->ScrollBox1->BoundsRect();
    ASSERT_NE(moved, Bounds(40, 30, 800, 600));
    Form->PasteBtn->click();
    EXPECT_EQ(Form->ScrollBox1->ControlCount(), count);
    EXPECT_EQ(Form->ScrollBox1->BoundsRect(), Bounds(40, 30, 800, 600));
}

TEST_F(ClipboardCommands, MalformedPasteLeavesEverythingAsItWas) {
    TStandardShape* shape = PlaceShape(100, 100);
    Click(110, 110);
    Form->CopyBtn->click();
    QByteArray good = *Clipboard().Data(TMainForm::ClipboardFormat());
    Form->MenuItem("P640x480")->trigger();
    TRect bounds = Form->ScrollBox1->BoundsRect();
    int count = Form->ScrollBox1->ControlCount();
    // Cut short in the middle of the second element.
    Clipboard().SetEntries("", QImage(), TMainForm::ClipboardFormat(), good.left(good.size() - 30));
    Form->PasteBtn->click();
    ASSERT_EQ(tsbtest::ShownErrors().size(), 1u);
    EXPECT_EQ(tsbtest::ShownErrors()[0], "Stream read error.");
    EXPECT_EQ(Form->ScrollBox1->ControlCount(), count);
    EXPECT_EQ(Form->ScrollBox1->BoundsRect(), bounds);
    EXPECT_EQ(Form->FindComponent("StandardShape2"), nullptr);
    // Not a stream at all.
    Clipboard().SetEntries("", QImage(), TMainForm::ClipboardFormat(), "XXXX1234");
    Form->PasteBtn->click();
    EXPECT_EQ(tsbtest::ShownErrors().back(), "Invalid stream format.");
    EXPECT_EQ(Form->ScrollBox1->ControlCount(), count);
    EXPECT_EQ(shape->Name(), "StandardShape1");
}

TEST_F(ClipboardCommands, EditMenuEnablingAndShortCuts) {
    Form->Window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form->Window()));
    emit Form->EditMenu->aboutToShow();
    for (const char* item : {"Cut1", "Copy1", "Paste1", "Delete2"})
        EXPECT_FALSE(Form->MenuItem(item)->isEnabled()) << item;
    EXPECT_TRUE(Form->MenuItem("SelectAll1")->isEnabled());

    // Ctrl+C with nothing selected does nothing.
    PlaceShape(100, 100);
    QTest::keyClick(Form->Window(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(Clipboard().HasFormat(TMainForm::ClipboardFormat()));
    // The tool bar's Copy still copies (an empty work area).
    Form->CopyBtn->click();
    EXPECT_TRUE(Clipboard().HasFormat(TMainForm::ClipboardFormat()));
    emit Form->EditMenu->aboutToShow();
    EXPECT_TRUE(Form->MenuItem("Paste1")->isEnabled());
    EXPECT_FALSE(Form->MenuItem("Copy1")->isEnabled());

    // With a selection Ctrl+C copies it, Ctrl+V pastes, Ctrl+Del deletes.
    Click(110, 110);
    QTest::keyClick(Form->Window(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(Form->Window(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_NE(Form->FindComponent("StandardShape2"), nullptr);
    QTest::keyClick(Form->Window(), Qt::Key_Delete);
    EXPECT_NE(Form->FindComponent("StandardShape2"), nullptr);
    // Pasted elements arrive selected and the earlier selection stays.
    QTest::keyClick(Form->Window(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Form->FindComponent("StandardShape2"), nullptr);
    EXPECT_EQ(Form->FindComponent("StandardShape1"), nullptr);
    // Cut and paste brings an element back under the name that is free again.
    Shapes = 0;
    PlaceShape(100, 100);
    Click(110, 110);
    QTest::keyClick(Form->Window(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Form->FindComponent("StandardShape1"), nullptr);
    QTest::keyClick(Form->Window(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_NE(Form->FindComponent("StandardShape1"), nullptr);
    EXPECT_NE(Form->FindComponent("TextShape1"), nullptr);
}

TEST_F(ClipboardCommands, ExportWritesTheWorkAreaAsJpeg) {
    TStandardShape* shape = PlaceShape(100, 100);
    Click(110, 110);
    QTemporaryDir dir;
    QString path = dir.filePath("diagram");
    tsbtest::AnswerModal<QFileDialog>([path](QFileDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Save As Image");
        d->findChild<QLineEdit*>("fileNameEdit")->setText(path);
        QMetaObject::invokeMethod(d, "accept");
    });
    Form->ExportBtn->click();
    QByteArray jpeg = ReadFile(path + ".jpg");
    ASSERT_GT(jpeg.size(), 100);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[1]), 0xD8);
    QImage image = DecodeJpeg(reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                              static_cast<std::size_t>(jpeg.size()));
    QImage screen = Form->WorkAreaBitmap();
    ASSERT_EQ(image.size(), QSize(800, 600));
    // Within JPEG's tolerance of the work area as shown: handles, outline, grid.
    int worst = 0;
    for (int y = 0; y < 600; y += 3)
        for (int x = 0; x < 800; x += 3) {
            QRgb a = image.pixel(x, y), b = screen.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    EXPECT_LT(worst, 140);
    QRgb handle = image.pixel(shape->Left() + 1, shape->Top() + 1);
    EXPECT_LT(qGray(handle), 80);
    QRgb blank = image.pixel(700, 500 + 10);
    EXPECT_GT(qGray(blank), 200);
}

// A copy of a page beyond 64 megapixels: the bitmap entry is the page scaled
// down to at most 16 megapixels, and the text and the diagram still go.
TEST_F(ClipboardCommands, CopyOfAHugePageScalesTheBitmapDown) {
    Form->ScrollBox1->SetBounds(40, 30, 12000, 6000);
    TStandardShape* shape = PlaceShape(200, 200);
    shape->SetBounds(6000, 3000, 600, 300); // a sixth of the picture's size
    shape->SetSelected(true);
    Form->CopyBtn->click();
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    EXPECT_EQ(Clipboard().Text(), "TCustomShape: Diagram Tool custom type");
    EXPECT_TRUE(Clipboard().HasFormat(TMainForm::ClipboardFormat()));
    QImage bitmap = Clipboard().Bitmap();
    ASSERT_FALSE(bitmap.isNull());
    EXPECT_LE(std::int64_t(bitmap.width()) * bitmap.height(), TMainForm::ReducedBitmapPixels);
    EXPECT_GT(std::int64_t(bitmap.width()) * bitmap.height(),
              TMainForm::ReducedBitmapPixels * 9 / 10);
    EXPECT_NEAR(double(bitmap.width()) / bitmap.height(), 2.0, 0.01);
    // Each pixel comes from the page pixel it covers: the shape's handles
    // (5 x 5) where the scale puts them, white inside it.
    auto page = [&](int x, int y) {
        return QPoint(int(std::int64_t(x) * 12000 / bitmap.width()),
                      int(std::int64_t(y) * 6000 / bitmap.height()));
    };
    int handles = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            QPoint p = page(x, y);
            if (QRect(6000, 3000, 5, 5).contains(p) || QRect(6595, 3295, 5, 5).contains(p))
                handles += qGray(bitmap.pixel(x, y)) < 80;
        }
    EXPECT_GE(handles, 2);
    double scale = double(bitmap.width()) / 12000;
    EXPECT_EQ(bitmap.pixel(int(6300 * scale), int(3150 * scale)) & 0xFFFFFFu, 0xFFFFFFu);
    // A paste brings the diagram back.
    Form->PasteBtn->click();
    EXPECT_NE(Form->FindComponent("StandardShape2"), nullptr);
}
