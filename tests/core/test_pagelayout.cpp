#include <QtTest>

#include <optional>

#include "print/pagelayout.h"

using namespace tally;

namespace {

// The text placed at a row and right edge, if any.
std::optional<std::string> at(const std::vector<PlacedText>& texts, int row, int right) {
    std::optional<std::string> found;
    for (const PlacedText& t : texts) {
        if (t.row == row && t.right == right) {
            if (found) return "<placed twice>";
            found = t.text;
        }
    }
    return found;
}

QString q(const std::optional<std::string>& s) {
    return s ? QString::fromStdString(*s) : QString("<nothing>");
}

// A tape of `lines` lines: line k has entry "k +" and subtotal "k".
State tapeOf(int lines) {
    State state;
    for (int k = 1; k <= lines; ++k) {
        state.entries[k] = std::to_string(k) + (k == 1 ? "  " : " +");
        state.subtotals[k] = std::to_string(k);
    }
    state.nextline = lines + 1;
    return state;
}

} // namespace

class TestPageLayout : public QObject {
    Q_OBJECT
private slots:
    void previewLineNumbers_data();
    void previewLineNumbers();
    void entries_data();
    void entries();
    void subtotals_data();
    void subtotals();
    void emptyTapePreview();
    void previewShowsLines1To120();
    void sheets_data();
    void sheets();
    void line121StartsSheet2();
    void brokenEntries_data();
    void brokenEntries();
    void scaling_data();
    void scaling();
    void dates_data();
    void dates();
};

void TestPageLayout::previewLineNumbers_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::newRow("one digit") << 7 << "  7 #";
    QTest::newRow("two digits") << 42 << " 42 #";
    QTest::newRow("three digits") << 120 << "120 #";
}

void TestPageLayout::previewLineNumbers() {
    QFETCH(int, line);
    QFETCH(QString, text);
    State state;
    const auto page = previewPage(state);
    const int row = line > kPageRows ? line - kPageRows : line;
    const HalfEdges& half = line > kPageRows ? kPreviewRight : kPreviewLeft;
    QCOMPARE(q(at(page, row, half.lineNumber)), text);
}

void TestPageLayout::entries_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("preview");
    QTest::addColumn<QString>("paper");
    QTest::newRow("two decimals") << "12.5 +" << "12.50 +" << "12.50 +";
    QTest::newRow("negative whole") << "-3 x" << "-3.00 x" << "-3.00 x";
    QTest::newRow("many decimals, rounded")
        << "0.123456789 +" << ".12345679 +" << ".1235 +";
    QTest::newRow("grouped") << "1234567 x" << "1,234,567.00 x" << "1,234,567.00 x";
    QTest::newRow("first line, two blanks") << "15  " << "15.00  " << "15.00  ";
}

void TestPageLayout::entries() {
    QFETCH(QString, entry);
    QFETCH(QString, preview);
    QFETCH(QString, paper);
    State state = tapeOf(70);
    state.entries[1] = entry.toStdString();
    state.entries[61] = entry.toStdString();
    const auto page = previewPage(state);
    QCOMPARE(q(at(page, 1, kPreviewLeft.entry)), preview);
    QCOMPARE(q(at(page, 1, kPreviewRight.entry)), preview);
    const auto sheets = paperSheets(state);
    QCOMPARE(q(at(sheets.at(0).texts, 1, kPaperLeft.entry)), paper);
    QCOMPARE(q(at(sheets.at(0).texts, 1, kPaperRight.entry)), paper);
}

void TestPageLayout::subtotals_data() {
    QTest::addColumn<QString>("subtotal");
    QTest::addColumn<int>("printplaces");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole, after 0 places") << "3" << 0 << "3.00 =";
    QTest::newRow("grouped, after 4 places") << "1234.5" << 4 << "1,234.50 =";
    QTest::newRow("rounded away from zero") << "0.125" << 4 << ".13 =";
    QTest::newRow("negative") << "-1500" << 1 << "-1,500.00 =";
    QTest::newRow("empty") << "" << 2 << " =";
}

