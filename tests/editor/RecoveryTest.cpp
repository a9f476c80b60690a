// Recovery copies of unsaved changes: written when idle and atomically,
// gone once saved or undone back to the saved state, kept when the window
// closes, offered and opened again, one folder for each editor, rotated at
// twenty, and a folder that cannot be written reported once without a box.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "UndoSupport.h"
#include "editor/DiagramHistory.h"
#include "editor/RecoverForm.h"
#include "editor/Recovery.h"
#include "model/DiagramStream.h"
#include "model/StandardShape.h"

using namespace tsb;

namespace {

struct Recovery : EditorTest {
    QTemporaryDir State;
    QString Root() const { return State.filePath("recovery"); }
    void SetUp() override {
        EditorTest::SetUp();
        Form->EnableRecovery(Root());
        Form->Recovery()->SetIdleMs(50);
    }
    // The copies on disk, in every folder (each has its name file beside
    // it).
    QStringList Copies() const {
        QStringList out;
        for (const QFileInfo& d : QDir(Root()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
            for (const QFileInfo& f : QDir(d.filePath()).entryInfoList({"*.tsb"}, QDir::Files))
                out << d.fileName() + "/" + f.fileName();
        return out;
    }
    // Lets the idle write happen and finish.
    void Idle() {
        QTest::qWait(150);
        Form->Recovery()->WriteNow();
        QApplication::processEvents();
    }
    QByteArray Read(const QString& path) {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
};

} // namespace

TEST_F(Recovery, ACopyFollowsUnsavedChangesAndGoesWhenSavedOrUndone) {
    Idle();
    EXPECT_TRUE(Copies().isEmpty()) << "nothing unsaved, nothing written";
    Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    EXPECT_TRUE(Copies().isEmpty()) << "not before the editor is idle";
    Idle();
    QString copy = Form->Recovery()->CurrentCopyIfAny();
    ASSERT_EQ(Copies().size(), 1) << Copies().join(" ").toStdString();
    QByteArray bytes = Read(copy);
    tsb::TBytes all = TDiagramStream::WriteAll(Form->ScrollBox1);
    EXPECT_EQ(bytes, QByteArray(reinterpret_cast<const char*>(all.data()), qsizetype(all.size())));

    // Undone back to the opened state: the copy goes.
    Form->History().Undo();
    Idle();
    EXPECT_TRUE(Copies().isEmpty()) << Copies().join(" ").toStdString();
    Form->History().Redo();
    Idle();
    EXPECT_EQ(Copies().size(), 1);
    auto save = tsbtest::OnModal<QFileDialog>([&](QFileDialog* d) {
        d->findChild<QLineEdit*>("fileNameEdit")->setText(State.filePath("saved.tsb"));
        static_cast<QDialog*>(d)->accept();
    });
    Form->SaveActionExecute();
    save.reset();
    Idle();
    EXPECT_TRUE(Copies().isEmpty()) << Copies().join(" ").toStdString();
}

TEST_F(Recovery, NoCopyIsWrittenWhileAFileIsBeingRead) {
    // An open lets the event loop run while it reads: the diagram is half
    // made then, and a copy of it would stand for work that never was.
    Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    {
        TDiagramHistory::TQuiet reading(Form->History());
        QTest::qWait(150);
        EXPECT_TRUE(Copies().isEmpty()) << Copies().join(" ").toStdString();
    }
    QTest::qWait(400);
    EXPECT_EQ(Copies().size(), 1);
}

TEST_F(Recovery, AClosedWindowsCopyIsOfferedAndOpensAsTheUnsavedDiagram) {
    Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    Place<TStandardShape>(Form->ShapeBtn, 300, 40)->SetSelected(true);
    tsb::TBytes expected = tsbtest::SavedBytes(Form);
    delete Form;
    Form = new TMainForm;
    Form->EnableRecovery(Root());
    Form->Recovery()->SetIdleMs(50);
    ASSERT_EQ(Copies().size(), 1) << "kept when the window closed";
    QString name, count;
    auto open = tsbtest::OnModal<TRecoverDlg>([&](TRecoverDlg* d) {
        ASSERT_EQ(d->CopyList->topLevelItemCount(), 1);
        name = d->CopyList->topLevelItem(0)->text(0);
        count = d->CopyList->topLevelItem(0)->text(2);
        d->OpenBtn->click();
    });
    Form->OfferRecoveredCopies();
    open.reset();
    EXPECT_EQ(name, "Untitled");
    EXPECT_EQ(count, "4");
    EXPECT_EQ(tsbtest::SavedBytes(Form), expected);
    EXPECT_TRUE(Form->History().Modified());
    // The copy moved into this window's folder.
    EXPECT_EQ(Copies().size(), 1);
    EXPECT_EQ(QFileInfo(Form->Recovery()->CurrentCopyIfAny()).exists(), true);
}

TEST_F(Recovery, SaveOffersTheNameTheRecoveredDiagramHad) {
    QString file = State.filePath("plan.tsb");
    Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    TCustomShape::SelectAll(Form->ScrollBox1);
    TCustomShape::SaveToFile(file.toStdString(), Form->ScrollBox1);
    Form->OpenFile(file.toStdString());
    Place<TStandardShape>(Form->ShapeBtn, 300, 40);
    delete Form;
    Form = new TMainForm;
    Form->EnableRecovery(Root());
    Form->Recovery()->SetIdleMs(50);
    QString name, offered;
    auto open = tsbtest::OnModal<TRecoverDlg>([&](TRecoverDlg* d) {
        name = d->CopyList->topLevelItem(0)->text(0);
        d->OpenBtn->click();
    });
    Form->OfferRecoveredCopies();
    open.reset();
    EXPECT_EQ(name, "plan.tsb");
    EXPECT_EQ(All<TStandardShape>().size(), 2u);
    auto save = tsbtest::OnModal<QFileDialog>([&](QFileDialog* d) {
        offered = d->selectedFiles().value(0);
        d->reject();
    });
    Form->SaveActionExecute();
    save.reset();
    EXPECT_EQ(offered, file);
}

TEST_F(Recovery, TwoEditorsKeepCopiesOfTheirOwn) {
    TMainForm other;
    other.EnableRecovery(Root());
    other.Recovery()->SetIdleMs(50);
    Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    other.HiddenBtn->click();
    other.ScrollBox1MouseDown(nullptr, mbLeft, TShiftState(), 100, 100);
    Idle();
    other.Recovery()->WriteNow();
    QStringList copies = Copies();
    ASSERT_EQ(copies.size(), 2) << copies.join(" ").toStdString();
    EXPECT_NE(copies[0].section('/', 0, 0), copies[1].section('/', 0, 0));
    // A running editor's copy is its own: neither lists the other's.
    EXPECT_TRUE(Form->Recovery()->Store().List(Form->Recovery()->CurrentCopyIfAny()).empty());
    Form->Recovery()->Store().LetGo();
}

TEST_F(Recovery, AFolderThatCannotBeWrittenIsReportedOnceWithoutABox) {
    QDir().mkpath(State.path());
    // A file where the folder should be.
    QFile blocker(Root());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    Idle();
    std::string report = Form->StatusText(0);
    EXPECT_EQ(report.rfind("Unsaved changes cannot be kept for recovery: ", 0), 0u) << report;
    EXPECT_FALSE(Form->Recovery()->Failure().empty());
    Form->SetStatusText(0, "");
    Place<TStandardShape>(Form->ShapeBtn, 300, 40);
    Idle();
    EXPECT_EQ(Form->StatusText(0), "") << "reported once";
    EXPECT_TRUE(tsbtest::ShownErrors().empty());
    // Once the folder can be made, the copy is written.
    ASSERT_TRUE(QFile::remove(Root()));
    Place<TStandardShape>(Form->ShapeBtn, 40, 300);
    Idle();
    EXPECT_EQ(Copies().size(), 1);
    EXPECT_TRUE(Form->Recovery()->Failure().empty());
}

TEST_F(Recovery, CopiesAreRotatedAtTwenty) {
    for (int i = 0; i < 24; ++i) {
        Place<TStandardShape>(Form->ShapeBtn, 40 + i, 40);
        Form->NewActionExecute();
    }
    EXPECT_EQ(Copies().size(), TRecoveryStore::MaxCopies);
    std::vector<TRecoveryCopy> listed = Form->Recovery()->Store().List();
    Form->Recovery()->Store().LetGo();
    ASSERT_EQ(listed.size(), std::size_t(TRecoveryStore::MaxCopies));
    // The newest stay.
    EXPECT_TRUE(listed.front().Path.endsWith("/24.tsb")) << listed.front().Path.toStdString();
    EXPECT_FALSE(QFile::exists(QFileInfo(listed.front().Path).path() + "/1.tsb"));
}

TEST_F(Recovery, ACopyThatCannotBeReadIsListedWithItsErrorAndCanGo) {
    QString folder = Root() + "/editor-crashed";
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile broken(folder + "/1.tsb");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x0aTScrollBox\x00\x04Left\x02", 19);
    broken.close();
    std::string error;
    bool canOpen = true, shownWhole = false;
    auto answer = tsbtest::OnModal<TRecoverDlg>([&](TRecoverDlg* d) {
        error = d->CopyList->topLevelItem(0)->text(2).toStdString();
        canOpen = d->OpenBtn->isEnabled();
        // The time and the error show whole.
        const QFontMetrics metrics(d->CopyList->font());
        shownWhole = true;
        for (int column : {1, 2})
            shownWhole &= d->CopyList->columnWidth(column) >=
                          metrics.horizontalAdvance(d->CopyList->topLevelItem(0)->text(column));
        d->DeleteBtn->click();
        d->LaterBtn->click();
    });
    Form->OfferRecoveredCopies();
    answer.reset();
    EXPECT_EQ(error, "Stream read error");
    EXPECT_TRUE(shownWhole);
    EXPECT_FALSE(canOpen);
    EXPECT_TRUE(Copies().isEmpty()) << Copies().join(" ").toStdString();
    EXPECT_FALSE(QDir(folder).exists());
}

TEST_F(Recovery, TheFileMenuShowsTheListAtAnyTime) {
    QAction* item = Form->MenuItem("RecoverUnsaved1");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QString::fromUtf8("Recover Unsaved Diagrams\u2026"));
    Place<TStandardShape>(Form->ShapeBtn, 40, 40);
    Form->NewActionExecute();
    int listed = -1;
    auto later = tsbtest::OnModal<TRecoverDlg>([&](TRecoverDlg* d) {
        EXPECT_EQ(d->windowTitle(), "Recover Unsaved Diagrams");
        listed = d->CopyList->topLevelItemCount();
        d->LaterBtn->click();
    });
    item->trigger();
    later.reset();
    // The diagram New replaced, kept; Later keeps it.
    EXPECT_EQ(listed, 1);
    EXPECT_EQ(Copies().size(), 1);
}
