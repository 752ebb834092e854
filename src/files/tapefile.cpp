#include "files/tapefile.h"

#include <algorithm>
#include <utility>

#include "core/taperule.h"

#include "files/diskfile.h"
#include "files/records.h"

namespace tally {

std::string encodeTape(const Tape& tape) {
    std::string out;
    for (int i = 1; i <= tape.last(); ++i) {
        const auto line = static_cast<std::size_t>(i);
        appendRecord(out, {utf8ToLatin1(tape.entries[line]), utf8ToLatin1(tape.subtotals[line])});
    }
    return out;
}

Result<> readsBack(const Tape& tape, std::string_view bytes) {
    if (bytes.size() > kLargestTapeFile)
        return Failure{"The tape would make a file of " + std::to_string(bytes.size() / 1024) +
                       " KiB, and Open reads no tape file "
                       "larger than " +
                       sizeText(kLargestTapeFile) + "."};
    const int last = tape.last();
    const std::vector<TapeLine> lines = tapeLines(tape);
    const Result<std::vector<TapeLine>> back = decodeTape(bytes);
    if (back && *back == lines)
        return Done{};
    // Name the first line that does not come back on its own, so the user knows what to mend.
    for (int i = 1; i <= last; ++i) {
        Tape one;
        applyTape(one, {lines[std::size_t(i - 1)]});
        const Result<std::vector<TapeLine>> alone = decodeTape(encodeTape(one));
        if (!alone || *alone != std::vector<TapeLine>{lines[std::size_t(i - 1)]})
            return Failure{"Line " + std::to_string(i) +
                           " holds a character that a tape file cannot carry (a double quote, a control character "
                           "or a letter outside Latin-1), so the file would not open as the same tape."};
    }
    return Failure{"The file would not open as the same tape."};
}

Result<std::vector<TapeLine>> decodeTape(std::string_view bytes) {
    std::vector<TapeLine> lines;
    auto refuse = [](std::string why) { return Failure{std::move(why) + " The tape was not changed."}; };
    // A control character is the mark of a file that is no text, such as a PDF: read as records it
    // would only give lines of junk.
    const auto control =
        std::ranges::find_if(bytes, [](char c) { return isControlByte(static_cast<unsigned char>(c)); });
    if (control != bytes.end())
        return refuse("Line " + std::to_string(std::count(bytes.begin(), control, '\n') + 1) +
                      " of the file holds a control character that no tape line holds, so the file is not a tape.");
    RecordReader reader(bytes);
    while (!reader.onlyBlankLeft()) {
        std::vector<std::string> fields = reader.readRecord(2);
        if (fields.size() < 2)
            return refuse(
                "The last line of the file holds only one of its two texts, so the file seems to be cut short.");
        // A third text would be read as the next line's entry and shift every line after it.
        if (reader.commaAfterField())
            return refuse("Line " + std::to_string(lines.size() + 1) +
                          " of the file holds more than two texts, and a tape line holds an entry and a subtotal.");
        if (lines.size() == static_cast<std::size_t>(kTapeLines))
            return refuse("The file holds more than 1000 lines, and the tape holds at most 1000.");
        lines.push_back({latin1ToUtf8(fields[0]), latin1ToUtf8(fields[1])});
    }
    return lines;
}

void applyTape(Tape& tape, const std::vector<TapeLine>& lines) {
    const std::size_t count = std::min(lines.size(), static_cast<std::size_t>(kTapeLines));
    for (std::size_t i = 1; i <= static_cast<std::size_t>(kTapeLines); ++i) {
        if (i <= count) {
            tape.entries[i] = lines[i - 1].entry;
            tape.subtotals[i] = lines[i - 1].subtotal;
        } else {
            tape.entries[i].clear();
            tape.subtotals[i].clear();
        }
    }
    tape.nextline = static_cast<int>(count) + 1;
}

void keepTape(std::vector<TapeLine>& kept, const Tape& tape) {
    if (tape.nextline > 1)
        kept = tapeLines(tape);
}

std::vector<TapeLine> tapeLines(const Tape& tape) {
    std::vector<TapeLine> lines;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(tape.last()); ++i)
        lines.push_back({tape.entries[i], tape.subtotals[i]});
    return lines;
}

} // namespace tally
