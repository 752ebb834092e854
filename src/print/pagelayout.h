#pragma once
// The preview page and the printed sheets as data: which text stands in which row, against which
// right edge. The widgets only measure each text in their font and draw it at (right edge - width).
#include <string>
#include <string_view>
#include <vector>

#include "core/numbers.h"
#include "core/tape.h"

namespace tally {

constexpr int kPageRows = 60; // rows of a page; each row holds line n and line n + 60
constexpr int kLinesPerSheet = 120;

// One right-aligned text of a page.
struct PlacedText {
    std::string text;
    int right; // right edge: twips on the preview, paper units (1/600 inch) on paper
    int row;   // 1..60
};

// Right edges of a half's three columns.
struct HalfEdges {
    int lineNumber;
    int entry;
    int subtotal;
};

// ---- Preview (twips; the widget steps one line of its font per row) ----

constexpr HalfEdges kPreviewLeft{432, 1728, 3024};
// The preview's font is monospaced: 5 points, 0.6 em a character.
constexpr int kPreviewCharWidth = 60;
constexpr HalfEdges kPreviewRight{3600, 4608, 5904};

// "  7 #", " 42 #", "120 #": the digits right-aligned in three characters.
std::string previewLineNumber(int line);

// The 60 rows of the preview from lines 1..120 as the arrays hold them, whatever nextline says.
// Per row, in drawing order: subtotal, entry, line number of line r + 60, then of line r.
// Subtotals always show two decimals here. A text that cannot be built
// (a number too large for a double) is left out; the rest of the page stands. A text longer than
// any page is wide (200 characters) keeps only its right end.
std::vector<PlacedText> previewPage(const Tape& tape);

// ---- Paper (paper units: 1/600 inch; scale with toDevice for the printer's resolution) ----

constexpr int kPaperUnitsPerInch = 600;
constexpr HalfEdges kPaperLeft{360, 1224, 2160};
// The paper's font is monospaced: 10 points, 0.6 em a character.
constexpr int kPaperCharWidth = 50;
constexpr HalfEdges kPaperRight{2736, 3672, 4608};
constexpr int kSeparatorX = 2400;      // 4 inches from the left edge
constexpr int kSeparatorBottom = 6600; // from the top down to 11 inches

// Top of a row's texts: rows stand 1/6 inch apart, row 60 at 10 inches.
constexpr int paperRowTop(int row) {
    return 100 * row;
}

// Paper units to device units of a printer with `dpi` dots per inch, rounded to the nearest dot.
constexpr int toDevice(int units, int dpi) {
    const long long scaled = 2LL * units * dpi + kPaperUnitsPerInch; // +half before halving
    return int(scaled / (2LL * kPaperUnitsPerInch));
}

struct Sheet {
    int baseLine;                  // the line just before the sheet's first line: 0, 120, 240, ...
    bool dateLine;                 // the date line and an empty line stand above the rows (first sheet only)
    std::vector<PlacedText> texts; // per half: line number, entry, subtotal; left half first
};

// Sheets of a tape: its lines / 120 rounded up (120 lines fill one sheet); an empty tape still
// gives the one dated sheet.
int sheetCount(int nextline);

// The entry with two to four decimals, then its operator part: "1,234,567.00 x", ".1235 +".
// An entry too short to carry an operator part is formatted whole; text that is no number stands
// as it is.
// A figure too wide for its column shows in exponent form (see fitFigure); a number too large for
// a double gives none.
std::optional<std::string> paperEntry(std::string_view entry, const Fits& fits = {});

// Every sheet of the tape, lines 1 .. nextline - 1. Subtotals show two decimals. A text that cannot be
// built is left out, so paper never shows a figure that is not on the tape. Long texts are cut as
// on the preview.
std::vector<Sheet> paperSheets(const Tape& tape);

// ---- Date ----

// "mm-dd-yyyy", e.g. "03-07-2024".
std::string dateText(int year, int month, int day);

} // namespace tally
