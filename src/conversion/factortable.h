#pragma once
// Factor tables for unit conversion: reading a category's factor file, the button caption's unit
// label, and multiplying an entry by a factor.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tally {

// One record of a factor file, in file order: source unit, factor as text, target unit, and the
// caption of the convert button ("in > cm").
struct FactorRow {
    std::string from, factor, to, caption;
    bool operator==(const FactorRow&) const = default;
};

// The rows of a factor file's (Latin-1) bytes, in file order, as UTF-8. A record that the end of
// the file cuts short, such as an empty line after the last record, gives no row.
std::vector<FactorRow> readFactorTable(std::string_view bytes);

// "Area" -> "area.txt", ... "Weight" -> "weight.txt"; the category must match exactly, with case.
// "" for any other text, "None" included.
std::string factorFileName(std::string_view category);

// The unit shown after converting: what follows the caption's first ">", blanks kept;
// the whole caption when it has no ">".
std::string unitLabel(std::string_view caption);

enum class ConversionFault {
    None,
    EntryNotNumber,
    FactorNotNumber,
    NoFiniteResult
};

struct Conversion {
    ConversionFault fault = ConversionFault::None;
    std::string text; // numbertext of the product when fault is None
};

// The entry times the factor, each of which must hold exactly one number. No factor picked yet
// (nullopt) counts as 0. A number too large for a double, or a product that is not finite, gives
// NoFiniteResult.
Conversion convertEntry(std::string_view entry, std::optional<std::string_view> factor);

// A plain sentence for the user about a fault; "" for None.
std::string conversionFaultText(ConversionFault fault);

} // namespace tally
