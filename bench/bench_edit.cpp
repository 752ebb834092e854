// Correcting line 1 of a full tape: the write-back and recalculation of all 1000 lines with the
// in-place redraw, through the real handlers on the real main window; and the recalculation alone.
// Runs offscreen unless a platform is chosen; sounds are silent so only our own work is measured.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <string>

#include "core/numbers.h"
#include "core/operators.h"
#include "core/state.h"
#include "core/taperule.h"
#include "shell/sounds.h"
#include "tape/tapeview.h"
#include "window/calculator.h"
#include "window_main.h"

namespace {

Calculator* window = nullptr;

// What the user types over line 1, taken in turn, so every subtotal changes on every edit.
const char* const kTyped[] = {"1234.5", "7", "0.25"};
constexpr int kTypedCount = sizeof kTyped / sizeof *kTyped;

// A full tape as keying writes it: mostly additions of fractional numbers, some subtractions,
// the odd product and quotient, so the subtotals carry long digit strings.
void fullTape(tally::Tape& s) {
    s.nextline = 1;
    for (int n = 1; n <= tally::kTapeLines; ++n) {
        const char op = n % 9 == 0 ? 'x' : n % 13 == 0 ? '/' : n % 5 == 0 ? '-' : '+';
        tally::writeLine(s, op == 'x' ? "1.05" : op == '/' ? "4" : *tally::numbertext(n * 3.17), op);
    }
}

// Handler time of one correction: line 1 rewritten with "+", all 1000 subtotals recomputed and
// the nine rows (lines 1 to 9, the view scrolled to the top of the tape) redrawn in place.
void BM_EditLine1(benchmark::State& st) {
    tally::Tape& tape = windowState()->tape;
    fullTape(tape);
    auto* bar = part<QScrollBar>(window, "VScroll1");
    auto* editor = part<QLineEdit>(window, "Text3");
    TapeView* view = part<TapeView>(window);
    bar->setMaximum(tally::kTapeLines);
    bar->setValue(tally::kTapeLines);
    bar->setValue(9);
    view->Label11_Click(8); // the top row shows line 1
    if (part<QLabel>(window, "Label10_8")->text() != "1 #" || editor->isHidden()) {
        st.SkipWithError("the editor did not open on line 1");
        return;
    }
    int k = 0;
    for (auto _ : st) {
        st.PauseTiming();
        editor->setText(kTyped[k]);
        k = (k + 1) % kTypedCount;
        st.ResumeTiming();
        view->edit1_click(tally::kAdd);
        view->checkit();
        st.PauseTiming();
        QCoreApplication::processEvents();
        st.ResumeTiming();
    }
    const std::string last = kTyped[(k + kTypedCount - 1) % kTypedCount];
    if (tape.entries[1] != last + " +" || tape.subtotals[1] != last)
        st.SkipWithError("the edit did not reach line 1");
}
BENCHMARK(BM_EditLine1)->Unit(benchmark::kMicrosecond);

// The recalculation of a full tape on its own, without the window.
void BM_Recalculate(benchmark::State& st) {
    tally::Tape s;
    fullTape(s);
    int k = 0;
    for (auto _ : st) {
        s.entries[1] = std::string(kTyped[k]) + " +";
        k = (k + 1) % kTypedCount;
        tally::recalculate(s);
        benchmark::DoNotOptimize(s.subtotals[tally::kTapeLines].data());
        benchmark::ClobberMemory();
    }
    if (s.subtotals[tally::kTapeLines].empty())
        st.SkipWithError("the last line has no subtotal");
}
BENCHMARK(BM_Recalculate)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv, window);
}
