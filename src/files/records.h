#pragma once
// Delimited text records, as both tape files and factor files hold them: fields in double quotes or
// bare, separated by commas or line ends. The reader takes any bytes; the writer quotes every field.
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tally {

class RecordReader {
public:
    // A UTF-8 byte-order mark at the very start is skipped.
    explicit RecordReader(std::string_view bytes) noexcept;

    // True when no byte is left. Tested before each record: a single line end still left
    // counts as more input, and reading from it gives an incomplete record.
    bool atEnd() const noexcept { return pos_ >= bytes_.size(); }

    // The next field, or nothing when the input ends before it starts. Blanks (spaces and tabs)
    // in front of a field are skipped. A field that begins with a double quote runs to the next
    // double quote, or to the end of the input when there is none; whatever follows the closing
    // quote up to the next comma or line end is dropped. A bare field runs to the next comma or
    // line end. CR LF, LF and a lone CR are each one line end. A comma always promises a field,
    // so "a," at the end of the input reads as "a" and an empty field.
    std::optional<std::string> nextField();

    // Up to `count` fields; fewer when the input ends inside the record.
    std::vector<std::string> readRecord(std::size_t count);

    // Whether nothing but blanks and line ends is left, such as an empty line after the last
    // record: readers of whole files take that as the end rather than as a short record.
    bool onlyBlankLeft() const noexcept { return pos_ >= contentEnd_; }

    // Whether a comma followed the last field read: its record holds a further field.
    bool commaAfterField() const noexcept { return afterComma_; }

private:
    // Steps over the comma or line end at pos_, if any, and notes whether it was a comma.
    void skipSeparator() noexcept;

    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t contentEnd_ = 0; // just after the last byte that is not a blank or line end
    bool afterComma_ = false;
};

// Appends one record: every field in double quotes, separated by commas, ended by CR LF.
// Quotes inside a field are written as they are; the texts we save never hold them.
void appendRecord(std::string& out, std::initializer_list<std::string_view> fields);

// The files are in Latin-1, the program's texts in UTF-8.
std::string latin1ToUtf8(std::string_view latin1);
// Characters that Latin-1 cannot hold, and bytes that are not valid UTF-8, become '?'.
std::string utf8ToLatin1(std::string_view utf8);

} // namespace tally
