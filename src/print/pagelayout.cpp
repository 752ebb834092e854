#include "print/pagelayout.h"

#include <algorithm>

#include "core/numbers.h"
#include "core/taperule.h"
#include "tape/cells.h"

namespace tally {

namespace {

constexpr int kPrintPlaces = 2;
constexpr std::string_view kPaperEntryPattern = "###,###,###.00##";

// No column of a page shows more characters than this: the whole sheet is narrower. A text that
// is not a number (a subtotal from a foreign file) keeps only its right end, which stands at the
// column's edge, so that measuring and drawing it cost what a page costs.
constexpr std::size_t kLongestPlacedText = 200;

std::string rightEnd(std::string text) {
    if (text.size() <= kLongestPlacedText)
        return text;
    std::size_t from = text.size() - kLongestPlacedText;
    while (from < text.size() && (static_cast<unsigned char>(text[from]) & 0xC0) == 0x80)
        ++from; // whole characters
    return text.substr(from);
}

// Both pages use a monospaced font: a column holds as many characters as its width allows.
Fits fitsColumn(int width, int charWidth) {
    return [room = static_cast<std::size_t>(width / charWidth)](std::string_view text) { return text.size() <= room; };
}

// Places one text; a text whose number cannot be read is left out, so that the rest of the page
// still stands and nothing stale takes its place.
void place(std::vector<PlacedText>& texts, int right, int row, std::optional<std::string> text) {
    if (text)
        texts.push_back({rightEnd(std::move(*text)), right, row});
}

std::string subtotalText(const Tape& tape, int line, const HalfEdges& edges, int charWidth) {
    return subtotalCell(tape.subtotals.at(line), kSubtotalPatterns.at(kPrintPlaces),
                        fitsColumn(edges.subtotal - edges.entry, charWidth));
}

} // namespace

std::string previewLineNumber(int line) {
    const std::string padded = std::string(7, ' ') + lineNumberCell(line);
    return padded.substr(padded.size() - 5);
}

std::vector<PlacedText> previewPage(const Tape& tape) {
    std::vector<PlacedText> texts;
    texts.reserve(6 * kPageRows);
    for (int r = 1; r <= kPageRows; ++r) {
        const int n = r, m = r + kPageRows;
        const Fits rightEntry = fitsColumn(kPreviewRight.entry - kPreviewRight.lineNumber, kPreviewCharWidth);
        const Fits leftEntry = fitsColumn(kPreviewLeft.entry - kPreviewLeft.lineNumber, kPreviewCharWidth);
        place(texts, kPreviewRight.subtotal, r, subtotalText(tape, m, kPreviewRight, kPreviewCharWidth));
        place(texts, kPreviewRight.entry, r, entryCell(tape.entries.at(m), rightEntry));
        place(texts, kPreviewRight.lineNumber, r, previewLineNumber(m));
        place(texts, kPreviewLeft.subtotal, r, subtotalText(tape, n, kPreviewLeft, kPreviewCharWidth));
        place(texts, kPreviewLeft.entry, r, entryCell(tape.entries.at(n), leftEntry));
        place(texts, kPreviewLeft.lineNumber, r, previewLineNumber(n));
    }
    return texts;
}

int sheetCount(int nextline) {
    const int lines = std::clamp(nextline - 1, 0, kTapeLines);
    return std::max(1, (lines + kLinesPerSheet - 1) / kLinesPerSheet);
}

std::optional<std::string> paperEntry(std::string_view entry, const Fits& fits) {
    const EntryParts parts = splitEntry(entry);
    const std::optional<double> value = wholeNumber(parts.number);
    // A number too large for a double prints nothing, as on the preview; other text as it stands.
    if (!value && holdsOneNumber(parts.number))
        return std::nullopt;
    if (!value)
        return std::string(parts.number) + std::string(parts.operatorPart);
    return fitFigure(formatnumber(*value, kPaperEntryPattern), *value, parts.operatorPart, fits);
}

std::vector<Sheet> paperSheets(const Tape& tape) {
    const int last = tape.last();
    auto placeLine = [&](std::vector<PlacedText>& texts, int line, int row, const HalfEdges& edges) {
        place(texts, edges.lineNumber, row, lineNumberCell(line));
        place(texts, edges.entry, row,
              paperEntry(tape.entries.at(line), fitsColumn(edges.entry - edges.lineNumber, kPaperCharWidth)));
        place(texts, edges.subtotal, row, subtotalText(tape, line, edges, kPaperCharWidth));
    };

    std::vector<Sheet> sheets;
    const int count = sheetCount(tape.nextline);
    for (int s = 0; s < count; ++s) {
        Sheet sheet{s * kLinesPerSheet, s == 0, {}};
        for (int r = 1; r <= kPageRows; ++r) {
            const int n = sheet.baseLine + r, m = n + kPageRows;
            if (n <= last)
                placeLine(sheet.texts, n, r, kPaperLeft);
            if (m <= last)
                placeLine(sheet.texts, m, r, kPaperRight);
        }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

std::string dateText(int year, int month, int day) {
    auto digits = [](int value, std::size_t width) {
        std::string s = std::to_string(value);
        return s.size() < width ? std::string(width - s.size(), '0') + s : s;
    };
    return digits(month, 2) + "-" + digits(day, 2) + "-" + digits(year, 4);
}

} // namespace tally
