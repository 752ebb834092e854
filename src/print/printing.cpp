#include "print/printing.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "files/diskfile.h"
#include "print/cupsjob.h"
#include "print/form1.h"
#include "print/pagelayout.h"
#include "shell/metrics.h"

namespace {
constexpr int kPdfDpi = 1200; // the resolution a high-resolution printer would give
}

QByteArray tapePdf(const tally::Tape& tape, const QPageSize& paper, const QMarginsF& printable, QDate day) {
    const QFont font = design::fontOf("Terminal", 10);

    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(QStringLiteral("Calculator tape"));
    writer.setResolution(kPdfDpi);
    // The whole sheet is the page; the printable area's corner is placed by hand below.
    writer.setPageLayout(QPageLayout(paper, QPageLayout::Portrait, QMarginsF(), QPageLayout::Point));

    QPainter painter;
    if (!painter.begin(&writer))
        return {};
    const int dpi = writer.resolution();
    painter.translate(printable.left() * dpi / 72.0, printable.top() * dpi / 72.0);
    painter.setFont(font);
    painter.setPen(Qt::black);
    // Measured on the document itself, so each text ends exactly at its column's edge.
    const QFontMetricsF metrics(font, &writer);
    auto device = [dpi](int units) { return double(tally::toDevice(units, dpi)); };
    const QPen rule(Qt::black, device(1));

    const QString date = QString::fromStdString(tally::dateText(day.year(), day.month(), day.day()));
    const std::vector<tally::Sheet> sheets = tally::paperSheets(tape);

    bool ok = true;
    for (std::size_t s = 0; s < sheets.size() && ok; ++s) {
        const tally::Sheet& sheet = sheets[s];
        if (s > 0 && !writer.newPage()) {
            ok = false;
            break;
        }
        // The date line at the top-left of the printable area; an empty line follows it.
        if (sheet.dateLine)
            painter.drawText(QPointF(0, metrics.ascent()), date);
        painter.save();
        painter.setPen(rule);
        painter.drawLine(QPointF(device(tally::kSeparatorX), 0),
                         QPointF(device(tally::kSeparatorX), device(tally::kSeparatorBottom)));
        painter.restore();
        for (const tally::PlacedText& t : sheet.texts) {
            const QString text = QString::fromStdString(t.text);
            const double x = device(t.right) - metrics.horizontalAdvance(text);
            painter.drawText(QPointF(x, device(tally::paperRowTop(t.row)) + metrics.ascent()), text);
        }
    }
    if (!painter.end() || !ok)
        return {};
    return pdf;
}

void Form1::Command1_Click() {
    QByteArray pdf;
    tally::Result<> printed = tally::Failure{"The pages could not be drawn."};
    const QPrinterInfo info = findPrinter();
    if (!info.isNull()) {
        // The queue's own paper and unprintable margins; the document goes to it through libcups,
        // which tells whether the queue took the job.
        QPageLayout layout = QPrinter(info, QPrinter::HighResolution).pageLayout();
        layout.setUnits(QPageLayout::Point);
        pdf = tapePdf(tape, layout.pageSize(), layout.minimumMargins(), outside.today());
        if (!pdf.isEmpty()) {
            const tally::Result<int> job =
                tally::submitPdf(info.printerName().toStdString(), "Calculator tape", pdf.toStdString());
            printed = job ? tally::Result<>(tally::Done{}) : tally::Failure{job.reason()};
        }
    } else {
        // Two ways on, so that no one is led into a file dialog they did not want.
        if (!outside.confirm(this, "Print Preview",
                             "There is no default printer. The tape can be saved as a PDF file instead.",
                             "Save as PDF..."))
            return; // the preview stays open
        QString name = askPdfName();
        if (name.isEmpty())
            return; // the preview stays open for another try
        if (QFileInfo(name).suffix().isEmpty())
            name += ".pdf";
        QPrinter paper(QPrinter::HighResolution);
        paper.setOutputFormat(QPrinter::PdfFormat);
        pdf = tapePdf(tape, paper.pageLayout().pageSize(), QMarginsF(), outside.today());
        // Written as Save As writes a tape: a file that was there stays whole until the new one is.
        if (!pdf.isEmpty())
            printed = tally::replaceFile(QFile::encodeName(name).toStdString(), pdf.toStdString());
    }
    if (!printed) {
        // The preview stays open, so the user can try again.
        tellUser("Print Preview", "The tape could not be printed.\n\n" + QString::fromStdString(printed.reason()));
        return;
    }
    close();
}
