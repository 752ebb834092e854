#include <QtTest>

#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "print/form1.h"
#include "print/pagelayout.h"
#include "print/printing.h"

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
        } else if (!pages.isEmpty()) {
            const QPointF topLeft(m.captured(3).toDouble(), m.captured(4).toDouble());
            const QPointF bottomRight(m.captured(5).toDouble(), m.captured(6).toDouble());
            QString text = m.captured(7);
            text.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
            pages.last().words.append({text, QRectF(topLeft, bottomRight)});
        }
    }
    return pages;
}

// A tape of `lines` lines: line k has entry "k +" (line 1 "1  ") and subtotal k.
State tapeOf(int lines) {
    State state;
    for (int k = 1; k <= lines; ++k) {
        state.entries[k] = std::to_string(k) + (k == 1 ? "  " : " +");
        state.subtotals[k] = std::to_string(k);
    }
    state.nextline = lines + 1;
    return state;
}

QString today() {
    const QDate d = QDate::currentDate();
    return QString::fromStdString(dateText(d.year(), d.month(), d.day()));
}

// The text of one cell: the words of a row that end after `left` and at most at `right`.
QString cell(const Page& page, const Frame& frame, int row, int left, int right) {
    QStringList texts;
    for (const Word& w : page.words) {
        if (qAbs(w.box.top() - frame.rowTop(row)) > 3) continue;
        if (w.box.right() > frame.edge(left) + 1 && w.box.right() <= frame.edge(right) + 1) texts << w.text;
    }
    return texts.join(' ');
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    Frame frame;

    // Prints the tape into a PDF through printTape and reads it back.
    QList<Page> print(State& state) {
        const QString file = dir.filePath("tape.pdf");
        QFile::remove(file);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        if (!printTape(state, printer)) return {};
        return readPdf(file);
    }

private slots:
    void initTestCase();
    void sheetCounts_data();
    void sheetCounts();
    void secondSheetStartsWithLine121();
    void entries_data();
    void entries();
    void subtotals_data();
    void subtotals();
    void rightEndsAndRows();
    void failingPrinterIsReported();
    void printButtonWithoutPrinter_data();
    void printButtonWithoutPrinter();
};

void TestPrinting::initTestCase() {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed: printed pages cannot be read back");
    QVERIFY(dir.isValid());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    frame.origin = printer.pageLayout().paintRectPoints().topLeft();
}

void TestPrinting::sheetCounts_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("sheets");
    QTest::newRow("empty tape") << 0 << 1;
    QTest::newRow("119 lines") << 119 << 1;
    QTest::newRow("120 lines") << 120 << 2;
    QTest::newRow("121 lines") << 121 << 2;
    QTest::newRow("241 lines") << 241 << 3;
}

void TestPrinting::sheetCounts() {
    QFETCH(int, lines);
    QFETCH(int, sheets);
    State state = tapeOf(lines);
    const QList<Page> pages = print(state);
    QCOMPARE(pages.size(), sheets);
    // The date stands on the first sheet only.
    for (int p = 0; p < pages.size(); ++p) {
        const bool dated = std::any_of(pages[p].words.begin(), pages[p].words.end(),
                                       [](const Word& w) { return w.text == today(); });
        QCOMPARE(dated, p == 0);
    }
    QCOMPARE(state.printplaces, 2);
}

void TestPrinting::secondSheetStartsWithLine121() {
    State state = tapeOf(121);
    const QList<Page> pages = print(state);
    QCOMPARE(pages.size(), 2);
    QCOMPARE(cell(pages[0], frame, 1, 0, kPaperLeft.lineNumber), QString("1 #"));
    QCOMPARE(cell(pages[0], frame, 1, kSeparatorX, kPaperRight.lineNumber), QString("61 #"));
    QCOMPARE(cell(pages[0], frame, 60, kSeparatorX, kPaperRight.lineNumber), QString("120 #"));
    QCOMPARE(cell(pages[1], frame, 1, 0, kPaperLeft.subtotal), QString("121 # 121.00 + 121.00 ="));
    QCOMPARE(pages[1].words.size(), 6); // the right half and the other rows stay empty
}

void TestPrinting::entries_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("printed");
    QTest::newRow("two decimals") << "12.5 +" << "12.50 +";
    QTest::newRow("groups") << "1234567 x" << "1,234,567.00 x";
    QTest::newRow("four decimals at most") << "0.123456789 +" << ".1235 +";
    QTest::newRow("negative") << "-3 /" << "-3.00 /";
}

void TestPrinting::entries() {
    QFETCH(QString, entry);
    QFETCH(QString, printed);
    State state;
    state.entries[1] = "15  ";
    state.subtotals[1] = "15";
    state.entries[2] = entry.toStdString();
    state.subtotals[2] = "1";
    // Line 62 shows the same entry in the right half.
    for (int k = 3; k <= 62; ++k) state.entries[k] = k == 62 ? entry.toStdString() : "1 +";
    state.nextline = 63;
    const QList<Page> pages = print(state);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(cell(pages[0], frame, 1, kPaperLeft.lineNumber, kPaperLeft.entry), QString("15.00"));
    QCOMPARE(cell(pages[0], frame, 2, kPaperLeft.lineNumber, kPaperLeft.entry), printed);
    QCOMPARE(cell(pages[0], frame, 2, kPaperRight.lineNumber, kPaperRight.entry), printed);
}