void TestPageLayout::subtotals() {
    QFETCH(QString, subtotal);
    QFETCH(int, printplaces);
    QFETCH(QString, text);
    State state = tapeOf(3);
    state.subtotals[2] = subtotal.toStdString();
    state.printplaces = printplaces;
    const auto page = previewPage(state);
    QCOMPARE(state.printplaces, 2);
    QCOMPARE(q(at(page, 2, kPreviewLeft.subtotal)), text);
    state.printplaces = printplaces;
    const auto sheets = paperSheets(state);
    QCOMPARE(state.printplaces, 2);
    QCOMPARE(q(at(sheets.at(0).texts, 2, kPaperLeft.subtotal)), text);
}

void TestPageLayout::emptyTapePreview() {
    State state;
    const auto page = previewPage(state);
    QCOMPARE(page.size(), std::size_t(6 * kPageRows));
    for (int r = 1; r <= kPageRows; ++r) {
        for (const HalfEdges& half : {kPreviewLeft, kPreviewRight}) {
            const int line = half.entry == kPreviewLeft.entry ? r : r + kPageRows;
            QCOMPARE(q(at(page, r, half.lineNumber)), QString("%1 #").arg(line, 3));
            QCOMPARE(q(at(page, r, half.entry)), QString(".00"));
            QCOMPARE(q(at(page, r, half.subtotal)), QString(" ="));
        }
    }
    // Drawing order within a row: the right half first, the left line number ends the row.
    QCOMPARE(page.at(0).right, kPreviewRight.subtotal);
    QCOMPARE(page.at(5).right, kPreviewLeft.lineNumber);
}

void TestPageLayout::previewShowsLines1To120() {
    State state = tapeOf(200);
    state.nextline = 5; // the preview draws what the arrays hold, whatever nextline says
    const auto page = previewPage(state);
    QCOMPARE(q(at(page, 1, kPreviewLeft.lineNumber)), QString("  1 #"));
    QCOMPARE(q(at(page, 1, kPreviewRight.lineNumber)), QString(" 61 #"));
    QCOMPARE(q(at(page, 1, kPreviewRight.entry)), QString("61.00 +"));
    QCOMPARE(q(at(page, 60, kPreviewRight.subtotal)), QString("120.00 ="));
    for (const PlacedText& t : page) QVERIFY(t.text.find("121") == std::string::npos);
}

void TestPageLayout::sheets_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("textsOnLastSheet");
    QTest::newRow("empty tape") << 0 << 1 << 0;
    QTest::newRow("119 lines") << 119 << 1 << 119 * 3;
    QTest::newRow("120 lines") << 120 << 2 << 0;
    QTest::newRow("121 lines") << 121 << 2 << 3;
}

void TestPageLayout::sheets() {
    QFETCH(int, lines);
    QFETCH(int, count);
    QFETCH(int, textsOnLastSheet);
    State state = tapeOf(lines);
    QCOMPARE(sheetCount(state.nextline), count);
    const auto sheets = paperSheets(state);
    QCOMPARE(int(sheets.size()), count);
    for (int s = 0; s < count; ++s) {
        QCOMPARE(sheets[s].baseLine, s * kLinesPerSheet);
        QCOMPARE(sheets[s].dateLine, s == 0);
    }
    QCOMPARE(int(sheets.back().texts.size()), textsOnLastSheet);
}

