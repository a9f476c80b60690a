// Exports a user can trust: the typed extension picks the format under any
// filter, a page too wide for JPEG still exports to the other formats, and
// a long export shows a progress window whose Cancel leaves the target as it
// was, with no file left behind. Runs offscreen and, by its script, under
// Xvfb.
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/ProgressWindow.h"

using namespace tsb;
using tsbtest::AccessibleName;
using tsbtest::ReadFile;

namespace {

class ExportProgress : public EditorTest {
protected:
    // Exports through the dialog with the JPEG filter it opens with and the
    // typed name; `answered` runs once the dialog is accepted.
    void Export(const QString& typed, std::function<void()> answered = {}) {
        tsbtest::AnswerModal<QFileDialog>([typed, answered](QFileDialog* d) {
            EXPECT_EQ(d->selectedNameFilter(), "Image files (*.jpg *.jpeg)");
            d->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
            QMetaObject::invokeMethod(d, "accept");
            if (answered) answered();
        });
        Form->ExportBtn->click();
    }
    QString Path(const QString& name) const { return Dir.filePath(name); }
    QTemporaryDir Dir;
};

} // namespace

TEST_F(ExportProgress, TheTypedExtensionPicksTheFormatUnderTheJpegFilter) {
    Add<TStandardShape>(100, 100);
    Export(Path("x.png"));
    Export(Path("x.PDF"));
    Export(Path("x.svg"));
    Export(Path("x.jpeg"));
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    EXPECT_TRUE(ReadFile(Path("x.png")).startsWith("\x89PNG\r\n"));
    EXPECT_TRUE(ReadFile(Path("x.PDF")).startsWith("%PDF-"));
    EXPECT_TRUE(ReadFile(Path("x.svg")).startsWith("<?xml"));
    EXPECT_TRUE(ReadFile(Path("x.jpeg")).startsWith("\xFF\xD8\xFF"));
    EXPECT_FALSE(QFile::exists(Path("x.png.jpg")));
}

TEST_F(ExportProgress, APageTooWideForJpegExportsToEveryOtherFormat) {
    Form->ScrollBox1->SetBounds(40, 30, 70000, 600);
    Add<TStandardShape>(69800, 400);
    Export(Path("wide.png"));
    Export(Path("wide.pdf"));
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    const QByteArray png = ReadFile(Path("wide.png"));
    ASSERT_TRUE(png.startsWith("\x89PNG\r\n"));
    EXPECT_EQ(png.mid(16, 8), QByteArray("\x00\x01\x11\x70\x00\x00\x02\x58", 8)); // 70,000 x 600
    EXPECT_TRUE(ReadFile(Path("wide.pdf")).startsWith("%PDF-"));
    // JPEG alone is refused, with the encoder's message, and writes nothing.
    Export(Path("wide.jpg"));
    EXPECT_EQ(tsbtest::ShownErrors(), std::vector<std::string>{"JPEG image is too large."});
    EXPECT_FALSE(QFile::exists(Path("wide.jpg")));
}

TEST_F(ExportProgress, CancelInTheProgressWindowLeavesTheTargetAsItWas) {
    // Too wide for JPEG, so the dialog comes at once; its PNG takes seconds.
    Form->ScrollBox1->SetBounds(40, 30, 70000, 8000);
    Add<TStandardShape>(100, 100);
    QFile target(Path("plan.png"));
    ASSERT_TRUE(target.open(QIODevice::WriteOnly));
    target.write("keep");
    target.close();

    bool exporting = false, checked = false;
    int paints = 0, paintsWhenShown = -1;
    struct TPaintCounter : QObject {
        int* Count;
        explicit TPaintCounter(int* count) : Count(count) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++*Count;
            return false;
        }
    } counter(&paints);
    Work()->installEventFilter(&counter);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!exporting) return;
        QDialog* window = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "ProgressWindow" && w->isVisible())
                window = qobject_cast<QDialog*>(w);
        if (!window) return;
        if (paintsWhenShown < 0) {
            // What is being done, readable by a screen reader.
            EXPECT_EQ(window->windowTitle(), "Exporting plan.png");
            EXPECT_EQ(AccessibleName(window->findChild<QLabel*>("ProgressLabel")),
                      "Exporting plan.png");
            EXPECT_EQ(AccessibleName(window->findChild<QProgressBar*>("ProgressBar")), "Progress");
            EXPECT_EQ(AccessibleName(window->findChild<QPushButton*>("CancelBtn")), "Cancel");
            paintsWhenShown = paints;
            Work()->update(); // the main window still paints
            return;
        }
        if (paints == paintsWhenShown) return;
        checked = true;
        tsbtest::Click(window->findChild<QPushButton*>("CancelBtn"));
    });
    poll.start(20);
    Export(Path("plan.png"), [&] { exporting = true; });
    poll.stop();
    Work()->removeEventFilter(&counter);
    EXPECT_TRUE(checked) << "the progress window did not show or the work area did not paint";
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    EXPECT_EQ(ReadFile(Path("plan.png")), "keep");
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plan.png"});
}

TEST_F(ExportProgress, ShortWorkShowsNoWindowAndCancelStopsAtTheNextStep) {
    TProgressWindow quick(Form->Window(), "Saving");
    for (int i = 0; i < 100; ++i)
        quick.Step(i, 100);
    EXPECT_EQ(quick.Window(), nullptr);

    TProgressWindow slow(Form->Window(), "Opening big.tsb");
    QTest::qWait(TProgressWindow::ShowAfterMs + 10);
    slow.Step(1, 4);
    ASSERT_NE(slow.Window(), nullptr);
    EXPECT_EQ(slow.Window()->findChild<QProgressBar*>("ProgressBar")->value(), 250);
    EXPECT_TRUE(slow.Window()->isModal());
    slow.Window()->reject(); // closing it cancels too
    EXPECT_THROW(slow.Step(2, 4), ECancelled);
}
