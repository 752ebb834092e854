#include "files/records.h"

#include <algorithm>

namespace tally {
namespace {

constexpr std::string_view kSeparators = ",\r\n";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

RecordReader::RecordReader(std::string_view bytes) noexcept : bytes_(bytes) {
    // A byte-order mark some editors put in front of UTF-8 text is no part of the first field.
    if (bytes_.starts_with("\xEF\xBB\xBF"))
        pos_ = 3;
    contentEnd_ = bytes_.size();
    while (contentEnd_ > 0) {
        const char c = bytes_[contentEnd_ - 1];
        if (!isBlank(c) && c != '\r' && c != '\n')
            break;
        --contentEnd_;
    }
}

void RecordReader::skipSeparator() noexcept {
    afterComma_ = false;
    if (pos_ >= bytes_.size())
        return;
    const char c = bytes_[pos_];
    if (c == ',') {
        afterComma_ = true;
        ++pos_;
    } else if (c == '\r') {
        ++pos_;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\n')
            ++pos_;
    } else if (c == '\n') {
        ++pos_;
    }
}

std::optional<std::string> RecordReader::nextField() {
    const std::size_t n = bytes_.size();
    while (pos_ < n && isBlank(bytes_[pos_]))
        ++pos_;
    if (pos_ >= n) {
        if (!afterComma_)
            return std::nullopt;
        afterComma_ = false;
        return std::string();
    }

    std::string value;
    if (bytes_[pos_] == '"') {
        const std::size_t close = bytes_.find('"', pos_ + 1);
        if (close == std::string_view::npos) {
            // An unterminated quote takes the rest of the input.
            value.assign(bytes_.substr(pos_ + 1));
            pos_ = n;
            afterComma_ = false;
            return value;
        }
        value.assign(bytes_.substr(pos_ + 1, close - pos_ - 1));
        pos_ = std::min(bytes_.find_first_of(kSeparators, close + 1), n);
    } else {
        const std::size_t end = std::min(bytes_.find_first_of(kSeparators, pos_), n);
        value.assign(bytes_.substr(pos_, end - pos_));
        pos_ = end;
    }
    skipSeparator();
    return value;
}

std::vector<std::string> RecordReader::readRecord(std::size_t count) {
    std::vector<std::string> fields;
    fields.reserve(count);
    while (fields.size() < count) {
        auto field = nextField();
        if (!field)
            break;
        fields.push_back(std::move(*field));
    }
    return fields;
}

void appendRecord(std::string& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (std::string_view field : fields) {
        if (!first)
            out += ',';
        first = false;
        out += '"';
        out += field;
        out += '"';
    }
    out += "\r\n";
}

std::string latin1ToUtf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8ToLatin1(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    const std::size_t n = utf8.size();
    auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    auto isContinuation = [&](std::size_t i) { return i < n && (byteAt(i) & 0xC0) == 0x80; };
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = byteAt(i);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        // Length and smallest code point of the sequence this lead byte starts; anything
        // malformed (stray continuation, overlong form, truncated) becomes one '?' per byte.
        std::size_t len = 0;
        char32_t cp = 0, least = 0;
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
            least = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
            least = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
            least = 0x10000;
        }
        bool valid = len != 0;
        for (std::size_t k = 1; valid && k < len; ++k) {
            if (!isContinuation(i + k))
                valid = false;
            else
                cp = (cp << 6) | (byteAt(i + k) & 0x3F);
        }
        if (!valid || cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += '?';
            ++i;
            continue;
        }
        out += cp <= 0xFF ? static_cast<char>(cp) : '?';
        i += len;
    }
    return out;
}

} // namespace tally
