#pragma once
// The ".cal" tape file: one record per tape line, the entry text and the subtotal text in double
// quotes, CR LF after each, Latin-1 bytes. An empty tape is an empty file.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "core/tape.h"

namespace tally {

struct TapeLine {
    std::string entry;
    std::string subtotal;
    bool operator==(const TapeLine&) const = default;
};

// Open reads no larger tape file: 1000 lines of everyday figures take well under 100 KiB, and a
// file far beyond that would only cost the window seconds to measure and draw.
constexpr std::size_t kLargestTapeFile = 512 * 1024;

// The bytes of the file for lines 1 .. nextline - 1.
std::string encodeTape(const Tape& tape);

// Whether `bytes`, encoded from `tape`, would open again as the same tape; if not, why not (a line
// holding a double quote or a character Latin-1 lacks, a file too large for Open).
Result<> readsBack(const Tape& tape, std::string_view bytes);

// All or nothing: a file the tape cannot hold whole is refused, so a failed load never leaves
// a half-replaced tape behind; so is a file holding a control character (no text file of
// tape lines holds one) or a record of more than two texts. Blank lines after the last record
// are ignored. Every line of the file, or the message for the user that says why not.
Result<std::vector<TapeLine>> decodeTape(std::string_view bytes);

// Lines 1..n become the loaded lines and lines n+1..1000 are emptied, so nothing of the old
// tape shows up again behind the loaded one; nextline becomes n + 1. At most 1000 lines are taken.
void applyTape(Tape& tape, const std::vector<TapeLine>& lines);
// Lines 1 .. nextline - 1 of the tape, as applyTape takes them back.
std::vector<TapeLine> tapeLines(const Tape& tape);
// Before a tape is cleared or replaced: its lines go to `kept`, from where they can be brought
// back; an empty tape keeps what was kept before.
void keepTape(std::vector<TapeLine>& kept, const Tape& tape);

} // namespace tally
