// Prints a 125-line tape the way a user does: the preview window's Print button, on whatever
// the system calls its default printer. print-cups.sh makes that a CUPS PDF queue and reads the
// PDF back. Exit code 0 when the job was handed to the printer and the preview closed, or, with
// "refused" as second argument, when the user was told the queue's refusal and the preview stayed.
#include <QApplication>
#include <QPointer>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "core/numbers.h"
#include "core/state.h"
#include "print/form1.h"

namespace {

int fail(const QString& text) {
    std::fprintf(stderr, "print_through_cups: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString wanted = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool refused = argc > 2 && QByteArray(argv[2]) == "refused";

    // Line k adds k / 2, so line 25 carries 12.5 and line 121 stands first on the second sheet.
    tally::State state;
    double subtotal = 0;
    for (int k = 1; k <= 125; ++k) {
        const double entry = k * 0.5;
        subtotal += entry;
        state.entries[k] = tally::numbertext(entry) + (k == 1 ? "  " : " +");
        state.subtotals[k] = tally::numbertext(subtotal);
    }
    state.nextline = 126;

    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) return fail("Qt sees no default printer");
    if (!wanted.isEmpty() && printer.printerName() != wanted)
        return fail(QString("the default printer is \"%1\", not \"%2\"").arg(printer.printerName(), wanted));
    std::printf("printing on %s\n", qPrintable(printer.printerName()));

    QStringList told;
    QPointer<Form1> form = new Form1(state);
    form->tellUser = [&told](const QString&, const QString& text) { told << text; };
    form->askPdfName = [] { return QString(); }; // only asked when there is no printer
    form->show();
    if (!QTest::qWaitForWindowExposed(form)) return fail("the preview did not show");

    QTest::mouseClick(form->Command1, Qt::LeftButton);
    if (refused) {
        if (told.size() != 1 || form.isNull() || !form->isVisible()) return fail("a refused job was not told, or the preview closed");
        std::printf("told: %s\n", qPrintable(told.join(" / ")));
        return 0;
    }
    if (!told.isEmpty()) return fail("the preview said: " + told.join(" / "));
    // The window closes once the document is handed over, and deletes itself.
    if (!QTest::qWaitFor([&form] { return form.isNull(); }, 5000)) return fail("the preview stayed open");
    std::printf("job handed to %s\n", qPrintable(printer.printerName()));
    return 0;
}
