// Find and replace in the editor with the large diagram in a 1600 x 1200
// window, each with its repaint: Find Next from the one matching text round
// all 30,000 elements back to it, with and without Match case; a search
// that matches nothing; Find All of ten labels and of every caption; Replace All
// of ten labels and of every caption, each one undo step.
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <benchmark/benchmark.h>

#include "EditorWindow.h"
#include "LargeDiagram.h"
#include "editor/DiagramHistory.h"
#include "editor/FindForm.h"
#include "editor/MainForm.h"
#include "model/CustomShape.h"
#include "model/StandardShape.h"
#include "model/TextShape.h"

using namespace tsb;
using namespace tsbbench;

namespace {

// The large diagram with ten captions renamed "Pump 1" to "Pump 10", spread
// over it, the last on the front-most shape; the Find window shown.
TMainForm& OpenForm() {
    static TMainForm& form = [&]() -> TMainForm& {
        TMainForm& f = LargeDiagramWindow();
        for (int i = 1; i <= 10; ++i) {
            auto* shape = dynamic_cast<TStandardShape*>(
                f.FindComponent("StandardShape" + std::to_string(i * kColumns * kRows / 10)));
            shape->Caption()->SetText("Pump " + std::to_string(i));
        }
        f.History().Clear();
        f.FindActionExecute();
        Settle();
        return f;
    }();
    return form;
}

TFindForm& Find(TMainForm& form, const char* text, bool matchCase = false) {
    TFindForm& find = *form.FindForm();
    find.FindEdit->setText(text);
    find.MatchCaseBox->setChecked(matchCase);
    TCustomShape::UnselectAll(form.ScrollBox1);
    Settle();
    return find;
}

void BM_FindNextToTheBack(benchmark::State& state) {
    TMainForm& form = OpenForm();
    TFindForm& find = Find(form, "Pump 10", state.range(0) != 0);
    for (auto _ : state) {
        // From the match itself: round the whole diagram back to it.
        if (!find.FindNextClick()) state.SkipWithError("not found");
        Settle();
    }
}
BENCHMARK(BM_FindNextToTheBack)
    ->ArgName("matchCase")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

void BM_FindNoMatches(benchmark::State& state) {
    TMainForm& form = OpenForm();
    TFindForm& find = Find(form, "Valve");
    for (auto _ : state) {
        find.FindNextClick();
        Settle();
    }
}
BENCHMARK(BM_FindNoMatches)->Unit(benchmark::kMillisecond);

void BM_FindAll(benchmark::State& state) {
    TMainForm& form = OpenForm();
    TFindForm& find = Find(form, state.range(0) ? "caption" : "pump");
    for (auto _ : state) {
        state.PauseTiming();
        TCustomShape::UnselectAll(form.ScrollBox1);
        Settle();
        state.ResumeTiming();
        find.FindAllClick();
        Settle();
    }
    TCustomShape::UnselectAll(form.ScrollBox1);
}
BENCHMARK(BM_FindAll)->ArgName("everyCaption")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Replaces one word with another and back, each Replace All one step.
void BM_ReplaceAll(benchmark::State& state) {
    TMainForm& form = OpenForm();
    const bool every = state.range(0) != 0;
    const QString one = every ? "Caption" : "Pump", other = every ? "Label" : "Motor";
    TFindForm& find = Find(form, "");
    find.MatchCaseBox->setChecked(true);
    bool forth = true;
    for (auto _ : state) {
        find.FindEdit->setText(forth ? one : other);
        find.ReplaceEdit->setText(forth ? other : one);
        find.ReplaceAllClick();
        Settle();
        forth = !forth;
    }
    if (!forth) {
        find.FindEdit->setText(other);
        find.ReplaceEdit->setText(one);
        find.ReplaceAllClick();
    }
    form.History().Clear();
}
BENCHMARK(BM_ReplaceAll)->ArgName("everyCaption")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
