#pragma once
// A tape line as a screen reader says it, from the texts of its three cells as they are shown:
// "line 3, 12.50 plus, subtotal 27.50". The preview's page and the tape view say their lines alike.
#include <string>
#include <string_view>

namespace tally {

// The operator's spoken name from the operator table ("plus", "divided by"); empty for any other character.
std::string_view spokenOperator(char op);

// `number` "3 #", `entry` "12.50 +", `subtotal` "27.50 =" (or the newest view's bare text). An
// empty subtotal reads as "no subtotal"; a row with no number, or with neither entry nor subtotal,
// has nothing to say and gives "".
std::string spokenLine(std::string_view number, std::string_view entry, std::string_view subtotal);

} // namespace tally
