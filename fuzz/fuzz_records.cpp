// Any bytes through the record reader and the text conversions. Fields read back from what the
// writer wrote must be the same fields.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "files/records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    tally::RecordReader reader(bytes);
    std::vector<std::string> fields;
    std::size_t total = 0;
    while (!reader.atEnd()) {
        const auto record = reader.readRecord(2);
        for (const auto& f : record)
            total += f.size();
        fields.insert(fields.end(), record.begin(), record.end());
        if (record.size() < 2)
            break;
    }
    if (total > size)
        std::abort();

    // A quote inside a field is written as it is and cannot come back; all else must.
    std::vector<std::string> plain;
    for (const auto& f : fields)
        if (f.find('"') == std::string::npos)
            plain.push_back(f);
    std::string written;
    for (const auto& f : plain)
        tally::appendRecord(written, {f});
    tally::RecordReader again(written);
    for (const auto& f : plain) {
        const auto back = again.nextField();
        if (!back || *back != f)
            std::abort();
    }
    if (!again.atEnd())
        std::abort();

    if (tally::utf8ToLatin1(tally::latin1ToUtf8(bytes)) != bytes)
        std::abort();
    (void)tally::utf8ToLatin1(bytes);
    return 0;
}