void TestPrinting::subtotals_data() {
    QTest::addColumn<QString>("subtotal");
    QTest::addColumn<QString>("printed");
    QTest::newRow("two decimals") << "12.5" << "12.50 =";
    QTest::newRow("rounded to two") << "1234567.891" << "1,234,567.89 =";
    QTest::newRow("whole") << "7" << "7.00 =";
    QTest::newRow("empty") << "" << "=";
}

void TestPrinting::subtotals() {
    QFETCH(QString, subtotal);
    QFETCH(QString, printed);
    State state = tapeOf(2);
    state.printplaces = 4; // the main window's places do not reach paper
    state.subtotals[2] = subtotal.toStdString();
    const QList<Page> pages = print(state);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(cell(pages[0], frame, 2, kPaperLeft.entry, kPaperLeft.subtotal), printed);
}

// Each column ends at its edge whatever its texts' lengths, and rows stand 1/6 inch apart,
// scaled from the 600-dpi layout to the PDF's 1200 dots per inch.
void TestPrinting::rightEndsAndRows() {
    State state;
    const char* entries[] = {"5 +", "1234567.125 +", ".5 +", "98765.25 +"};
    const char* subtotals[] = {"5", "", "1234567.5", "-3"};
    for (int k = 1; k <= 119; ++k) {
        state.entries[k] = entries[k % 4];
        state.subtotals[k] = subtotals[k % 4];
    }
    state.nextline = 120;
    const QList<Page> pages = print(state);
    QCOMPARE(pages.size(), 1);
    const Page& page = pages[0];

    struct Column {
        const char* last; // the last word of each of the column's texts
        int edge;
    };
    const Column columns[] = {{"#", kPaperLeft.lineNumber}, {"+", kPaperLeft.entry},
                              {"=", kPaperLeft.subtotal},   {"#", kPaperRight.lineNumber},
                              {"+", kPaperRight.entry},     {"=", kPaperRight.subtotal}};
    for (const Column& c : columns) {
        int found = 0;
        for (const Word& w : page.words) {
            if (w.text != c.last || qAbs(w.box.right() - frame.edge(c.edge)) > 20) continue;
            ++found;
            QVERIFY2(qAbs(w.box.right() - frame.edge(c.edge)) <= kDeviceUnit,
                     qPrintable(QString("\"%1\" ends at %2, edge %3").arg(c.last).arg(w.box.right()).arg(frame.edge(c.edge))));
        }
        QCOMPARE(found, c.edge < kSeparatorX ? 60 : 59);
    }

    // Rows: the line numbers of the left half, one per row, 12 points apart.
    for (int r = 1; r <= kPageRows; ++r) {
        const auto it = std::find_if(page.words.begin(), page.words.end(), [&](const Word& w) {
            return w.text == QString::number(r) && w.box.right() < frame.edge(kPaperLeft.lineNumber);
        });
        QVERIFY2(it != page.words.end(), qPrintable(QString("line %1 missing").arg(r)));
        QVERIFY(qAbs(it->box.top() - frame.rowTop(r)) < 3); // the glyph box starts a little below the row top
        if (r > 1) {
            const auto first = std::find_if(page.words.begin(), page.words.end(), [](const Word& w) { return w.text == "1"; });
            QVERIFY(qAbs((it->box.top() - first->box.top()) - (r - 1) * 12.0) <= kDeviceUnit);
        }
        QVERIFY(it->box.bottom() < page.size.height());
    }
    // The date stands above the first row.
    const auto date = std::find_if(page.words.begin(), page.words.end(), [](const Word& w) { return w.text == today(); });
    QVERIFY(date != page.words.end());
    QVERIFY(date->box.bottom() <= frame.rowTop(1) + 1);
    QVERIFY(qAbs(date->box.left() - frame.origin.x()) < 1);
}

void TestPrinting::failingPrinterIsReported() {
    State state = tapeOf(3);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("no such folder/tape.pdf"));
    QVERIFY(!printTape(state, printer));
}

void TestPrinting::printButtonWithoutPrinter_data() {
    QTest::addColumn<QString>("answer"); // the file name given in the save dialog
    QTest::addColumn<bool>("printed");
    QTest::addColumn<int>("messages");
    QTest::newRow("saved as PDF") << "saved" << true << 1;
    QTest::newRow("dialog cancelled") << "" << false << 1;
    QTest::newRow("file cannot be written") << "no such folder/saved.pdf" << false << 2;
}

// No default printer: the user hears so and may save the print as a PDF. The print reads the
// tape as it is at the click, not the image of the preview.
void TestPrinting::printButtonWithoutPrinter() {
    QFETCH(QString, answer);
    QFETCH(bool, printed);
    QFETCH(int, messages);
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
