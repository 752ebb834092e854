// Any bytes as a tape file. A file that loads must save to bytes that load to the same lines,
// unless a text holds a double quote, which the file format cannot carry.
#include <cstdint>
#include <cstdlib>

#include "files/tapefile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tally::Result<std::vector<tally::TapeLine>> loaded = tally::decodeTape(bytes);
    if (!loaded)
        return 0;
    if (loaded->size() > static_cast<std::size_t>(tally::kTapeLines))
        std::abort();

    static tally::Tape state; // large; one for the whole run
    tally::applyTape(state, *loaded);
    if (state.nextline != static_cast<int>(loaded->size()) + 1)
        std::abort();

    for (const auto& line : *loaded)
        if (line.entry.find('"') != std::string::npos || line.subtotal.find('"') != std::string::npos)
            return 0;
    const tally::Result<std::vector<tally::TapeLine>> again = tally::decodeTape(tally::encodeTape(state));
    if (!again || *again != *loaded)
        std::abort();
    return 0;
}
