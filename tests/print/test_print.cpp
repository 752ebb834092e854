// The preview page and a printed sheet as pictures, and where each printed text ends against the
// page layout's columns; with no printer, a PDF file, or a message that says why not.
#include "../gui/fixture.h"
#include "../picture.h"
#include "print/form1.h"
#include "print/pagelayout.h"
#include "print/printing.h"
#include "table.h"
#include "tapes.h"
#include <sys/stat.h>
using namespace tally;

namespace {
// Two sheets: figures of every width and decimals, a failed line, a figure too large for a double, an
// entry too short for an operator, an empty one, and a text that is no number.
Tape printedTape() {
    Tape state = tapeOf(125);
    state.entries[2] = "1234567.891 x";
    state.subtotals[2] = "2469135.782";
    state.entries[4] = "0.123456789 /";
    state.subtotals[4] = "0.125";
    state.entries[5] = "5";
    state.entries[6] = "";
    state.subtotals[62] = "abc";
    state.subtotals[63] = "";
    state.entries[64] = "1e309 +";
    return state;
}
// The date changes daily: its place is checked by the word positions, not by the picture.
QImage withoutDate(QImage image, const QRect& date) {
    QPainter(&image).fillRect(date, Qt::magenta);
    return image;
}
QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}
// Per page, the right ends of the texts (a line's number, entry and subtotal end in "#", an
// operator and "=") that stand in `row`, in paper units right of the printable corner.
QList<int> rowEnds(const QString& page, int row, const QMarginsF& corner) {
    static const QRegularExpression word(
        R"re(<word xMin="[\d.]+" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)<)re");
    QList<int> ends;
    for (const QRegularExpressionMatch& m : word.globalMatch(page))
        if (qRound((m.captured(1).toDouble() - corner.top()) / 12) == row && QString("#+-x/=").contains(m.captured(3)))
            ends << qRound((m.captured(2).toDouble() - corner.left()) * kPaperUnitsPerInch / 72);
    std::sort(ends.begin(), ends.end());
    return ends;
}
} // namespace

class TestPrint : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    // Drawn twice (a second resize), the preview shows one page, not a second stacked below it.
    void preview() {
        Tape state = printedTape();
        FakeDesktop outside;
        QPointer<Form1> form = new Form1(state, outside);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->drawpreview();
        COMPARE_PICTURE(withoutDate(form->grab().toImage(), {0, 2, 48, 8}), "preview");
        QTest::mouseClick(form->findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull()); // Cancel closes it
    }
    // Inside a printer's margins: the date at the printable corner of sheet 1 only, the rows' texts at
    // their columns' edges, and the sheet as a picture.
    void paper() {
        Tape state = printedTape();
        const QMarginsF corner(12, 18, 12, 18);
        QFile pdf(dir.filePath("tape.pdf"));
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.write(tapePdf(state, QPageSize(QPageSize::A4), corner, FakeDesktop().date));
        pdf.close();
        const QStringList pages = run("pdftotext", {"-bbox", pdf.fileName(), "-"}).split("<page ").mid(1);
        QCOMPARE(pages.size(), 2);
        static const QRegularExpression date(R"re(xMin="([\d.]+)"[^>]*>\d\d-\d\d-\d{4}<)re");
        const QRegularExpressionMatch dated = date.match(pages[0]);
        QCOMPARE(qRound(dated.captured(1).toDouble() - corner.left()), 0);
        QCOMPARE(rowEnds(pages[0], 0, corner).size(), 0); // the date line holds the date alone
        QCOMPARE(date.match(pages[1]).hasMatch(), false);
        const QList<int> columns{kPaperLeft.lineNumber,  kPaperLeft.entry,  kPaperLeft.subtotal,
                                 kPaperRight.lineNumber, kPaperRight.entry, kPaperRight.subtotal};
        QCOMPARE(rowEnds(pages[0], 3, corner), columns);           // lines 3 and 63
        QCOMPARE(rowEnds(pages[1], 1, corner), columns.mid(0, 3)); // line 121 alone
        run("pdftoppm", {"-r", "60", "-png", "-singlefile", pdf.fileName(), dir.filePath("sheet")});
        COMPARE_PICTURE(withoutDate(QImage(dir.filePath("sheet.png")), {8, 14, 56, 12}), "paper");
    }
    void printWithoutPrinter_data() {
        columns({"answer", "told"}); // the file name given in the save dialog; a part of the last message
        add("saved as PDF", {"saved", "instead. [Save as PDF...]"});
        add("offer declined: no dialog", {"<declined>", "There is no default printer."});
        add("dialog cancelled", {"", "There is no default printer."});
        add("no such folder", {"no such folder/saved.pdf", QString::fromLocal8Bit(strerror(ENOENT))});
        add("a pipe is left a pipe", {"pipe.pdf", "not a file"});
    }
    // Without a printer the tape may go to a PDF file; a failure keeps the preview open and says why.
    void printWithoutPrinter() {
        const QString answer = fetch("answer");
        const bool printed = answer == "saved";
        if (answer == "pipe.pdf")
            QCOMPARE(mkfifo(qPrintable(dir.filePath(answer)), 0600), 0);
        Tape state = tapeOf(1);
        FakeDesktop outside;
        outside.fileAnswers << (answer.isEmpty() ? answer : dir.filePath(answer));
        outside.declines = answer == "<declined>";
        QPointer<Form1> form = new Form1(state, outside);
        form->show();
        QTest::mouseClick(form->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        QCOMPARE(outside.told.size(), answer.contains('.') && !printed ? 2 : 1); // the failure follows the offer
        QVERIFY2(outside.told.last().contains(fetch("told")), qPrintable(outside.told.last()));
        QCOMPARE(form->isVisible(), !printed);
        QCOMPARE(outside.fileQuestions.isEmpty(), outside.declines);
        QCOMPARE(QFile::exists(dir.filePath(answer) + ".pdf"), printed); // added to the bare name
        QCOMPARE(QFileInfo(dir.filePath("pipe.pdf")).isFile(), false);
        delete form;
    }
};
QTEST_MAIN(TestPrint)
#include "test_print.moc"
