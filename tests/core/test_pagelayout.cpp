// The preview page and the printed sheets as data: which text stands in which row and column.
#include <QtTest>

#include "print/pagelayout.h"
#include "tapes.h"

using namespace tally;

// The texts placed at a row and right edge, "|" between them; "<nothing>" when none.
static QString at(const std::vector<PlacedText>& texts, int row, int right) {
    QStringList found;
    for (const PlacedText& t : texts)
        if (t.row == row && t.right == right) found << q(t.text);
    return found.isEmpty() ? QString("<nothing>") : found.join('|');
}

class TestPageLayout : public QObject {
    Q_OBJECT
private slots:
    // Every one of the 120 rows is numbered, whatever the tape holds; the rows after its end are
    // empty ones, and lines past 120 never show.
    void preview_data() {
        columns<int>({"lines", "line"}); // lines on the tape, the line looked at
        columns({"row"});                // line number|entry|subtotal
        QTest::newRow("one digit") << 70 << 7 << "  7 #|7.00 +|7.00 =";
        QTest::newRow("two digits, right half") << 70 << 61 << " 61 #|61.00 +|61.00 =";
        QTest::newRow("three digits, right half") << 200 << 120 << "120 #|120.00 +|120.00 =";
        QTest::newRow("empty tape") << 0 << 119 << "119 #|.00| =";
    }
    void preview() {
        const int lines = fetch<int>("lines"), line = fetch<int>("line");
        State state = tapeOf(lines);
        state.nextline = 5; // the preview draws what the arrays hold, whatever nextline says
        const auto page = previewPage(state);
        QCOMPARE(page.size(), std::size_t(6 * kPageRows));
        const int row = line > kPageRows ? line - kPageRows : line;
        const HalfEdges& half = line > kPageRows ? kPreviewRight : kPreviewLeft;
        QCOMPARE(at(page, row, half.lineNumber) + '|' + at(page, row, half.entry) + '|' + at(page, row, half.subtotal), fetch("row"));
        for (const PlacedText& t : page) QVERIFY(t.text.find("121") == std::string::npos);
    }

    // Entries keep their own decimals (at most 8 in preview, 4 on paper); subtotals always carry
    // two, and the places the layout uses are left at 2.
    void entries_data() {
        columns({"entry", "preview", "paper", "subtotal", "subtotalText"}); // subtotalText: both
        QTest::newRow("two decimals") << "12.5 +" << "12.50 +" << "12.50 +" << "3" << "3.00 =";
        QTest::newRow("negative whole") << "-3 x" << "-3.00 x" << "-3.00 x" << "-1500" << "-1,500.00 =";
        QTest::newRow("many decimals, rounded") << "0.123456789 +" << ".12345679 +" << ".1235 +" << "0.125" << ".13 =";
        QTest::newRow("grouped") << "1234567 x" << "1,234,567.00 x" << "1,234,567.00 x" << "1234.5" << "1,234.50 =";
        QTest::newRow("first line's two blanks") << "15  " << "15.00  " << "15.00  " << "" << " =";
        // A short entry must never print as another line's figure; a too large one prints nothing.
        QTest::newRow("one character") << "5" << "5.00" << "5.00" << "2" << "2.00 =";
        QTest::newRow("empty") << "" << ".00" << "" << "2" << "2.00 =";
        QTest::newRow("too large") << "1e309 +" << "<nothing>" << "<nothing>" << "2" << "2.00 =";
    }
    void entries() {
        const QString preview = fetch("preview"), paper = fetch("paper"), subtotal = fetch("subtotalText");
        State state = tapeOf(70);
        state.entries[2] = state.entries[62] = str("entry");
        state.subtotals[2] = str("subtotal");
        state.printplaces = 4;
        const auto page = previewPage(state);
        QCOMPARE(state.printplaces, 2);
        QCOMPARE(at(page, 2, kPreviewLeft.entry) + '|' + at(page, 2, kPreviewRight.entry), preview + '|' + preview);
        QCOMPARE(at(page, 2, kPreviewLeft.subtotal) + '|' + at(page, 3, kPreviewLeft.entry), subtotal + "|3.00 +");
        state.printplaces = 4;
        const auto sheet = paperSheets(state).at(0).texts;
        QCOMPARE(state.printplaces, 2);
        QCOMPARE(at(sheet, 2, kPaperLeft.entry) + '|' + at(sheet, 2, kPaperRight.entry), paper + '|' + paper);
        QCOMPARE(at(sheet, 2, kPaperLeft.lineNumber) + '|' + at(sheet, 2, kPaperLeft.subtotal), "2 #|" + subtotal);
        QCOMPARE(at(sheet, 3, kPaperLeft.entry), QString("3.00 +"));
    }

    void sheets_data() {
        columns<int>({"lines", "count", "textsOnLastSheet"});
        QTest::newRow("empty tape") << 0 << 1 << 0;
        QTest::newRow("119 lines") << 119 << 1 << 119 * 3;
        QTest::newRow("120 lines") << 120 << 2 << 0;
        QTest::newRow("121 lines") << 121 << 2 << 3;
    }
    void sheets() {
        const int lines = fetch<int>("lines"), count = fetch<int>("count");
        State state = tapeOf(lines);
        state.entries[181] = "99 +"; // beyond the tape: never printed
        QCOMPARE(sheetCount(state.nextline), count);
        const auto sheets = paperSheets(state);
        QCOMPARE(int(sheets.size()), count);
        for (int s = 0; s < count; ++s) {
            QCOMPARE(sheets[s].baseLine, s * kLinesPerSheet);
            QCOMPARE(sheets[s].dateLine, s == 0);
        }
        QCOMPARE(int(sheets.back().texts.size()), fetch<int>("textsOnLastSheet"));
        if (lines == 121) {
            QCOMPARE(at(sheets[0].texts, 60, kPaperRight.lineNumber), QString("120 #"));
            QCOMPARE(at(sheets[1].texts, 1, kPaperLeft.lineNumber) + '|' + at(sheets[1].texts, 1, kPaperLeft.subtotal), "121 #|121.00 =");
        }
    }

    // The separator runs down the middle of the sheet to its foot; rows stand 1/6 inch apart.
    void separatorAndRows() {
        for (int dpi : {300, 1200}) {
            for (int r = 2; r <= kPageRows; ++r)
                QCOMPARE(toDevice(paperRowTop(r), dpi) - toDevice(paperRowTop(r - 1), dpi), dpi / 6);
            QCOMPARE(toDevice(paperRowTop(kPageRows), dpi), 10 * dpi);
            QCOMPARE(toDevice(kSeparatorX, dpi), 4 * dpi);
            QCOMPARE(toDevice(kSeparatorBottom, dpi), 11 * dpi);
            QVERIFY(toDevice(kPaperLeft.subtotal, dpi) < toDevice(kSeparatorX, dpi));
            QVERIFY(toDevice(kPaperRight.subtotal, dpi) * 10 < 85 * dpi); // inside a letter sheet
        }
    }

    void date() { QCOMPARE(q(dateText(2024, 3, 7)), QString("03-07-2024")); }
};

QTEST_GUILESS_MAIN(TestPageLayout)
#include "test_pagelayout.moc"
