// Reading and writing a diagram with a progress object: steps element by
// element; a read stopped at a step leaves the work area as it was, a save
// stopped at a step leaves the file as it was.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "DiagramTestUtil.h"
#include "model/CustomShape.h"

using namespace tsb;

namespace {

// Counts the steps; raises ECancelled at step `stopAt`.
struct TCounting : TProgress {
    int StopAt = -1;
    int Steps = 0;
    std::int64_t Last = -1;
    bool Rising = true;
    void Step(std::int64_t done, std::int64_t total) override {
        Rising = Rising && done >= Last && done <= total;
        Last = done;
        if (++Steps == StopAt) throw ECancelled();
    }
};

} // namespace

TEST(DiagramProgress, ReadingStepsEachElementAndAStopChangesNothing) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("many.tsb").toStdString();
    {
        tsbtest::TDiagram many;
        for (int i = 0; i < 300; ++i)
            many.AddText("TextShape" + std::to_string(i + 1), "Text", 10 * (i % 50), 20 * (i / 50));
        TCustomShape::SelectAll(many.Box);
        TCustomShape::SaveToFile(file, many.Box);
    }
    tsbtest::TDiagram d;
    d.AddText("TextShape1", "Kept", 5, 5);
    d.AddText("Other", "Kept too", 50, 5);
    const std::string before = d.State();
    const int owned = d.Root->ComponentCount();

    TCounting stopping;
    stopping.StopAt = 150;
    EXPECT_THROW(TCustomShape::LoadFromFile(file, d.Box, &stopping), ECancelled);
    EXPECT_EQ(d.State(), before);
    EXPECT_EQ(d.Root->ComponentCount(), owned); // nothing read stays behind

    TCounting counting;
    TCustomShape::LoadFromFile(file, d.Box, &counting);
    EXPECT_EQ(counting.Steps, 301); // the work area and each element
    EXPECT_TRUE(counting.Rising);
    EXPECT_EQ(d.Box->ControlCount(), 300);
}

TEST(DiagramProgress, AStoppedSaveLeavesTheFileAsItWas) {
    QTemporaryDir dir;
    const QString file = dir.filePath("kept.tsb");
    QFile kept(file);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("keep");
    kept.close();
    tsbtest::TDiagram d;
    for (int i = 0; i < 40; ++i)
        d.AddText("TextShape" + std::to_string(i + 1), "Text", 10 * i, 20);
    TCustomShape::SelectAll(d.Box);
    TCounting stopping;
    stopping.StopAt = 20;
    EXPECT_THROW(TCustomShape::SaveToFile(file.toStdString(), d.Box, &stopping), ECancelled);
    EXPECT_EQ(QFile(file).size(), 4);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.tsb"});

    TCounting counting;
    TCustomShape::SaveToFile(file.toStdString(), d.Box, &counting);
    EXPECT_EQ(counting.Steps, 41); // before each element, and once at the end
    EXPECT_TRUE(counting.Rising);
    EXPECT_GT(QFile(file).size(), 40 * 20);
}
