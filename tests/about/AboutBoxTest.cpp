// The about box as a user meets it: its layout and texts, the logo on the
// play-field, the pointing hand over the web page, opening the address,
// and the result of closing it.
#include <QAccessible>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "DialogTestSupport.h"
#include "about/AboutDlg.h"
#include "about/Sprite.h"
#include "about/SpriteBox.h"
#include "about/qmAboutBox.h"
#include "support/TestSupport.h"
#include "widgets/Resources.h"
#include "widgets/Screen.h"

using namespace tsb;
using tsbtest::AnswerModal;
using tsbtest::Px;

namespace {

// Receives the addresses the desktop would open.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Urls;
public slots:
    void Open(const QUrl& url) { Urls.append(url); }
};

TCursor ScreenCursor() {
    return Screen().OverrideCursor();
}

} // namespace

TEST(AboutBoxTest, Layout) {
    TqmAboutBox box;
    EXPECT_EQ(box.windowTitle(), "About");
    EXPECT_EQ(box.size(), QSize(336, 235));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_EQ(box.font().family(), "Liberation Sans");
    EXPECT_EQ(box.font().pixelSize(), 12);
    EXPECT_EQ(box.Panel1->geometry(), QRect(8, 4, 321, 198));
    EXPECT_EQ(box.SpriteBox1->Widget()->parentWidget(), box.Panel1);
    EXPECT_EQ(box.SpriteBox1->Widget()->geometry(), QRect(2, 2, 317, 143));
    EXPECT_EQ(box.SpriteBox1->Color(), clBtnFace);
    EXPECT_EQ(box.Sprite1->Parent(), box.SpriteBox1);
    EXPECT_EQ(box.Sprite1->BoundsRect(), Bounds(11, 4, 294, 134));
    EXPECT_EQ(box.Sprite1->X(), 11);
    EXPECT_EQ(box.Sprite1->Y(), 4);
    EXPECT_EQ(box.Sprite1->VX(), 0);
    EXPECT_EQ(box.Sprite1->VY(), 0);

    struct Expected {
        QLabel* Label;
        QPoint At;
        int Width; // 0: as wide as its text
        bool Bold;
        QString Text;
    };
    for (const Expected& e : {Expected{box.Label1, {6, 142}, 57, true, "Name:"},
                              Expected{box.ProductName, {70, 142}, 247, false, ""},
                              Expected{box.Label3, {6, 155}, 57, true, "Copyright:"},
                              Expected{box.Copyright, {70, 155}, 247, false, ""},
                              Expected{box.Label2, {6, 168}, 57, true, "Build:"},
                              Expected{box.TimeStamp, {70, 168}, 247, false, ""},
                              Expected{box.WebPage, {70, 181}, 0, false, ""}}) {
        SCOPED_TRACE(e.Label->objectName().toStdString());
        EXPECT_EQ(e.Label->parentWidget(), box.Panel1);
        EXPECT_EQ(e.Label->pos(), e.At);
        if (e.Width) {
            EXPECT_EQ(e.Label->width(), e.Width);
        }
        EXPECT_EQ(e.Label->font().family(), "Liberation Sans");
        EXPECT_EQ(e.Label->font().pixelSize(), 11);
        EXPECT_EQ(e.Label->font().bold(), e.Bold);
        EXPECT_EQ(e.Label->text(), e.Text);
        if (e.Bold) {
            EXPECT_TRUE(e.Label->alignment() & Qt::AlignRight);
        }
    }
    EXPECT_TRUE(box.WebPage->font().underline());
    EXPECT_EQ(box.WebPage->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(box.ProductName->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_EQ(box.OKButton->geometry(), QRect(129, 206, 77, 27));
    EXPECT_EQ(box.OKButton->text(), "OK");
    EXPECT_TRUE(box.OKButton->font().bold());
    EXPECT_TRUE(box.OKButton->isDefault());
}

TEST(AboutBoxTest, TheLogoIsItsMaskAndImageOverButtonFace) {
    TqmAboutBox box;
    InitResources();
    QImage mask(":/logo/LogoAnd.png"), image(":/logo/LogoOr.png");
    ASSERT_EQ(mask.size(), QSize(294, 134));
    ASSERT_EQ(image.size(), QSize(294, 134));
    QImage screen(317, 143, QImage::Format_RGB32);
    box.SpriteBox1->PaintTo(screen, 0, 0);
    const unsigned face = 0xD4D0C8;
    int logoPixels = 0, clearPixels = 0;
    for (int y = 0; y < 143; ++y)
        for (int x = 0; x < 317; ++x) {
            unsigned expected = face;
            if (x >= 11 && x < 305 && y >= 4 && y < 138) {
                unsigned m = Px(mask, x - 11, y - 4), o = Px(image, x - 11, y - 4);
                // A logo pixel or a clear one, never a mix.
                ASSERT_TRUE((m == 0) || (m == 0xFFFFFF && o == 0)) << x << "," << y;
                (m == 0 ? logoPixels : clearPixels)++;
                expected = (face & m) | o;
            }
            ASSERT_EQ(Px(screen, x, y), expected) << x << "," << y;
        }
    EXPECT_GT(logoPixels, 5000);
    EXPECT_GT(clearPixels, 5000);
}

TEST(AboutBoxTest, Texts) {
    EXPECT_EQ(TAboutDlg::VersionText(), "1.0.0.0");
    EXPECT_EQ(TAboutDlg::NameLine("Tresselby Application", TAboutDlg::VersionText()),
              "Tresselby Application version 1.0.0.0");
    // Without a version the line keeps its word and space.
    EXPECT_EQ(TAboutDlg::NameLine("Tresselby Application", ""), "Tresselby Application version ");

    TAboutDlg dlg(nullptr);
    EXPECT_EQ(dlg.Title, "");
    EXPECT_EQ(dlg.Copyright, "1996");
    EXPECT_EQ(dlg.WebPage, "https://tresselby.example.org/");
}

TEST(AboutBoxTest, BuildTimeIsTheProgramFilesTimeInTheLocalesFormats) {
    // The running test program gets a known time, and its own back after.
    const QByteArray path = QCoreApplication::applicationFilePath().toLocal8Bit();
    struct stat before {};
    ASSERT_EQ(stat(path.constData(), &before), 0);
    const QDateTime when(QDate(2001, 2, 3), QTime(4, 5, 6));
    const timespec set[2] = {{when.toSecsSinceEpoch(), 0}, {when.toSecsSinceEpoch(), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.constData(), set, 0), 0);
    QDateTime read = TAboutDlg::BuildTime();
    const timespec back[2] = {before.st_atim, before.st_mtim};
    utimensat(AT_FDCWD, path.constData(), back, 0);
    EXPECT_EQ(read, when);

    QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    std::string us = TAboutDlg::TimeStampText(when);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::string de = TAboutDlg::TimeStampText(when);
    QLocale::setDefault(saved);
    const std::string zone = when.timeZoneAbbreviation().toStdString();
    EXPECT_EQ(us, "2/3/01 4:05:06 AM " + zone);
    EXPECT_EQ(de, "03.02.01 04:05:06 " + zone);
}

TEST(AboutBoxTest, ExecuteFillsTheBoxAndOkReturnsTrue) {
    TAboutDlg dlg(nullptr);
    dlg.Title = "Tresselby Application";
    dlg.Copyright = "2026 The Tresselby developers";
    QString name, copyright, stamp, web;
    bool focused = false;
    AnswerModal<TqmAboutBox>([&](TqmAboutBox* box) {
        name = box->ProductName->text();
        copyright = box->Copyright->text();
        stamp = box->TimeStamp->text();
        web = box->WebPage->text();
        focused = box->OKButton->hasFocus();
        tsbtest::Click(box->OKButton);
    });
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(name, "Tresselby Application version 1.0.0.0");
    EXPECT_EQ(copyright, "2026 The Tresselby developers");
    EXPECT_EQ(stamp.toStdString(), TAboutDlg::TimeStampText(TAboutDlg::BuildTime()));
    EXPECT_EQ(web, "https://tresselby.example.org/");
    EXPECT_TRUE(focused);

    // Return presses the default button.
    AnswerModal<TqmAboutBox>([](TqmAboutBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    EXPECT_TRUE(dlg.Execute());
}

TEST(AboutBoxTest, TheCloseBoxAndEscapeReturnFalse) {
    TAboutDlg dlg(nullptr);
    AnswerModal<TqmAboutBox>([](TqmAboutBox* box) {
        QCloseEvent close;
        QApplication::sendEvent(box, &close);
    });
    EXPECT_FALSE(dlg.Execute());
    AnswerModal<TqmAboutBox>([](TqmAboutBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_FALSE(dlg.Execute());
}

TEST(AboutBoxTest, PointingHandOverTheWebPageOnly) {
    TAboutDlg dlg(nullptr);
    std::vector<TCursor> seen;
    TCursor afterClose = crHandPoint;
    AnswerModal<TqmAboutBox>([&](TqmAboutBox* box) {
        QPoint mid(box->WebPage->width() / 2, box->WebPage->height() / 2);
        tsbtest::MouseMove(box->WebPage, mid.x(), mid.y());
        seen.push_back(ScreenCursor());
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
        tsbtest::MouseMove(box->TimeStamp, 5, 5);
        seen.push_back(ScreenCursor());
        tsbtest::MouseMove(box->WebPage, 2, 2);
        tsbtest::MouseMove(box->Panel1, 300, 190);
        seen.push_back(ScreenCursor());
        tsbtest::MouseMove(box->WebPage, 2, 2);
        tsbtest::MouseMove(box->OKButton, 10, 10);
        seen.push_back(ScreenCursor());
        tsbtest::MouseMove(box->WebPage, 2, 2);
        tsbtest::MouseMove(box, 2, 230);
        seen.push_back(ScreenCursor());
        tsbtest::MouseMove(box->Label1, 50, 5);
        seen.push_back(ScreenCursor());
        // Leaving the address straight out of the box.
        tsbtest::MouseMove(box->WebPage, 2, 2);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(box->WebPage, &leave);
        seen.push_back(ScreenCursor());
        // Closing while the hand shows takes it away with the box.
        tsbtest::MouseMove(box->WebPage, 2, 2);
        seen.push_back(ScreenCursor());
        QTest::keyClick(box, Qt::Key_Escape);
    });
    dlg.Execute();
    afterClose = ScreenCursor();
    EXPECT_EQ(seen, (std::vector<TCursor>{crHandPoint, crDefault, crDefault, crDefault, crDefault,
                                          crDefault, crDefault, crHandPoint}));
    EXPECT_EQ(afterClose, crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(AboutBoxTest, ClickingTheWebPageOpensItsAddress) {
    TUrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "Open");
    TAboutDlg dlg(nullptr);
    dlg.WebPage = "https://tresselby.example.org/about";
    AnswerModal<TqmAboutBox>([](TqmAboutBox* box) {
        // A press that leaves the label opens nothing.
        tsbtest::MousePress(box->WebPage, 3, 3);
        tsbtest::MouseRelease(box->WebPage, 3, 40);
        tsbtest::MousePress(box->WebPage, 3, 3);
        tsbtest::MouseRelease(box->WebPage, 4, 4);
        tsbtest::Click(box->OKButton);
    });
    EXPECT_TRUE(dlg.Execute());
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(catcher.Urls.size(), 1);
    EXPECT_EQ(catcher.Urls[0], QUrl("https://tresselby.example.org/about"));
}

TEST(AboutBoxTest, LabelsAndTheButtonAreNamedByTheirTexts) {
    TAboutDlg dlg(nullptr);
    dlg.Title = "Tresselby Application";
    QStringList names;
    AnswerModal<TqmAboutBox>([&](TqmAboutBox* box) {
        for (QWidget* w :
             {static_cast<QWidget*>(box->Label1), static_cast<QWidget*>(box->ProductName),
              static_cast<QWidget*>(box->Label3), static_cast<QWidget*>(box->Copyright),
              static_cast<QWidget*>(box->Label2), static_cast<QWidget*>(box->TimeStamp),
              static_cast<QWidget*>(box->WebPage), static_cast<QWidget*>(box->OKButton),
              box->SpriteBox1->Widget()})
            names << tsbtest::AccessibleName(w);
        tsbtest::Click(box->OKButton);
    });
    dlg.Execute();
    ASSERT_EQ(names.size(), 9);
    EXPECT_EQ(names[0], "Name:");
    EXPECT_EQ(names[1], "Tresselby Application version 1.0.0.0");
    EXPECT_EQ(names[2], "Copyright:");
    EXPECT_EQ(names[3], "1996");
    EXPECT_EQ(names[4], "Build:");
    EXPECT_FALSE(names[5].isEmpty());
    EXPECT_EQ(names[6], "https://tresselby.example.org/");
    EXPECT_EQ(names[7], "OK");
    EXPECT_EQ(names[8], "Logo");
}

#include "AboutBoxTest.moc"
