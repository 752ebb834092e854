// Saving and loading a full 1000-line tape: the pure encoding and decoding on their own, and the
// File menu handlers on the real main window writing to and reading from a temporary file.
// Runs offscreen unless a platform is chosen; sounds are silent so only our own work is measured.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
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

// A full tape of the kind the keypad writes: long fractions in the subtotals, as real tapes have.
void fillFullTape(tally::Tape& s) {
    s.nextline = 1;
    for (int n = 1; n <= tally::kTapeLines; ++n) {
        tally::writeLine(s, *tally::numbertext(n * 12.34 + 0.5), n % 7 == 0 ? '-' : '+');
    }
}

void BM_EncodeTape(benchmark::State& st) {
    tally::Tape s;
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
    tally::Tape s;
    fillFullTape(s);
    const std::string bytes = tally::encodeTape(s);
    tally::Tape target;
    for (auto _ : st) {
        const tally::Result<std::vector<tally::TapeLine>> tape = tally::decodeTape(bytes);
        tally::applyTape(target, *tape);
        benchmark::DoNotOptimize(target.nextline);
    }
    if (target.nextline != tally::kTapeLines + 1 || target.entries != s.entries)
        st.SkipWithError("the tape did not come back");
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeApplyTape)->Unit(benchmark::kMicrosecond);

// Save As through the window: encoding, the read-back check, the temporary file, the write and the rename.
void BM_SaveAs(benchmark::State& st) {
    fillFullTape(windowState()->tape);
    quietOutside().messages = 0;
    QAction* saveAs = part<QAction>(window, "mnuSaveAs");
    for (auto _ : st)
        saveAs->trigger();
    if (quietOutside().messages || QFile(quietOutside().fileName).size() == 0)
        st.SkipWithError("the tape was not saved");
}
BENCHMARK(BM_SaveAs)->Unit(benchmark::kMicrosecond);

// Open through the window: reading, decoding, the whole tape replaced, the scroll bar and the
// nine rows redrawn. The tape is emptied between loads so every load changes what is shown.
void BM_Open(benchmark::State& st) {
    fillFullTape(windowState()->tape);
    part<QAction>(window, "mnuSaveAs")->trigger();
    quietOutside().messages = 0;
    QAction* open = part<QAction>(window, "mnuOpen");
    auto* clear = part<QPushButton>(window, "clearit");
    for (auto _ : st) {
        st.PauseTiming();
        clear->click();
        QCoreApplication::processEvents();
        st.ResumeTiming();
        open->trigger();
    }
    if (quietOutside().messages || windowState()->tape.nextline != tally::kTapeLines + 1)
        st.SkipWithError("the tape was not loaded");
    QCoreApplication::processEvents();
}
BENCHMARK(BM_Open)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    quietOutside().fileName = folder.filePath("tape.cal"); // the folder lives as long as main()
    return runWindowBenchmarks(argc, argv, window);
}
