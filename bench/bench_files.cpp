// Saving and loading a full 1000-line tape: the pure encoding and decoding on their own, and the
// File menu handlers on the real main window writing to and reading from a temporary file.
// Runs offscreen unless a platform is chosen; sounds are silent so only our own work is measured.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#include "core/numbers.h"
#include "core/state.h"
#include "core/taperule.h"
#include "files/tapefile.h"
#include "shell/sounds.h"
#include "window/calculator.h"
#include "window_main.h"

namespace {

Calculator* window = nullptr;
QString tapePath; // in a temporary folder that lives as long as main()

// A full tape of the kind the keypad writes: long fractions in the subtotals, as real tapes have.
void fillFullTape(tally::State& s) {
    for (int n = 1; n <= tally::kTapeLines; ++n) {
        const std::string number = tally::numbertext(n * 12.34 + 0.5);
        if (n == 1) {
            s.subtotals[1] = tally::firstSubtotal(number);
            s.entries[1] = s.subtotals[1] + "  ";
        } else {
            const char op = n % 7 == 0 ? '-' : '+';
            s.entries[n] = number + ' ' + op;
            s.subtotals[n] = tally::combine(s.subtotals[n - 1], s.entries[n], op);
        }
    }
    s.nextline = tally::kTapeLines + 1;
}

void BM_EncodeTape(benchmark::State& st) {
    tally::State s;
    fillFullTape(s);
    std::size_t bytes = 0;
    for (auto _ : st) {
        std::string out = tally::encodeTape(s);
        bytes = out.size();
        benchmark::DoNotOptimize(out);
    }
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * bytes));
}
BENCHMARK(BM_EncodeTape)->Unit(benchmark::kMicrosecond);

void BM_DecodeApplyTape(benchmark::State& st) {
    tally::State s;
    fillFullTape(s);
    const std::string bytes = tally::encodeTape(s);
    tally::State target;
    for (auto _ : st) {
        const tally::TapeDecode tape = tally::decodeTape(bytes);
        tally::applyTape(target, tape.lines);
        benchmark::DoNotOptimize(target.nextline);
    }
    if (target.nextline != tally::kTapeLines + 1 || target.entries != s.entries) st.SkipWithError("the tape did not come back");
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeApplyTape)->Unit(benchmark::kMicrosecond);

// Save As through the window: encoding, the read-back check, the temporary file, the write and the rename.
void BM_SaveAs(benchmark::State& st) {
    fillFullTape(window->state);
    int failures = 0;
    window->tellUser = [&failures](const QString&, const QString&) { ++failures; };
    for (auto _ : st) window->mnuSaveAs_Click();
    if (failures || QFile(tapePath).size() == 0) st.SkipWithError("the tape was not saved");
}
BENCHMARK(BM_SaveAs)->Unit(benchmark::kMicrosecond);

// Open through the window: reading, decoding, the whole tape replaced, the scroll bar and the
// nine rows redrawn. The tape is emptied between loads so every load changes what is shown.
void BM_Open(benchmark::State& st) {
    fillFullTape(window->state);
    window->mnuSaveAs_Click();
    int failures = 0;
    window->tellUser = [&failures](const QString&, const QString&) { ++failures; };
    for (auto _ : st) {
        st.PauseTiming();
        window->clearit_Click();
        QCoreApplication::processEvents();
        st.ResumeTiming();
        window->mnuOpen_Click();
    }
    if (failures || window->state.nextline != tally::kTapeLines + 1) st.SkipWithError("the tape was not loaded");
    QCoreApplication::processEvents();
}
BENCHMARK(BM_Open)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir folder;
    if (!folder.isValid()) return 1;
    tapePath = folder.filePath("tape.cal");
    return runWindowBenchmarks(argc, argv, window,
                               [](Calculator& calculator) { calculator.askFileName = [](bool) { return tapePath; }; });
}
