#include "print/printing.h"

#include <QDate>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <memory>

#include "print/form1.h"
#include "print/pagelayout.h"
#include "shell/metrics.h"

bool printTape(tally::State& state, QPrinter& printer) {
    const QFont font = design::fontOf("Terminal", 10);

    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setFont(font);
    painter.setPen(Qt::black);
    // Measured on the printer itself, so each text ends exactly at its column's edge.
    const QFontMetricsF metrics(font, &printer);
    const int dpi = printer.resolution();
    auto device = [dpi](int units) { return double(tally::toDevice(units, dpi)); };
    const QPen rule(Qt::black, device(1));

    const QDate today = QDate::currentDate();
    const QString date = QString::fromStdString(tally::dateText(today.year(), today.month(), today.day()));
    const std::vector<tally::Sheet> sheets = tally::paperSheets(state);

    bool ok = true;
    for (std::size_t s = 0; s < sheets.size() && ok; ++s) {
        const tally::Sheet& sheet = sheets[s];
        if (s > 0 && !printer.newPage()) {
            ok = false;
            break;
        }
        // The date line at the top-left of the printable area; an empty line follows it.
        if (sheet.dateLine) painter.drawText(QPointF(0, metrics.ascent()), date);
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
    if (!painter.end()) ok = false;
    return ok && printer.printerState() != QPrinter::Error;
}

void Form1::Command1_Click() {
    std::unique_ptr<QPrinter> printer;
    const QPrinterInfo info = findPrinter();
    if (!info.isNull()) {
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        tellUser("Print Preview", "There is no default printer. The tape can be saved as a PDF file instead.");
        QString name = askPdfName();
        if (name.isEmpty()) return; // the preview stays open for another try
        if (QFileInfo(name).suffix().isEmpty()) name += ".pdf";
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(name);
    }
    if (!printTape(state, *printer)) {
        tellUser("Print Preview", "The tape could not be printed.");
        return;
    }
    close();
}
