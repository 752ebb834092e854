#pragma once
// Where the tape of the last session is kept: the user's state folder of the XDG base directory
// rules, which Qt 6.4's QStandardPaths does not know yet.
#include <string>
#include <string_view>

namespace tally {

// "$XDG_STATE_HOME/tallyroll"; "$HOME/.local/state/tallyroll" when XDG_STATE_HOME is unset, empty
// or relative (the rules say to ignore a relative one). Empty when neither gives an absolute folder.
std::string stateFolder(std::string_view xdgStateHome, std::string_view home);

constexpr std::string_view kLastSessionFile = "last-session.cal";

} // namespace tally
