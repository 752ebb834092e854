// The print preview's page image drawn from a full tape, and the whole 1000-line tape printed to a
// PDF file (nine sheets), through the same code as the preview window and its Print button.
// Runs offscreen unless a platform is chosen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QRegularExpression>
#include <QTest>

#include "../tests/tapes.h"
#include "core/state.h"
#include "files/tapefile.h"
#include "print/form1.h"
#include "print/printing.h"
#include "window_main.h"

namespace {

tally::Tape* tape = nullptr;
Form1* preview = nullptr;

// The preview draws the first 120 lines however long the tape is; a short tape shows the cost
// of the page itself.
void BM_DrawPreview(benchmark::State& st) {
    *tape = tapeOf(static_cast<int>(st.range(0)));
    const auto* picture = preview->findChild<PictureBox*>("Picture1");
    for (auto _ : st) {
        preview->drawpreview();
        benchmark::DoNotOptimize(picture->image().constBits());
    }
    QCoreApplication::processEvents();
}
BENCHMARK(BM_DrawPreview)->ArgName("lines")->Arg(10)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Pages of a PDF file written by Qt: one page object each.
int pdfPages(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(pdf).count(page));
}

// A print job as the Print button makes it: every sheet, the document ended, in memory.
void BM_PrintTapeToPdf(benchmark::State& st) {
    const int lines = static_cast<int>(st.range(0));
    *tape = tapeOf(lines);
    QByteArray pdf;
    for (auto _ : st) {
        pdf = tapePdf(*tape, QPageSize(QPageSize::A4), QMarginsF(), QDate::currentDate());
        if (pdf.isEmpty()) {
            st.SkipWithError("tapePdf failed");
            break;
        }
    }
    st.counters["sheets"] = pdfPages(pdf);
    st.counters["pdf_kB"] = double(pdf.size()) / 1024.0;
}
BENCHMARK(BM_PrintTapeToPdf)->ArgName("lines")->Arg(120)->Arg(1000)->Unit(benchmark::kMillisecond);

// The worst tape Open accepts: one line whose subtotal, not a number, fills the largest tape file.
void BM_LargestTapeFile(benchmark::State& st) {
    *tape = tapeOf(1);
    tape->subtotals[1] = std::string(tally::kLargestTapeFile - 10, 'a');
    for (auto _ : st) {
        preview->drawpreview();
        benchmark::DoNotOptimize(tapePdf(*tape, QPageSize(QPageSize::A4), QMarginsF(), QDate::currentDate()).size());
    }
}
BENCHMARK(BM_LargestTapeFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    tally::Tape state;
    tape = &state;
    // Shown as the program shows it, so the picture box has its real size. Never closed here: it
    // deletes itself on close.
    auto* form = new Form1(state, quietOutside());
    form->show();
    if (!QTest::qWaitForWindowExposed(form))
        return 1;
    preview = form;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete form;
    return 0;
}
