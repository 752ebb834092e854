#include <QtTest>

#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstring>
#include <unistd.h>

#include "print/form1.h"
#include "print/pagelayout.h"
#include "print/printing.h"
#include "tapes.h"

using namespace tally;

namespace {

struct Word {
    QString text;
    QRectF box; // points from the page's top-left corner
};

struct Page {
    QSizeF size;
    QList<Word> words;
};

// Where the paper units of the layout land on the PDF page, in points.
struct Frame {
    QPointF origin; // top-left corner of the printable area
    double edge(int units) const { return origin.x() + units * 72.0 / kPaperUnitsPerInch; }
    double rowTop(int row) const { return origin.y() + paperRowTop(row) * 72.0 / kPaperUnitsPerInch; }
};

// A device unit of the PDF printer, in points: the tolerance of every position.
constexpr double kDeviceUnit = 72.0 / 1200.0;

// The words of every page of a PDF, as pdftotext reads them back.
QList<Page> readPdf(const QString& file) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", file, "-"});
    if (!pdftotext.waitForFinished() || pdftotext.exitCode() != 0) return {};
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    static const QRegularExpression tag(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<Page> pages;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (!m.captured(1).isEmpty()) {
            pages.append({QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()), {}});
        } else if (!pages.isEmpty()) { // the tape's texts hold no characters pdftotext escapes
            pages.last().words.append({m.captured(7), QRectF(QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()),
                                                              QPointF(m.captured(5).toDouble(), m.captured(6).toDouble()))});
        }
    }
    return pages;
}

QString today() {
    const QDate d = QDate::currentDate();
    return QString::fromStdString(dateText(d.year(), d.month(), d.day()));
}

// The text of one cell: the words of a row that end after `left` and at most at `right`.
QString cell(const Page& page, const Frame& frame, int row, int left, int right) {
    QStringList texts;
    for (const Word& w : page.words)
        if (qAbs(w.box.top() - frame.rowTop(row)) <= 3 && w.box.right() > frame.edge(left) + 1 &&
            w.box.right() <= frame.edge(right) + 1)
            texts << w.text;
    return texts.join(' ');
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    Frame frame; // the printable area's corner is the sheet's own unless a test says otherwise
    QPageSize paper;

    // Prints the tape into a PDF whose printable area lies `printable` inside the sheet, and reads
    // it back; positions are then measured from that area's corner.
    QList<Page> print(State& state, QMarginsF printable = {}) {
        const QString file = dir.filePath("tape.pdf");
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(tapePdf(state, paper, printable)) <= 0) return {};
        out.close();
        frame.origin = QPointF(printable.left(), printable.top());
        return readPdf(file);
    }

private slots:
    void initTestCase();
    void sheetCounts_data();
    void sheetCounts();
    void cellsColumnsAndSeparator();
    void printButtonWithoutPrinter_data();
    void printButtonWithoutPrinter();
};

void TestPrinting::initTestCase() {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed: printed pages cannot be read back");
    QVERIFY(dir.isValid());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    paper = printer.pageLayout().pageSize(); // the paper the Print button uses for a PDF file
}

void TestPrinting::sheetCounts_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("sheets");
    QTest::newRow("empty tape") << 0 << 1;
    QTest::newRow("119 lines") << 119 << 1;
    QTest::newRow("120 lines") << 120 << 2;
    QTest::newRow("121 lines") << 121 << 2;
}

void TestPrinting::sheetCounts() {
    QFETCH(int, lines);
    QFETCH(int, sheets);
    State state = tapeOf(lines);
    const QList<Page> pages = print(state);
    QCOMPARE(pages.size(), sheets);
    // The date stands on the first sheet only.
    for (int p = 0; p < pages.size(); ++p) {
        const auto date = std::find_if(pages[p].words.begin(), pages[p].words.end(), [](const Word& w) { return w.text == today(); });
        QCOMPARE(date != pages[p].words.end(), p == 0);
        if (p == 0) // at the printable area's corner, not inside some margin of its own
            QVERIFY2(qAbs(date->box.left() - frame.origin.x()) < 1 && qAbs(date->box.top() - frame.origin.y()) < 2,
                     qPrintable(QString("date at %1, %2").arg(date->box.left()).arg(date->box.top())));
    }
    if (lines == 121) { // line 121 alone opens sheet 2
        QCOMPARE(cell(pages[0], frame, 60, kSeparatorX, kPaperRight.lineNumber), QString("120 #"));
        QCOMPARE(cell(pages[1], frame, 1, 0, kPaperLeft.subtotal), QString("121 # 121.00 + 121.00 ="));
        QCOMPARE(pages[1].words.size(), 6);
    }
}

