// File > Export Wiring List…, chosen with the mouse: the dialog's filter, a
// typed name getting ".csv", the file holding the diagram's list, and a
// failed write.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "model/HiddenShape.h"
#include "model/StandardShape.h"
#include "model/WiringList.h"

using namespace tsb;

namespace {

class WiringListExport : public EditorTest {
protected:
    // Chooses the item from the File menu with the mouse; the dialog is
    // answered with the typed name, or cancelled without one.
    void Export(const QString& typed) {
        QMenuBar* bar = Form->Window()->menuBar();
        auto* file = bar->findChild<QMenu*>("File1");
        ASSERT_NE(file, nullptr);
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(file->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
        QAction* item = Form->MenuItem("ExportWiringList1");
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->text(), "Export Wiring List\u2026");
        tsbtest::AnswerModal<QFileDialog>([this, typed](QFileDialog* d) {
            Titles << d->windowTitle();
            Filters << d->nameFilters();
            if (typed.isEmpty()) return d->reject();
            d->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
            QMetaObject::invokeMethod(d, "accept");
        });
        QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(item).center());
    }
    QByteArray Read(const QString& name) const {
        QFile f(Dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray Expected() const {
        const TBytes csv = TWiringList(Form->ScrollBox1).Csv();
        return QByteArray(reinterpret_cast<const char*>(csv.data()), qsizetype(csv.size()));
    }

    QTemporaryDir Dir;
    QStringList Titles;
    QStringList Filters;
};

} // namespace

TEST_F(WiringListExport, WritesTheListUnderANameThatGetsCsv) {
    auto* a = Add<TStandardShape>(40, 40);
    auto* j = Add<THiddenShape>(300, 60);
    tsbtest::AddCaption(Form, a, "Pump", alClient);
    Join<TLineConnector>(a, csRight, j, csLeft);
    Join<TSingleHeadArrow>(j, csBottom, Add<TStandardShape>(300, 300), csTop);

    Export(Dir.filePath("plan"));
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    EXPECT_EQ(Titles, QStringList{"Export Wiring List"});
    EXPECT_EQ(Filters, QStringList{"Wiring list (*.csv)"});
    const QByteArray csv = Read("plan.csv");
    EXPECT_EQ(csv, Expected());
    EXPECT_TRUE(csv.contains("\r\nW2,One-way arrow,Filled,HiddenShape1,,Bottom,"));
    // A typed extension stays; cancelling writes nothing.
    Export(Dir.filePath("plan.txt"));
    EXPECT_EQ(Read("plan.txt"), Expected());
    Export(QString());
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), (QStringList{"plan.csv", "plan.txt"}));
}

TEST_F(WiringListExport, AFailedWriteShowsItsErrorAndWritesNothing) {
    Export(Dir.filePath("missing/plan"));
    EXPECT_EQ(tsbtest::ShownErrors(),
              std::vector<std::string>{"Cannot create file " +
                                       Dir.filePath("missing/plan.csv").toStdString() + "."});
    EXPECT_TRUE(QDir(Dir.path()).isEmpty());
}
