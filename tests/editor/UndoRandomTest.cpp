// Random changes of every kind from each sample diagram, with undo and redo
// in between, against a model of the states the diagram went through: undo
// of everything gives back the opened file, redo of everything the state
// before. Once through the editor's commands (exact bytes), once through
// mouse and key events on a real X server (the same elements with the same
// properties, apart from the order and pointer that come with selecting).
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

#include "EditorFixture.h"
#include "SampleDiagrams.h"
#include "UndoSupport.h"
#include "editor/DiagramHistory.h"
#include "model/DiagramDump.h"

using namespace tsb;
using tsbtest::TRandomEdits;

namespace {

constexpr int kSteps = 200;

// What Save writes, with a listing to show where it differs.
struct TSaved {
    tsb::TBytes Bytes;
    std::string Listing;
    bool operator==(const TSaved& other) const { return Bytes == other.Bytes; }
};
void PrintTo(const TSaved& saved, std::ostream* out) {
    *out << "\n" << saved.Listing;
}
TSaved Saved(TMainForm* form) {
    const TScrollBox* box = form->ScrollBox1;
    std::string page = "page " + std::to_string(box->Left()) + "," + std::to_string(box->Top()) +
                       " " + std::to_string(box->Width()) + "x" + std::to_string(box->Height());
    return {tsbtest::SavedBytes(form), page + "\n" + DumpDiagram(box)};
}

struct UndoRandom : EditorTest, ::testing::WithParamInterface<int> {
    QTemporaryDir Dir;

    // The sample diagram saved and opened again, as a user starts.
    tsb::TBytes OpenSample() {
        TCustomShape::DeleteAll(Form->ScrollBox1);
        switch (GetParam()) {
        case 0:
            tsbtest::AddEveryKind(Form);
            break;
        case 1:
            tsbtest::AddConnectorWidthsAndStyles(Form);
            break;
        default:
            tsbtest::AddTexts(Form);
            break;
        }
        // Saved once opened, so that opening it places the page where the
        // file has it.
        std::string file = Dir.filePath("sample.tsb").toStdString();
        for (int i = 0; i < 2; ++i) {
            TCustomShape::SelectAll(Form->ScrollBox1);
            TCustomShape::SaveToFile(file, Form->ScrollBox1);
            Form->OpenFile(file);
        }
        QFile f(QString::fromStdString(file));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        return tsb::TBytes(bytes.begin(), bytes.end());
    }

    std::string PictureFile() {
        QImage image(40, 24, QImage::Format_RGB32);
        image.fill(QColor(30, 120, 200));
        QString file = Dir.filePath("picture.bmp");
        EXPECT_TRUE(image.save(file, "BMP"));
        return file.toStdString();
    }

    // Random steps with undo and redo between them; `state` reads what must
    // come back. Through the mouse, one change may make more than one step
    // (a press snaps the element it reaches to the grid): the states between
    // are not known.
    template <typename State>
    void Run(TRandomEdits& edits, const State& original, std::function<State()> state, bool exact) {
        TDiagramHistory& history = Form->History();
        std::vector<std::optional<State>> states{original};
        std::vector<int> madeBy{-1};
        std::size_t at = 0;
        int made = 0, kinds[TRandomEdits::kKinds] = {};
        auto check = [&](const char* what) {
            if (states[at]) {
                ASSERT_EQ(state(), *states[at]) << what << " of kind " << madeBy[at];
            }
        };
        while (made < kSteps) {
            int roll = edits.Random(0, 99);
            if (roll < 12 && at > 0) {
                edits.Undo();
                --at;
                ASSERT_NO_FATAL_FAILURE(check("undo after")) << "at step " << made;
                continue;
            }
            if (roll < 24 && at + 1 < states.size()) {
                edits.Redo();
                ++at;
                ASSERT_NO_FATAL_FAILURE(check("redo")) << "at step " << made;
                continue;
            }
            int kind = edits.Random(0, TRandomEdits::kKinds - 1);
            std::uint64_t serial = history.StateSerial();
            int index = history.Stack().index();
            if (std::getenv("UNDO_TRACE")) std::fprintf(stderr, "step %d kind %d\n", made, kind);
            edits.Make(kind);
            history.Flush();
            ++made;
            State now = state();
            int steps = history.Stack().index() - index;
            if (history.StateSerial() == serial) {
                // Nothing recorded: nothing changed.
                if (exact) {
                    ASSERT_EQ(now, *states[at]) << "kind " << kind << " at step " << made;
                }
                continue;
            }
            ++kinds[kind];
            states.resize(at + 1);
            madeBy.resize(at + 1);
            if (steps == 0) {
                // The last step took this one's changes in.
                states[at] = now;
                continue;
            }
            ASSERT_TRUE(steps == 1 || !exact) << "kind " << kind << " made " << steps << " steps";
            for (int i = 1; i < steps; ++i) {
                states.emplace_back();
                madeBy.push_back(kind);
            }
            states.push_back(now);
            madeBy.push_back(kind);
            at += std::size_t(steps);
        }
        for (int kind = 0; kind < TRandomEdits::kKinds; ++kind)
            EXPECT_GT(kinds[kind], 0) << "no step of kind " << kind;
        std::size_t top = states.size() - 1;
        for (; at > 0; --at)
            edits.Undo();
        EXPECT_EQ(state(), original);
        for (; at < top; ++at)
            edits.Redo();
        EXPECT_EQ(state(), *states[top]);
    }
};

} // namespace

TEST_P(UndoRandom, ThroughTheEditorsCommands) {
    tsb::TBytes file = OpenSample();
    TSaved original = Saved(Form);
    EXPECT_EQ(original.Bytes, file);
    TRandomEdits edits(Form, 1000u + unsigned(GetParam()), false, PictureFile());
    Run<TSaved>(
        edits, original, [this] { return Saved(Form); }, true);
    EXPECT_EQ(tsbtest::ShownErrors(), std::vector<std::string>());
}

// Needs a window system that routes input and activates windows as a
// desktop does: tests/editor/undo-under-xvfb.sh runs it.
TEST_P(UndoRandom, ThroughMouseAndKeys) {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "runs on an X server";
    OpenSample();
    auto state = [this] { return tsbtest::ElementsApartFromSelecting(Form); };
    std::vector<std::string> original = state();
    TRandomEdits edits(Form, 2000u + unsigned(GetParam()), true, PictureFile());
    Run<std::vector<std::string>>(edits, original, state, false);
}

INSTANTIATE_TEST_SUITE_P(SampleDiagrams, UndoRandom, ::testing::Values(0, 1, 2));
