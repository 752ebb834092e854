// One operator key press through the real handler on the real main window, on tapes of different
// lengths, with the tape kept after every change or not; the same press from key event to
// repainted rows; and the two tape redraws on their own.
// Runs offscreen unless a platform is chosen; sounds are silent so only our own work is measured.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>

#include <algorithm>
#include <string>

#include "core/numbers.h"
#include "core/operators.h"
#include "core/state.h"
#include "files/tapefile.h"
#include "shell/sounds.h"
#include "tape/keeper.h"
#include "tape/tapeview.h"
#include "window/calculator.h"
#include "window_main.h"

namespace {

Calculator* window = nullptr;

// What the user types before the operator, taken in turn.
const char* const kTyped[] = {"1234.5", "7", "0.25", "98765.4321", "19.99", "300"};
constexpr int kTypedCount = sizeof kTyped / sizeof *kTyped;

// Counts paint events of one tape cell, to show that a repaint really happened.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The scroll bar at the tape's end, as the keypad leaves it, without its change handler drawing
// the scrolled view.
void placeScrollBar(int lines) {
    auto* bar = part<QScrollBar>(window, "VScroll1");
    const QSignalBlocker quiet(bar);
    bar->setMaximum(std::max(lines, 1));
    bar->setValue(bar->maximum());
}

// A tape of `lines` lines written by the tape rule: mostly additions, some subtractions, the odd
// percentage-like product and quotient, so the subtotals carry long fractions as real tapes do.
void loadTape(int lines) {
    tally::Tape& s = windowState()->tape;
    tally::clearTape(s);
    for (int n = 1; n <= lines; ++n) {
        char op = n % 7 == 0 ? '-' : n % 50 == 0 ? 'x' : n % 60 == 0 ? '/' : '+';
        tally::writeLine(s, op == 'x' ? "1.05" : op == '/' ? "3" : *tally::numbertext(n * 12.34 + 0.5), op);
    }
    placeScrollBar(lines);
    part<TapeView>(window)->printout();
    QCoreApplication::processEvents();
}

// Undoes one press: the new line goes, the scroll bar and the nine rows are as before it,
// and whatever painting the press queued is done, so the next press starts from the same screen.
void rewindPress(int lines) {
    tally::Tape& s = windowState()->tape;
    s.entries[lines + 1].clear();
    s.subtotals[lines + 1].clear();
    s.nextline = lines + 1;
    placeScrollBar(lines);
    part<TapeView>(window)->printout();
    QCoreApplication::processEvents();
}

bool pressWrote(benchmark::State& st, int lines) {
    const tally::Tape& tape = windowState()->tape;
    if (tape.nextline == lines + 2 && !tape.subtotals[lines + 1].empty())
        return true;
    st.SkipWithError("the key press wrote no tape line");
    return false;
}

// Blocks written by this thread (`who` RUSAGE_THREAD) or by the whole process (RUSAGE_SELF).
long blocksWritten(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_oublock;
}

// Handler time: type a number into the box, click "+" (Command1_Click(12)). With `kept`, the tape
// is kept as the program keeps it: the press only marks the tape changed, the snapshot of the tape
// runs from the event loop a quarter second later (timed as bench_files' EncodeTape), and the
// keeping thread writes. The counters show the blocks written by the key's thread and by all.
void BM_OperatorKey(benchmark::State& st) {
    const int lines = static_cast<int>(st.range(0));
    loadTape(lines);
    auto* box = part<QLineEdit>(window, "Text2");
    auto* plus = part<QPushButton>(window, "Command1_12");
    QTemporaryDir folder;
    int snapshots = 0;
    const long keyThreadBefore = blocksWritten(RUSAGE_THREAD), allBefore = blocksWritten(RUSAGE_SELF);
    TapeKeeper keeper(folder.filePath("tallyroll").toStdString(), [&] {
        ++snapshots;
        return tally::encodeTape(windowState()->tape);
    });
    if (st.range(1))
        window->keepTape(&keeper);
    int k = 0;
    for (auto _ : st) {
        box->setText(kTyped[k]);
        plus->click();
        st.PauseTiming();
        if (!pressWrote(st, lines))
            break;
        rewindPress(lines);
        k = (k + 1) % kTypedCount;
        st.ResumeTiming();
    }
    window->keepTape(nullptr);
    keeper.flush(std::chrono::seconds(10));
    st.counters["snapshots"] = snapshots;
    st.counters["blocks_key_thread"] = double(blocksWritten(RUSAGE_THREAD) - keyThreadBefore);
    st.counters["blocks_all"] = double(blocksWritten(RUSAGE_SELF) - allBefore);
}
BENCHMARK(BM_OperatorKey)
    ->ArgNames({"lines", "kept"})
    ->ArgsProduct({{1, 500, 999}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// Key event to repainted rows: Enter arrives at the entry box as a key event, goes through the
// window's key preview and character handler to the keypad, and the queued repaint is done.
void keyToRepaint(benchmark::State& st, bool wholeBody) {
    const int lines = static_cast<int>(st.range(0));
    loadTape(lines);
    PaintCounter counter;
    auto* box = part<QLineEdit>(window, "Text2");
    auto* cell = part<QLabel>(window, "Label10_0");
    cell->installEventFilter(&counter);
    int timedPaints = 0;
    int k = 0;
    for (auto _ : st) {
        st.PauseTiming();
        rewindPress(lines);
        box->setText(kTyped[k]);
        k = (k + 1) % kTypedCount;
        const int paintsBefore = counter.paints;
        st.ResumeTiming();
        QTest::keyClick(box, Qt::Key_Return);
        if (wholeBody)
            part<QWidget>(window, "body")->repaint();
        QCoreApplication::processEvents();
        st.PauseTiming();
        timedPaints += counter.paints - paintsBefore;
        const bool ok = pressWrote(st, lines);
        st.ResumeTiming();
        if (!ok)
            break;
    }
    cell->removeEventFilter(&counter);
    // Every press must repaint the bottom row once; less would mean the repaint was not timed.
    st.counters["paints_per_press"] = benchmark::Counter(double(timedPaints) / double(st.iterations()));
}
void BM_KeyToRepaint(benchmark::State& st) {
    keyToRepaint(st, false);
}
void BM_KeyToFullRepaint(benchmark::State& st) {
    keyToRepaint(st, true);
}
BENCHMARK(BM_KeyToRepaint)->ArgName("lines")->Arg(1)->Arg(500)->Arg(999)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeyToFullRepaint)->ArgName("lines")->Arg(999)->Unit(benchmark::kMicrosecond);

// printout on a full tape. Alternating between the last two tape ends changes every cell on each
// call, as a new line does; the unchanged variant shows the cost of the texts alone.
void BM_Printout(benchmark::State& st) {
    const bool cellsChange = st.range(0) != 0;
    loadTape(tally::kTapeLines);
    TapeView* view = part<TapeView>(window);
    tally::Tape& tape = windowState()->tape;
    bool shorter = false;
    for (auto _ : st) {
        if (cellsChange) {
            tape.nextline = shorter ? tally::kTapeLines : tally::kTapeLines + 1;
            shorter = !shorter;
        }
        view->printout();
    }
    tape.nextline = tally::kTapeLines + 1;
    QCoreApplication::processEvents();
}
BENCHMARK(BM_Printout)->ArgName("cells_change")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// One step of the scroll bar on a full tape, up and down in turn, so every cell changes on each
// step: the change handler and printscroll.
void BM_ScrollStep(benchmark::State& st) {
    loadTape(tally::kTapeLines);
    auto* bar = part<QScrollBar>(window, "VScroll1");
    bool up = false;
    for (auto _ : st) {
        bar->setValue(up ? tally::kTapeLines - 1 : tally::kTapeLines);
        up = !up;
    }
    const QString bottom = part<QLabel>(window, "Label10_0")->text();
    if (bottom != "1000 #" && bottom != "999 #")
        st.SkipWithError("the scroll bar did not move the view");
    QCoreApplication::processEvents();
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return runWindowBenchmarks(argc, argv, window);
}