// A page of entries and subtotals of many lengths: each cell prints as it should, each column
// ends at its edge, and the separator runs down the middle.
void TestPrinting::cellsColumnsAndSeparator() {
    const char* entries[] = {"12.5 +", "1234567 x", "0.123456789 +", "98765.25 +"};
    const char* subtotals[] = {"12.5", "", "1234567.891", "-3"};
    const QString printed[][2] = {{"12.50 +", "12.50 ="}, {"1,234,567.00 x", "="}, {".1235 +", "1,234,567.89 ="}};
    State state = tapeOf(119);
    for (int k = 2; k <= 119; ++k) {
        state.entries[k] = entries[(k - 2) % 4];
        state.subtotals[k] = subtotals[(k - 2) % 4];
    }
    state.entries[1] = "15  ";
    state.printplaces = 4; // the main window's places do not reach paper
    const QList<Page> pages = print(state, QMarginsF(12, 18, 12, 18)); // a printer's unprintable edges
    QCOMPARE(pages.size(), 1);
    const Page& page = pages[0];
    QCOMPARE(cell(page, frame, 1, kPaperLeft.lineNumber, kPaperLeft.entry), QString("15.00"));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(cell(page, frame, 2 + i, kPaperLeft.lineNumber, kPaperLeft.entry), printed[i][0]);
        QCOMPARE(cell(page, frame, 2 + i, kPaperRight.lineNumber, kPaperRight.entry), printed[i][0]);
        QCOMPARE(cell(page, frame, 2 + i, kPaperLeft.entry, kPaperLeft.subtotal), printed[i][1]);
    }
    const std::pair<QStringList, int> columns[] = {
        {{"#"}, kPaperLeft.lineNumber},  {{"+", "x"}, kPaperLeft.entry},  {{"="}, kPaperLeft.subtotal},
        {{"#"}, kPaperRight.lineNumber}, {{"+", "x"}, kPaperRight.entry}, {{"="}, kPaperRight.subtotal}};
    for (const auto& [last, edge] : columns) {
        int found = 0;
        for (const Word& w : page.words) {
            if (!last.contains(w.text) || qAbs(w.box.right() - frame.edge(edge)) > 20) continue;
            ++found;
            QVERIFY2(qAbs(w.box.right() - frame.edge(edge)) <= kDeviceUnit,
                     qPrintable(QString("\"%1\" ends at %2, edge %3").arg(w.text).arg(w.box.right()).arg(frame.edge(edge))));
        }
        QCOMPARE(found, edge == kPaperLeft.lineNumber || edge == kPaperLeft.subtotal ? 60 : 59); // line 1 has no sign
    }
    // The separator: a dark line down the middle, from the top of the printable area to 11 inches.
    const QString png = dir.filePath("page");
    QVERIFY(QProcess::execute("pdftoppm", {"-r", "144", "-gray", "-png", "-singlefile", dir.filePath("tape.pdf"), png}) == 0);
    const QImage image(png + ".png");
    const int x = qRound(frame.edge(kSeparatorX) * 2);
    auto darkAt = [&](double yPoints) {
        const int y = qRound(yPoints * 2);
        return qMin(qGray(image.pixel(x - 1, y)), qMin(qGray(image.pixel(x, y)), qGray(image.pixel(x + 1, y)))) < 128;
    };
    for (double y = frame.origin.y() + 1; y < frame.origin.y() + 11 * 72 - 1; y += 6) QVERIFY2(darkAt(y), qPrintable(QString::number(y)));
    QVERIFY(!darkAt(frame.origin.y() + 11 * 72 + 4));
    QVERIFY(qGray(image.pixel(x + 8, qRound(frame.rowTop(30) * 2))) > 128);
}

void TestPrinting::printButtonWithoutPrinter_data() {
    QTest::addColumn<QString>("answer"); // the file name given in the save dialog
    QTest::addColumn<bool>("printed");
    QTest::addColumn<int>("messages");
    QTest::newRow("saved as PDF") << "saved" << true << 1;
    QTest::newRow("dialog cancelled") << "" << false << 1;
    QTest::newRow("file cannot be written") << "no such folder/saved.pdf" << false << 2;
    QTest::newRow("full disk keeps the old file") << "full/old.pdf" << false << 2;
}

// No default printer: the user hears so and may save the print as a PDF. The print reads the
// tape as it is at the click, not the image of the preview.
void TestPrinting::printButtonWithoutPrinter() {
    QFETCH(QString, answer);
    QFETCH(bool, printed);
    QFETCH(int, messages);
    const bool full = answer.startsWith("full/");
    const QString mount = dir.filePath("full");
    if (full) { // a 64 KiB disk holding the old file and a filler that takes the rest
        if (geteuid() != 0) QSKIP("needs root to mount a small tmpfs as a full disk");
        QVERIFY(QDir(dir.path()).mkpath("full"));
        QCOMPARE(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", mount}), 0);
        QFile old(dir.filePath(answer)), filler(mount + "/filler");
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("%PDF-1.4 the old print") > 0 && filler.open(QIODevice::WriteOnly));
        old.close();
        filler.write(QByteArray(64 * 1024, 'x'));
    }
    auto unmount = qScopeGuard([&] { if (full) QProcess::execute("umount", {mount}); });
    State state = tapeOf(1);
    QPointer<Form1> form = new Form1(state);
    form->show();
    state = tapeOf(2);
    QStringList told;
    form->tellUser = [&](const QString&, const QString& text) { told << text; };
    form->findPrinter = [] { return QPrinterInfo(); };
    form->askPdfName = [&] { return answer.isEmpty() ? answer : dir.filePath(answer); };
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(told.size(), messages);
    QCOMPARE(form->isVisible(), !printed); // closed after printing, open for another try otherwise
    if (full) {
        QVERIFY2(told.last().contains(QString::fromLocal8Bit(strerror(ENOSPC))), qPrintable(told.last()));
        QCOMPARE(QDir(mount).entryList(QDir::Files | QDir::Hidden), QStringList({"filler", "old.pdf"}));
        QFile old(dir.filePath(answer));
        QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == "%PDF-1.4 the old print");
    }
    frame = Frame{};
    if (printed) {
        const QList<Page> pages = readPdf(dir.filePath("saved.pdf")); // ".pdf" added to the bare name
        QCOMPARE(pages.size(), 1);
        QCOMPARE(cell(pages[0], frame, 2, 0, kPaperLeft.subtotal), QString("2 # 2.00 + 2.00 ="));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(form.isNull(), printed);
    delete form;
}

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
