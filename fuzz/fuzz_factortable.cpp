// Any bytes as a factor file, and every row's factor used for a conversion.
#include <cstdint>
#include <cstdlib>

#include "conversion/factortable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto rows = tally::readFactorTable(bytes);
    for (const auto& row : rows) {
        const auto c = tally::convertEntry(row.from, std::string_view(row.factor));
        if (c.fault == tally::ConversionFault::None && c.text.empty())
            std::abort();
        (void)tally::unitLabel(row.caption);
    }
    (void)tally::factorFileName(bytes);
    return 0;
}
