#include "print/pagelayout.h"

#include <algorithm>

#include "core/numbers.h"
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
    if (text.size() <= kLongestPlacedText) return text;
    std::size_t from = text.size() - kLongestPlacedText;
    while (from < text.size() && (static_cast<unsigned char>(text[from]) & 0xC0) == 0x80) ++from; // whole characters
    return text.substr(from);
}

// Builds one text and places it; a text whose number cannot be read is left out, so that the
// rest of the page still stands and nothing stale takes its place.
template <class Build>
void place(std::vector<PlacedText>& texts, int right, int row, Build build) {
    try {
        texts.push_back({rightEnd(build()), right, row});
    } catch (const NumberFailure&) {
    }
}

std::string subtotalText(const State& state, int line) {
    return subtotalCell(state.subtotals.at(line), kSubtotalPatterns.at(state.printplaces));
}

} // namespace

std::string previewLineNumber(int line) {
    const std::string padded = std::string(7, ' ') + lineNumberCell(line);
    return padded.substr(padded.size() - 5);
}

std::vector<PlacedText> previewPage(State& state) {
    state.printplaces = kPrintPlaces;
    std::vector<PlacedText> texts;
    texts.reserve(6 * kPageRows);
    for (int r = 1; r <= kPageRows; ++r) {
        const int n = r, m = r + kPageRows;
        place(texts, kPreviewRight.subtotal, r, [&] { return subtotalText(state, m); });
        place(texts, kPreviewRight.entry, r, [&] { return entryCell(state.entries.at(m)); });
        place(texts, kPreviewRight.lineNumber, r, [&] { return previewLineNumber(m); });
        place(texts, kPreviewLeft.subtotal, r, [&] { return subtotalText(state, n); });
        place(texts, kPreviewLeft.entry, r, [&] { return entryCell(state.entries.at(n)); });
        place(texts, kPreviewLeft.lineNumber, r, [&] { return previewLineNumber(n); });
    }
    return texts;
}

int sheetCount(int nextline) { return (nextline + kLinesPerSheet - 1) / kLinesPerSheet; }

std::string paperEntry(std::string_view entry) {
    if (entry.size() < 2) return formatnumber(entry, kPaperEntryPattern);
    return formatnumber(entry.substr(0, entry.size() - 2), kPaperEntryPattern) +
           std::string(operatorPart(entry));
}

std::vector<Sheet> paperSheets(State& state) {
    state.printplaces = kPrintPlaces;
    const int last = std::min(state.nextline - 1, kTapeLines);
    auto placeLine = [&](std::vector<PlacedText>& texts, int line, int row, const HalfEdges& edges) {
        place(texts, edges.lineNumber, row, [&] { return lineNumberCell(line); });
        place(texts, edges.entry, row, [&] { return paperEntry(state.entries.at(line)); });
        place(texts, edges.subtotal, row, [&] { return subtotalText(state, line); });
    };

    std::vector<Sheet> sheets;
    const int count = sheetCount(state.nextline);
    for (int s = 0; s < count; ++s) {
        Sheet sheet{s * kLinesPerSheet, s == 0, {}};
        for (int r = 1; r <= kPageRows; ++r) {
            const int n = sheet.baseLine + r, m = n + kPageRows;
            if (n <= last) placeLine(sheet.texts, n, r, kPaperLeft);
            if (m <= last) placeLine(sheet.texts, m, r, kPaperRight);
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
