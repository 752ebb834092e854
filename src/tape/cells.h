#pragma once
// The texts of a tape row's three cells, and which line goes to which of the nine rows.
// The print preview and the printed page build their row texts from the same pieces.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/numbers.h"

namespace tally {

constexpr int kVisibleRows = 9; // row 0 is the bottom row, row 8 the top row

// Subtotal patterns by number of decimal places (0..4).
constexpr std::array<std::string_view, 5> kSubtotalPatterns = {"###,###,###", "###,###,###.0", "###,###,###.00",
                                                               "###,###,###.000", "###,###,###.0000"};

// "7 #", "1000 #"; the text without " #" is lineNumberText.
std::string lineNumberText(int line);
std::string lineNumberCell(int line);
// The entry's number with two to eight decimals, then its operator part: "1,234.50 +", "2.125 x".
// None when the entry's number is too large for a double. entryNumberCell is the number alone,
// in its grouped form whatever its width.
std::optional<std::string> entryCell(std::string_view entry, const Fits& fits = {});
std::optional<std::string> entryNumberCell(std::string_view entry);
// A subtotal formatted with `pattern`, then " =" (an empty subtotal gives " ="); subtotalNumberCell is
// the formatted subtotal alone.
std::string subtotalNumberCell(std::string_view subtotal, std::string_view pattern);
std::string subtotalCell(std::string_view subtotal, std::string_view pattern, const Fits& fits = {});
// As the newest-lines view shows it: a subtotal that is a number is formatted with " =";
// any other text, the empty one included, stands unchanged.
std::string newestSubtotalCell(std::string_view subtotal, std::string_view pattern, const Fits& fits = {});

// The nine rows of the tape view with `bottomLine` on the bottom row: row r shows line
// bottomLine - r, 0 when no line. The newest-lines view leaves a row without a line as it is;
// the scrolled view blanks it, so rows above line 1 never show a line of before.
struct ViewLines {
    std::array<int, kVisibleRows> lines{};
    bool scrolled = false;
};
ViewLines newestView(int nextline);
ViewLines scrolledView(int bottomLine);

} // namespace tally