void TestPageLayout::line121StartsSheet2() {
    State state = tapeOf(121);
    state.entries[181] = "99 +"; // beyond the tape: never printed
    const auto sheets = paperSheets(state);
    const auto& first = sheets.at(0).texts;
    QCOMPARE(q(at(first, 1, kPaperLeft.lineNumber)), QString("1 #"));
    QCOMPARE(q(at(first, 1, kPaperRight.lineNumber)), QString("61 #"));
    QCOMPARE(q(at(first, 60, kPaperRight.lineNumber)), QString("120 #"));
    const auto& second = sheets.at(1).texts;
    QCOMPARE(q(at(second, 1, kPaperLeft.lineNumber)), QString("121 #"));
    QCOMPARE(q(at(second, 1, kPaperLeft.entry)), QString("121.00 +"));
    QCOMPARE(q(at(second, 1, kPaperLeft.subtotal)), QString("121.00 ="));
    QCOMPARE(q(at(second, 1, kPaperRight.entry)), QString("<nothing>"));
    // Each half draws line number, entry, subtotal in this order.
    QCOMPARE(second.at(0).right, kPaperLeft.lineNumber);
    QCOMPARE(second.at(2).right, kPaperLeft.subtotal);
}

void TestPageLayout::brokenEntries_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("preview");
    QTest::addColumn<QString>("paper");
    // Line 1 holds "7  ": a short entry must never print as that line's figure.
    QTest::newRow("one character") << "5" << "5.00" << "5.00";
    QTest::newRow("empty") << "" << ".00" << "";
    QTest::newRow("too large") << "1e309 +" << "<nothing>" << "<nothing>";
}

void TestPageLayout::brokenEntries() {
    QFETCH(QString, entry);
    QFETCH(QString, preview);
    QFETCH(QString, paper);
    State state = tapeOf(3);
    state.entries[1] = "7  ";
    state.entries[2] = entry.toStdString();
    const auto page = previewPage(state);
    QCOMPARE(q(at(page, 2, kPreviewLeft.entry)), preview);
    QCOMPARE(q(at(page, 3, kPreviewLeft.entry)), QString("3.00 +"));
    const auto sheet = paperSheets(state).at(0).texts;
    QCOMPARE(q(at(sheet, 2, kPaperLeft.entry)), paper);
    QCOMPARE(q(at(sheet, 2, kPaperLeft.lineNumber)), QString("2 #"));
    QCOMPARE(q(at(sheet, 2, kPaperLeft.subtotal)), QString("2.00 ="));
    QCOMPARE(q(at(sheet, 3, kPaperLeft.entry)), QString("3.00 +"));
}

void TestPageLayout::scaling_data() {
    QTest::addColumn<int>("dpi");
    QTest::newRow("300 dpi") << 300;
    QTest::newRow("600 dpi") << 600;
    QTest::newRow("1200 dpi") << 1200;
}

void TestPageLayout::scaling() {
    QFETCH(int, dpi);
    for (int r = 1; r <= kPageRows; ++r) {
        QVERIFY(toDevice(paperRowTop(r), dpi) < 11 * dpi);
        if (r > 1) QCOMPARE(toDevice(paperRowTop(r), dpi) - toDevice(paperRowTop(r - 1), dpi), dpi / 6);
    }
    QCOMPARE(toDevice(paperRowTop(kPageRows), dpi), 10 * dpi);
    QCOMPARE(toDevice(kSeparatorX, dpi), 4 * dpi);
    QCOMPARE(toDevice(kSeparatorBottom, dpi), 11 * dpi);
    QVERIFY(toDevice(kPaperLeft.subtotal, dpi) < toDevice(kSeparatorX, dpi));
    QVERIFY(toDevice(kPaperRight.subtotal, dpi) * 10 < 85 * dpi); // inside a letter sheet's width
    QCOMPARE(toDevice(kPaperRight.subtotal, dpi) * 100, 768 * dpi);
}

void TestPageLayout::dates_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("text");
    QTest::newRow("leading zeros") << 2024 << 3 << 7 << "03-07-2024";
    QTest::newRow("two digits") << 1999 << 12 << 31 << "12-31-1999";
}

void TestPageLayout::dates() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(dateText(year, month, day)), text);
}

QTEST_GUILESS_MAIN(TestPageLayout)
#include "test_pagelayout.moc"
