// Saving and opening diagram files: the file is replaced only by a complete
// new one, and a file that cannot be read leaves the work area as it was.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "DiagramTestUtil.h"
#include "StreamTestUtil.h"
#include "core/FileStream.h"
#include "model/DiagramStream.h"

using namespace tsb;
using tsbtest::TDiagram;

namespace {

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

TBytes FileBytes(const std::string& name) {
    return ReadFileBytes(name);
}

} // namespace

TEST(DiagramFile, SaveThenLoadGivesTheSameDiagram) {
    QTemporaryDir dir;
    std::string file = dir.filePath("diagram.tsb").toStdString();
    TDiagram d;
    TTextShape* a = d.AddText("A", "first", 20, 20);
    a->SetCaptionAlign(alRight);
    a->SetCaption(d.AddText("A_Caption", "\xCE\xB1\xCE\xB2", 0, 0));
    TCustomShape::SelectAll(d.Box);
    TCustomShape::SaveToFile(file, d.Box);

    TDiagram opened;
    opened.AddText("Stale", "stale", 1, 1);
    TCustomShape::LoadFromFile(file, opened.Box);
    EXPECT_EQ(opened.State(), d.State());
    EXPECT_EQ(opened.Box->Name(), "ScrollBox1");
}

TEST(DiagramFile, SavingReplacesTheFileWholeAndLeavesNothingBeside) {
    QTemporaryDir dir;
    std::string file = dir.filePath("diagram.tsb").toStdString();
    {
        QFile old(QString::fromStdString(file));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    TDiagram d;
    d.AddText("A", "a", 10, 10)->SetSelected(true);
    TCustomShape::SaveToFile(file, d.Box);
    EXPECT_EQ(FileBytes(file), TDiagramStream::Write(d.Box));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"diagram.tsb"});
}

TEST(DiagramFile, FilesThatCannotBeCreatedOrOpened) {
    QTemporaryDir dir;
    TDiagram d;
    d.AddText("A", "a", 10, 10)->SetSelected(true);
    std::string missingDir = dir.filePath("no/such/folder/x.tsb").toStdString();
    EXPECT_EQ(ErrorOf([&] { TCustomShape::SaveToFile(missingDir, d.Box); }),
              "Cannot create file " + missingDir);
    EXPECT_EQ(ErrorOf([&] { TCustomShape::SaveToFile(dir.path().toStdString(), d.Box); }),
              "Cannot create file " + dir.path().toStdString());

    std::string before = d.State();
    std::string missing = dir.filePath("missing.tsb").toStdString();
    EXPECT_EQ(ErrorOf([&] { TCustomShape::LoadFromFile(missing, d.Box); }),
              "Cannot open file " + missing);
    EXPECT_EQ(ErrorOf([&] { TCustomShape::LoadFromFile(dir.path().toStdString(), d.Box); }),
              "Cannot open file " + dir.path().toStdString());
    EXPECT_EQ(d.State(), before);
}

TEST(DiagramFile, ABrokenFileLeavesTheWorkAreaAndItsBoundsAsTheyWere) {
    QTemporaryDir dir;
    std::string file = dir.filePath("broken.tsb").toStdString();
    TBytes golden = tsbtest::ReadData("caption-only.tsb");
    {
        QFile f(QString::fromStdString(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char*>(golden.data()), 300);
    }
    TDiagram d;
    d.Box->SetBounds(3, 4, 500, 400);
    d.AddText("StandardShape1_Caption", "mine", 5, 5);
    std::string before = d.State();
    EXPECT_EQ(ErrorOf([&] { TCustomShape::LoadFromFile(file, d.Box); }), "Stream read error");
    EXPECT_EQ(d.State(), before);
}
