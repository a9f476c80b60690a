// The running program at start: a connection dialog that cannot be made
// takes the main window with it, and a printer whose settings cannot be read
// is reported without ending the program.
#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/Exception.h"
#include "editor/MainForm.h"
#include "editor/Program.h"
#include "preview/FakePrinter.h"
#include "preview/qmPrinter.h"
#include "widgets/Application.h"

using namespace tsb;

namespace {

int MainWindows() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "MainForm") ++count;
    return count;
}

// The program changes application-wide settings; the other tests of the run
// get theirs back.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { tsbtest::ShownErrors().clear(); }
    void TearDown() override {
        QApplication::setFont(FFont);
        Application().Title = FTitle;
    }

private:
    QFont FFont = QApplication::font();
    std::string FTitle = Application().Title;
};

} // namespace

TEST_F(ProgramTest, AConnectionDialogThatFailsTakesTheMainWindowWithIt) {
    const int before = MainWindows();
    EXPECT_THROW(TProgram("", [] { throw Exception("Out of resources"); }), Exception);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MainWindows(), before);
}

TEST_F(ProgramTest, APrinterWithoutSettingsIsReportedOnceTheWindowIsUp) {
    tsbtest::TPrinterScope<> printer;
    printer->HasSettings = false;
    TProgram program;
    EXPECT_TRUE(program.MainForm()->Window()->isVisible());
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    QApplication::processEvents();
    EXPECT_EQ(tsbtest::ShownErrors(), std::vector<std::string>{"Printer driver error."});
    // The engine keeps its page, a portrait one.
    EXPECT_LT(program.MainForm()->qmPrinter1->PageWidth(),
              program.MainForm()->qmPrinter1->PageHeight());
}
