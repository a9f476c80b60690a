// The preview window, driven by real mouse and key events: opening state,
// navigation, the zoom list and tools, go to page, painting, hints and
// printing from the window.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <gtest/gtest.h>

#include "DialogTestSupport.h"
#include "FakePrinter.h"
#include "TestSupport.h"
#include "controls/LongEdit.h"
#include "preview/DialogWindow.h"
#include "preview/PreviewForm.h"
#include "preview/qmGoPageForm.h"
#include "preview/qmPrinter.h"
#include "widgets/Application.h"
#include "widgets/Screen.h"

using namespace tsb;
using tsbtest::AccessibleName;
using tsbtest::AnswerModal;
using tsbtest::Click;

namespace {

constexpr TColor Colours[] = {clRed, clLime, clBlue};

class Preview : public ::testing::Test {
protected:
    void SetUp() override {
        Engine = std::make_unique<TqmPrinter>(nullptr);
        Engine->BeginPrint = TBeginPrintEvent([this](TComponent*, TPageInfo*& info) {
            Info = std::make_unique<TPageInfo>();
            info = Info.get();
        });
        Engine->PrintPage =
            TPrintPageEvent([this](TComponent*, TPageInfo*& info, TMetafileCanvas& c, TRect) {
                // Each page is its colour all over, with a black frame.
                c.Brush.Color = Colours[(info->PageNumber - 1) % 3];
                c.Pen.Color = clBlack;
                c.Rectangle(0, 0, Engine->PageWidth(), Engine->PageHeight());
                info->LastPage = info->PageNumber >= Pages;
            });
    }
    void TearDown() override { Engine.reset(); }

    // Opens the preview and runs answer on it; the answer closes it, or the
    // test does so afterwards.
    void Open(std::function<void(TPreviewForm*)> answer) {
        AnswerModal<TPreviewForm>([answer](TPreviewForm* form) {
            QTest::qWait(20); // lets the maximised window settle
            answer(form);
            if (form->isVisible()) form->close();
        });
        Engine->Preview();
    }

    // The colour in the middle of what the paint box shows.
    static unsigned ShownColour(TPreviewForm* form) {
        QImage shown = form->PB1->grab().toImage();
        return tsbtest::Px(shown, shown.width() / 2, shown.height() / 2);
    }

