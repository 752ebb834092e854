#include "core/tape.h"

#include "core/numbers.h"
#include "core/taperule.h"

namespace tally {

bool writeLine(Tape& tape, std::string_view box, char op) {
    if (tape.full())
        return false;
    const int n = tape.nextline;
    const std::optional<double> value = textvalue(box);
    const std::string number = value ? *numbertext(*value) : keepSavable(box);
    tape.entries[n] = joinEntry(number, n == 1 ? '\0' : op);
    tape.subtotals[n] =
        (n == 1 ? firstSubtotal(number) : combine(tape.subtotals[n - 1], tape.entries[n], op)).value_or("");
    tape.nextline = n + 1;
    return true;
}

void recalculate(Tape& tape) {
    for (int k = 1; k <= tape.last(); ++k) {
        const std::string& entry = tape.entries[k];
        const char op = entryOperator(entry);
        if (k > 1 && !op)
            continue;
        tape.subtotals[k] = (k == 1 ? firstSubtotal(entry) : combine(tape.subtotals[k - 1], entry, op)).value_or("");
    }
}

void clearTape(Tape& tape) {
    for (int line = 1; line <= std::min(tape.nextline, kTapeLines); ++line) {
        tape.entries[line].clear();
        tape.subtotals[line].clear();
    }
    tape.nextline = 1;
}

void correctLine(Tape& tape, int line, std::string_view opened, std::string_view typed, char op) {
    if (line >= 1 && line < tape.nextline)
        tape.entries[line] = editedEntry(tape.entries[line], opened, typed, op);
    recalculate(tape);
}

} // namespace tally
