#include "files/tapefile.h"

#include <algorithm>

#include "files/records.h"

namespace tally {

std::string encodeTape(const State& state) {
    std::string out;
    const int last = std::min(state.nextline - 1, kTapeLines);
    for (int i = 1; i <= last; ++i) {
        const auto line = static_cast<std::size_t>(i);
        appendRecord(out, {utf8ToLatin1(state.entries[line]), utf8ToLatin1(state.subtotals[line])});
    }
    return out;
}

TapeDecode decodeTape(std::string_view bytes) {
    TapeDecode result;
    RecordReader reader(bytes);
    while (!reader.onlyBlankLeft()) {
        std::vector<std::string> fields = reader.readRecord(2);
        if (fields.size() < 2) {
            result.lines.clear();
            result.error = "The last line of the file holds only one of its two texts, so the file "
                           "seems to be cut short. The tape was not changed.";
            return result;
        }
        if (result.lines.size() == static_cast<std::size_t>(kTapeLines)) {
            result.lines.clear();
            result.error = "The file holds more than 1000 lines, and the tape holds at most 1000. "
                           "The tape was not changed.";
            return result;
        }
        result.lines.push_back({latin1ToUtf8(fields[0]), latin1ToUtf8(fields[1])});
    }
    return result;
}

void applyTape(State& state, const std::vector<TapeLine>& lines) {
    const std::size_t count = std::min(lines.size(), static_cast<std::size_t>(kTapeLines));
    for (std::size_t i = 1; i <= static_cast<std::size_t>(kTapeLines); ++i) {
        if (i <= count) {
            state.entries[i] = lines[i - 1].entry;
            state.subtotals[i] = lines[i - 1].subtotal;
        } else {
            state.entries[i].clear();
            state.subtotals[i].clear();
        }
    }
    state.nextline = static_cast<int>(count) + 1;
}

std::vector<TapeLine> tapeLines(const State& state) {
    std::vector<TapeLine> lines;
    const int last = std::min(state.nextline - 1, kTapeLines);
    for (std::size_t i = 1; i <= static_cast<std::size_t>(std::max(last, 0)); ++i)
        lines.push_back({state.entries[i], state.subtotals[i]});
    return lines;
}

} // namespace tally