    tsbtest::TPrinterScope<> Fake;
    std::unique_ptr<TqmPrinter> Engine;
    std::unique_ptr<TPageInfo> Info;
    int Pages = 1;
};

std::vector<QWidget*> Navigation(TPreviewForm* f) {
    return {f->PrevPageBut, f->PrevPageSpeed, f->FirstPageSpeed,
            f->NextPageBut, f->NextPageSpeed, f->LastPageSpeed};
}

std::vector<bool> Enabled(TPreviewForm* f) {
    std::vector<bool> out;
    for (QWidget* w : Navigation(f))
        out.push_back(w->isEnabled());
    return out;
}

TEST_F(Preview, OnePageOpensAtPageWidthWithNavigationDisabled) {
    int after = 0;
    Engine->AfterPreview = TNotifyEvent([&](TComponent*) { ++after; });
    Open([](TPreviewForm* f) {
        EXPECT_EQ(f->windowTitle(), "Print Preview - []");
        EXPECT_TRUE(f->isMaximized());
        EXPECT_EQ(f->CurPageLabel->text(), "Page 1 of 1");
        EXPECT_EQ(Enabled(f), std::vector<bool>(6, false));
        EXPECT_EQ(f->ComboBox1->currentText(), "Page Width");
        // Worked out as the window first shows; the maximised window may
        // still settle by a few pixels.
        EXPECT_NEAR(f->Zoom(), f->PageWidthZoom(), 0.01);
        EXPECT_EQ(f->BaseWidth(), f->ScrollBox1->width() - 20);
        EXPECT_TRUE(f->ZoomCursorBut->isChecked());
        EXPECT_FALSE(f->HandCursorBut->isChecked());
        EXPECT_FALSE(f->AboutBut->isVisible());
        EXPECT_EQ(f->PB1->cursor().pixmap().toImage(),
                  Screen().Cursor(crZoomTool).pixmap().toImage());
        EXPECT_EQ(f->PB1->cursor().hotSpot(), QPoint(6, 6));
        EXPECT_EQ(ShownColour(f), 0xFF0000u);
        // Every control has a name for assistive tools; the labels expose
        // their text.
        for (QWidget* w : f->findChildren<QWidget*>()) {
            if (w->objectName().isEmpty() || w->objectName().startsWith("qt_")) continue;
            EXPECT_FALSE(AccessibleName(w).isEmpty()) << w->objectName().toStdString();
        }
        EXPECT_EQ(AccessibleName(f->CurPageLabel), "Page 1 of 1");
        EXPECT_EQ(AccessibleName(f->ZoomLabel), f->ZoomLabel->text());
        EXPECT_EQ(AccessibleName(f->HintLabel), f->HintLabel->text());
        EXPECT_EQ(AccessibleName(f->PrintBut), "Print");
        EXPECT_EQ(AccessibleName(f->FirstPageSpeed), "Go to First Page in Document");
        // Esc closes the window.
        QTest::keyClick(f, Qt::Key_Escape);
        EXPECT_FALSE(f->isVisible());
    });
    EXPECT_EQ(after, 1);
    EXPECT_EQ(Engine->State(), qsReady);
}

TEST_F(Preview, NavigationOnPagesOneAndThreeOfThree) {
    Pages = 3;
    Open([](TPreviewForm* f) {
        EXPECT_EQ(Enabled(f), (std::vector<bool>{false, false, false, true, true, true}));
        Click(f->NextPageBut);
        Click(f->NextPageSpeed);
        EXPECT_EQ(f->CurPageLabel->text(), "Page 3 of 3");
        EXPECT_EQ(Enabled(f), (std::vector<bool>{true, true, true, false, false, false}));
        EXPECT_EQ(ShownColour(f), 0x0000FFu);
        Click(f->FirstPageSpeed);
        EXPECT_EQ(f->ShownPage(), 1);
        Click(f->LastPageSpeed);
        EXPECT_EQ(f->ShownPage(), 3);
        Click(f->PrevPageSpeed);
        EXPECT_EQ(f->ShownPage(), 2);
        EXPECT_EQ(ShownColour(f), 0x00FF00u);
        Click(f->PrevPageBut);
        EXPECT_EQ(f->ShownPage(), 1);
        EXPECT_EQ(ShownColour(f), 0xFF0000u);
    });
}

// A click with the zoom tool in the middle of the paint box.
void ZoomClick(TPreviewForm* f, Qt::MouseButton button) {
    QPoint at = f->PB1->rect().center();
    QTest::mouseClick(f->PB1, button, Qt::KeyboardModifiers(), at);
}

TEST_F(Preview, ZoomToolStepsThroughTheListAndStopsAtBothEnds) {
    Open([](TPreviewForm* f) {
        for (int i = 0; i < 4; ++i)
            ZoomClick(f, Qt::LeftButton);
        EXPECT_EQ(f->ComboBox1->currentText(), "500 %");
        EXPECT_EQ(f->ZoomLabel->text(), "Zoom = 500%");
        ZoomClick(f, Qt::LeftButton);
        EXPECT_EQ(f->ComboBox1->currentText(), "500 %");
        EXPECT_EQ(f->Zoom(), 5.0f);

        for (int i = 0; i < 7; ++i)
            ZoomClick(f, Qt::RightButton);
        EXPECT_EQ(f->ComboBox1->currentText(), "25%");
        EXPECT_EQ(f->ZoomLabel->text(), "Zoom = 25%");
        ZoomClick(f, Qt::RightButton);
        EXPECT_EQ(f->ComboBox1->currentText(), "25%");

        ZoomClick(f, Qt::LeftButton);
        EXPECT_EQ(f->ComboBox1->currentText(), "40 %");
        EXPECT_EQ(f->ZoomLabel->text(), "Zoom = 40%");
        ZoomClick(f, Qt::LeftButton);
        EXPECT_EQ(f->ComboBox1->currentText(), "Fit Page");
        EXPECT_EQ(f->Zoom(), f->FitPageZoom());
        ZoomClick(f, Qt::LeftButton);
        EXPECT_EQ(f->ComboBox1->currentText(), "Page Width");
        EXPECT_EQ(f->Zoom(), f->PageWidthZoom());
    });
}

TEST_F(Preview, ZoomingInBringsTheClickedPointToTheMiddle) {
    Open([](TPreviewForm* f) {
        ZoomClick(f, Qt::LeftButton); // 100 %
        ZoomClick(f, Qt::LeftButton); // 200 %
        int oldWidth = f->PagePanel->width(), oldHeight = f->PagePanel->height();
        QPoint at(oldWidth / 4, oldHeight / 3);
        QTest::mouseClick(f->PB1, Qt::LeftButton, Qt::KeyboardModifiers(), at);
        EXPECT_EQ(f->ComboBox1->currentText(), "300 %");
        float fx = float(at.x()) / float(oldWidth), fy = float(at.y()) / float(oldHeight);
        EXPECT_EQ(f->ScrollBox1->horizontalScrollBar()->value(),
                  int(float(f->PagePanel->width()) * fx) - f->ScrollBox1->width() / 2);
        EXPECT_EQ(f->ScrollBox1->verticalScrollBar()->value(),
                  int(float(f->PagePanel->height()) * fy) - f->ScrollBox1->height() / 2);
    });
}

TEST_F(Preview, HandToolDragMovesTheViewWithTheMouse) {
    Open([](TPreviewForm* f) {
        for (int i = 0; i < 4; ++i)
            ZoomClick(f, Qt::LeftButton);
        Click(f->HandCursorBut);
        EXPECT_TRUE(f->HandCursorBut->isChecked());
        EXPECT_FALSE(f->ZoomCursorBut->isChecked());
        EXPECT_EQ(f->PB1->cursor().pixmap().toImage(),
                  Screen().Cursor(crHandTool).pixmap().toImage());
        QScrollBar* h = f->ScrollBox1->horizontalScrollBar();
        QScrollBar* v = f->ScrollBox1->verticalScrollBar();
        h->setValue(500);
        v->setValue(400);
        // The mouse at fixed screen points; the paint box moves under it.
        QPoint start = f->PB1->mapToGlobal(QPoint(900, 800));
        auto at = [f](QPoint global) { return f->PB1->mapFromGlobal(global); };
        tsbtest::MousePress(f->PB1, at(start).x(), at(start).y());
        QPoint right = start + QPoint(30, 0);
        tsbtest::MouseMove(f->PB1, at(right).x(), at(right).y(), Qt::LeftButton);
        EXPECT_EQ(h->value(), 470);
        EXPECT_EQ(v->value(), 400);
        EXPECT_EQ(at(right), QPoint(900, 800)) << "the grabbed point stays under the mouse";
        QPoint up = right + QPoint(0, -10);
        tsbtest::MouseMove(f->PB1, at(up).x(), at(up).y(), Qt::LeftButton);
        EXPECT_EQ(h->value(), 470);
        EXPECT_EQ(v->value(), 410);
        tsbtest::MouseRelease(f->PB1, at(up).x(), at(up).y());
        QPoint away = up + QPoint(60, 0);
        tsbtest::MouseMove(f->PB1, at(away).x(), at(away).y());
        EXPECT_EQ(h->value(), 470) << "no drag after the release";
        // The zoom does not change with the hand tool.
        EXPECT_EQ(f->ComboBox1->currentText(), "500 %");
    });
}

TEST_F(Preview, GoToPageDialog) {
    Pages = 3;
    Open([this](TPreviewForm* f) {
        Click(f->NextPageBut);
        // Leaving the edit with 0 gives 1, with a beep; Ok then goes there.
        int beeps = Application().BeepCount;
        AnswerModal<TDialogWindow>([](TDialogWindow* d) {
            auto* edit = d->findChild<TLongEdit*>("PageEdit");
            EXPECT_EQ(d->windowTitle(), "Go To Page");
            EXPECT_EQ(edit->text(), "2");
            EXPECT_EQ(edit->selectedText(), "2");
            EXPECT_EQ(d->findChild<QLabel*>("CountLabel")->text(), "3");
            QTest::keyClicks(edit, "0");
            QTest::keyClick(edit, Qt::Key_Tab);
            QTest::qWait(10);
            EXPECT_EQ(edit->text(), "1");
            EXPECT_TRUE(edit->hasFocus());
            Click(d->findChild<QPushButton*>("OkButton"));
        });
        Click(f->PageNumSpeed);
        EXPECT_EQ(Application().BeepCount, beeps + 1);
        EXPECT_EQ(f->ShownPage(), 1);

        // 4 of 3 becomes 3; Ok keeps the dialog open to show it first.
        bool stayedOpen = false;
        AnswerModal<TDialogWindow>([&](TDialogWindow* d) {
            auto* edit = d->findChild<TLongEdit*>("PageEdit");
            QTest::keyClicks(edit, "4");
            auto* ok = d->findChild<QPushButton*>("OkButton");
            Click(ok);
            stayedOpen = d->isVisible();
            EXPECT_EQ(edit->text(), "3");
            Click(ok);
        });
        Click(f->PageNumSpeed);
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(f->ShownPage(), 3);
        EXPECT_EQ(ShownColour(f), 0x0000FFu);

        // Cancel leaves the page.
        AnswerModal<TDialogWindow>([](TDialogWindow* d) {
            QTest::keyClicks(d->findChild<TLongEdit*>("PageEdit"), "1");
            Click(d->findChild<QPushButton*>("CancelButton"));
        });
        Click(f->PageNumSpeed);
        EXPECT_EQ(f->ShownPage(), 3);
        EXPECT_EQ(Engine->CurrentPage(), 3);
    });
}

TEST_F(Preview, GoToPageBeyondASinglePageStaysOnIt) {
    // With one page the entry's bounds are equal, which means no range: the
    // number typed gets through the dialog.
    Open([](TPreviewForm* f) {
        for (const char* typed : {"5", "-3", "0"}) {
            AnswerModal<TDialogWindow>([typed](TDialogWindow* d) {
                auto* edit = d->findChild<TLongEdit*>("PageEdit");
                QTest::keyClicks(edit, typed);
                Click(d->findChild<QPushButton*>("OkButton"));
            });
            Click(f->PageNumSpeed);
            EXPECT_EQ(f->ShownPage(), 1) << typed;
            EXPECT_EQ(f->CurPageLabel->text(), "Page 1 of 1");
            EXPECT_EQ(Enabled(f), std::vector<bool>(6, false));
        }
    });
}

TEST_F(Preview, RestoredTheWindowIsItsLayoutsSizeAndPlace) {
    Open([](TPreviewForm* f) {
        EXPECT_TRUE(f->isMaximized());
        EXPECT_EQ(f->normalGeometry(), QRect(264, 139, 530, 420));
        f->showNormal();
        QTest::qWait(20);
        EXPECT_EQ(f->geometry(), QRect(264, 139, 530, 420));
    });
}

TEST_F(Preview, PageAtOneHundredPercentIsTheRecordingStretchedOverThePaintBox) {
    Open([this](TPreviewForm* f) {
        f->ComboBox1->setFocus();
        QTest::keyClick(f->ComboBox1, Qt::Key_Up);
        EXPECT_EQ(f->ComboBox1->currentText(), "100 %");
        EXPECT_EQ(f->ZoomLabel->text(), "Zoom = 100%");
        EXPECT_EQ(f->PagePanel->width(), f->BaseWidth());
        QImage shown = f->PB1->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage expected(f->PB1->size(), QImage::Format_RGB32);
        QPainter painter(&expected);
        Engine->SelectedPage()->Play(painter, expected.rect());
        painter.end();
        EXPECT_EQ(tsbtest::Differences(shown, expected), "");
    });
}

TEST_F(Preview, LayoutFollowsTheWindowAndCentresASmallPage) {
    Open([](TPreviewForm* f) {
        for (int i = 0; i < 3; ++i)
            ZoomClick(f, Qt::RightButton);
        EXPECT_EQ(f->ComboBox1->currentText(), "25%");
        // A small page sits in the middle without a horizontal scroll bar.
        int container = f->ContainPanel->width();
        EXPECT_EQ(container, f->ScrollBox1->width() - 1);
        EXPECT_EQ(f->PagePanel->x(), container / 2 - f->PagePanel->width() / 2);
        EXPECT_EQ(f->ScrollBox1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

        // A narrower window makes the page smaller at the same zoom.
        QString label = f->ZoomLabel->text();
        int width = f->PagePanel->width();
        f->showNormal();
        f->resize(600, 400);
        QTest::qWait(20);
        EXPECT_EQ(f->BaseWidth(), f->ScrollBox1->width() - 20);
        EXPECT_LT(f->PagePanel->width(), width);
        EXPECT_EQ(f->PagePanel->width(), qRound(float(f->BaseWidth()) * 0.25f));
        EXPECT_EQ(f->ZoomLabel->text(), label);

        // A lower window of the same width: the page stays in the middle of
        // the height it now has.
        const int base = f->BaseWidth();
        f->resize(f->width(), f->height() - 100);
        QTest::qWait(20);
        ASSERT_EQ(f->BaseWidth(), base);
        EXPECT_EQ(f->ContainPanel->height(), f->ScrollBox1->height() - 1);
        EXPECT_EQ(f->PagePanel->y(),
                  (f->ScrollBox1->height() - 1) / 2 - f->PagePanel->height() / 2);
    });
}

// A printer whose margins take the whole sheet across or down.
class TNoAreaPrinter : public tsbtest::TFakePrinter {
public:
    void Squeeze(bool across) {
        QPrinter& printer = QtPrinter();
        QPageLayout layout = printer.pageLayout();
        const QMarginsF most = layout.maximumMargins();
        QMarginsF margins = layout.margins();
        if (across)
            margins.setLeft(most.left());
        else
            margins.setTop(most.top());
        layout.setMargins(margins);
        printer.setPageLayout(layout);
    }
};

TEST(PreviewZoom, APrintableAreaWithoutWidthOrHeightShowsAtOneHundredPercent) {
    tsbtest::TPrinterScope<TNoAreaPrinter> printer;
    for (bool across : {true, false}) {
        TqmPrinter engine(nullptr);
        engine.SetOrientation(poLandscape);
        printer->Squeeze(across);
        std::unique_ptr<TPageInfo> info;
        engine.BeginPrint = TBeginPrintEvent([&](TComponent*, TPageInfo*& i) {
            info = std::make_unique<TPageInfo>();
            i = info.get();
        });
        engine.PrintPage = TPrintPageEvent(
            [](TComponent*, TPageInfo*& i, TMetafileCanvas&, TRect) { i->LastPage = true; });
        AnswerModal<TPreviewForm>([&](TPreviewForm* f) {
            EXPECT_EQ(across ? engine.PageWidth() : engine.PageHeight(), 0);
            EXPECT_TRUE(std::isfinite(f->PageWidthZoom()));
            EXPECT_TRUE(std::isfinite(f->FitPageZoom()));
            EXPECT_EQ(across ? f->PageWidthZoom() : f->FitPageZoom(), 1.0f);
            f->ComboBox1->setFocus();
            QTest::keyClick(f->ComboBox1, Qt::Key_Down); // "Fit Page"
            EXPECT_EQ(f->ComboBox1->currentText(), "Fit Page");
            EXPECT_TRUE(f->ZoomLabel->text().contains(QRegularExpression("^Zoom = -?[0-9]+%$")))
                << f->ZoomLabel->text().toStdString();
            f->close();
        });
        engine.Preview();
    }
}

TEST_F(Preview, HintLabelShowsItsNameUntilTheFirstHint) {
    TPreviewForm form(Engine.get());
    EXPECT_EQ(form.HintLabel->text(), "HintLabel");
    EXPECT_EQ(form.windowTitle(), "Print Preview");
}

TEST_F(Preview, HintsGoToTheHintLabelWhileOpen) {
    std::vector<std::string> outside;
    Application().SetHint({});
    Application().OnHint = [&](const std::string& h) { outside.push_back(h); };
    Open([](TPreviewForm* f) {
        tsbtest::MouseMove(f->PrintBut, 5, 5);
        EXPECT_EQ(f->HintLabel->text(), "Print the Current Document");
        EXPECT_EQ(AccessibleName(f->HintLabel), "Print the Current Document");
        tsbtest::MouseMove(f->PB1, 5, 5);
        // The label shows the hint's "&&" as one ampersand.
        EXPECT_EQ(f->HintLabel->text().toStdString(),
                  "With Zoom Tool, left or right click to zoom in/out.  Click & drag with Hand "
                  "Tool to pan.");
        tsbtest::MouseMove(f->LastPageSpeed, 3, 3);
        EXPECT_EQ(f->HintLabel->text(), "Go to Last Page in Document");
    });
    EXPECT_EQ(outside, std::vector<std::string>{}) << "the old handler rests while open";
    Application().SetHint("after");
    EXPECT_EQ(outside, std::vector<std::string>{"after"});
    Application().OnHint = nullptr;
}

TEST_F(Preview, PrintButtonPrintsAndTheWindowStaysOnItsPage) {
    Pages = 3;
    Open([this](TPreviewForm* f) {
        Click(f->NextPageBut);
        Click(f->PrintBut);
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(f->ShownPage(), 2);
        EXPECT_EQ(Engine->CurrentPage(), 2);
        EXPECT_EQ(ShownColour(f), 0x00FF00u);
    });
    ASSERT_EQ(Fake->Jobs.size(), 1u);
    std::vector<QImage> pages = tsbtest::RenderPdf(Fake->Jobs[0]);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(tsbtest::Px(pages[2], 400, 500), 0x0000FFu);
}

TEST_F(Preview, PrintFailureIsShownAndTheWindowStays) {
    tsbtest::ShownErrors().clear();
    Fake->Refuse = true;
    Open([](TPreviewForm* f) {
        Click(f->PrintBut);
        EXPECT_TRUE(f->isVisible());
    });
    EXPECT_EQ(tsbtest::ShownErrors(),
              std::vector<std::string>{"Printer Office did not take the job: offline."});
    EXPECT_TRUE(Fake->Jobs.empty());
    EXPECT_FALSE(tsb::Printer().Printing());
}

} // namespace
