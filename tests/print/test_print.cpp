// The preview page and the printed sheets as pictures; with no printer, a PDF file, or a message that
// says why not.
#include "../gui/fixture.h"
#include "../picture.h"
#include "print/printing.h"
#include "table.h"
using namespace tally;

namespace {
// Two sheets, the last line in the second one's right half: figures of every width and decimals, a failed line, a
// figure too large for a double, an entry too short for an operator, an empty one, and a text that is no number.
Tape printedTape() {
    Tape state = tapeOf(185);
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
} // namespace

class TestPrint : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    // The preview, drawn twice (a second resize), shows one page, not two stacked, and Cancel closes it; on paper
    // inside a printer's margins the date stands at sheet 1's printable corner only, each text at its column's edge.
    void pictures() {
        Tape state = printedTape();
        FakeDesktop outside;
        QPointer<Form1> form = new Form1(state, outside);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->drawpreview();
        COMPARE_PICTURE(form->grab().toImage(), "preview");
        QTest::mouseClick(form->findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
        QFile pdf(dir.filePath("tape.pdf"));
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.write(tapePdf(state, QPageSize(QPageSize::A4), QMarginsF(12, 18, 12, 18), outside.date));
        pdf.close();
        QCOMPARE(QProcess::execute("pdftoppm", {"-r", "100", "-png", pdf.fileName(), dir.filePath("sheet")}), 0);
        COMPARE_PICTURE(QImage(dir.filePath("sheet-1.png")), "paper");
        COMPARE_PICTURE(QImage(dir.filePath("sheet-2.png")), "paper-2");
    }
    void printWithoutPrinter_data() {
        columns({"answer", "told"}); // the file name given in the save dialog; a part of the last message
        add("saved as PDF", {"saved", "instead. [Save as PDF...]"});
        add("offer declined: no dialog", {"<declined>", "There is no default printer."});
        add("dialog cancelled", {"", "There is no default printer."});
        add("no such folder", {"no such folder/saved.pdf", QString::fromLocal8Bit(strerror(ENOENT))});
    }
    // Without a printer the tape may go to a PDF file; a failure keeps the preview open and says why.
    void printWithoutPrinter() {
        const QString answer = fetch("answer");
        const bool printed = answer == "saved";
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
        delete form;
    }
};
QTEST_MAIN(TestPrint)
#include "test_print.moc"
