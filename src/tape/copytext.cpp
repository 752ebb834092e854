#include "tape/copytext.h"

#include "core/taperule.h"
#include "tape/cells.h"

namespace tally {

namespace {
void appendField(std::string& out, std::string_view text, char after) {
    for (char c : text)
        out += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    out += after;
}
} // namespace

std::string copyText(const Tape& tape, std::string_view pattern) {
    std::string out;
    for (int n = 1; n <= tape.last(); ++n) {
        const std::string& entry = tape.entries[static_cast<std::size_t>(n)];
        const char op = entryOperator(entry);
        appendField(out, lineNumberText(n), '\t');
        appendField(out, entryNumberCell(entry).value_or(std::string(splitEntry(entry).number)), '\t');
        appendField(out, op ? std::string_view(&op, 1) : std::string_view(), '\t');
        appendField(out, subtotalNumberCell(tape.subtotals[static_cast<std::size_t>(n)], pattern), '\n');
    }
    return out;
}

} // namespace tally
