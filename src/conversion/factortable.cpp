#include "conversion/factortable.h"

#include <array>
#include <utility>

#include "core/numbers.h"
#include "files/records.h"

namespace tally {

std::vector<FactorRow> readFactorTable(std::string_view bytes) {
    std::vector<FactorRow> rows;
    RecordReader reader(bytes);
    while (!reader.onlyBlankLeft()) {
        std::vector<std::string> f = reader.readRecord(4);
        if (f.size() < 4)
            break; // only the end of the input cuts a record short: drop it
        rows.push_back({latin1ToUtf8(f[0]), latin1ToUtf8(f[1]), latin1ToUtf8(f[2]), latin1ToUtf8(f[3])});
    }
    return rows;
}

std::string factorFileName(std::string_view category) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kFiles = {{
        {"Area", "area.txt"},
        {"Concentration", "concentration.txt"},
        {"Length", "length.txt"},
        {"Volume", "volume.txt"},
        {"Weight", "weight.txt"},
    }};
    for (const auto& [name, file] : kFiles)
        if (name == category)
            return std::string(file);
    return {};
}

std::string unitLabel(std::string_view caption) {
    const std::size_t mark = caption.find('>');
    if (mark == std::string_view::npos)
        return std::string(caption);
    return std::string(caption.substr(mark + 1));
}

Conversion convertEntry(std::string_view entry, std::optional<std::string_view> factor) {
    Conversion result;
    if (!holdsOneNumber(entry)) {
        result.fault = ConversionFault::EntryNotNumber;
        return result;
    }
    if (factor && !holdsOneNumber(*factor)) {
        result.fault = ConversionFault::FactorNotNumber;
        return result;
    }
    const std::optional<double> value = wholeNumber(entry);
    const std::optional<double> times = factor ? wholeNumber(*factor) : 0.0;
    const std::optional<std::string> text = value && times ? numbertext(*value * *times) : std::nullopt;
    if (!text)
        result.fault = ConversionFault::NoFiniteResult;
    else
        result.text = *text;
    return result;
}

std::string conversionFaultText(ConversionFault fault) {
    switch (fault) {
    case ConversionFault::None:
        return {};
    case ConversionFault::EntryNotNumber:
        return "The entry is not a number, so it cannot be converted.";
    case ConversionFault::FactorNotNumber:
        return "The conversion factor in the table is not a number, so the entry was not converted.";
    case ConversionFault::NoFiniteResult:
        return "The converted number would be too large, so the entry was not converted.";
    }
    return {};
}

} // namespace tally
