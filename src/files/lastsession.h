#pragma once
// Where the tapes of past sessions are kept and how they are named, chosen and shown: the user's
// state folder of the XDG base directory rules, which Qt 6.4's QStandardPaths does not know yet.
// Each running program keeps its own tape file there, "tape-2026-12-10-124512-4242.cal" (start
// time and process), with a lock file of the same stem that it holds locked while it runs.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tally {

// "$XDG_STATE_HOME/tallyroll"; "$HOME/.local/state/tallyroll" when XDG_STATE_HOME is unset, empty
// or relative (the rules say to ignore a relative one). Empty when neither gives an absolute folder.
std::string stateFolder(std::string_view xdgStateHome, std::string_view home);

// The single file earlier versions kept at program end; still offered as an ended session.
constexpr std::string_view kLastSessionFile = "last-session.cal";
constexpr std::string_view kTapeSuffix = ".cal";
constexpr std::string_view kLockSuffix = ".lock";
// How many ended sessions are kept and listed; older ones are removed.
constexpr std::size_t kKeptSessions = 20;

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// The stem of a session's files; `attempt` > 0 tells apart two starts in one second under one
// process number, which only a reused number can give.
std::string sessionStem(const LocalTime& started, long long pid, int attempt);

// What a file name in the state folder is to the sessions: a kept tape, a session's lock, or
// nothing of theirs (the stem is then empty).
struct KeptName {
    enum Kind {
        Other,
        Tape,
        Lock
    } kind = Other;
    std::string stem;
};
KeptName keptName(std::string_view fileName);

// A kept tape as read from the folder.
struct KeptTape {
    std::string stem;
    std::int64_t changedNs = 0; // when it was last written, for the order
    LocalTime changed;          // the same in local time, as shown
    int lines = 0;
    std::string lastSubtotal;
    bool running = false; // its program still runs: its tape is not the past's yet
};

// Which kept tapes are offered: ended ones that hold lines, newest first, at most kKeptSessions;
// and the stems to remove: ended sessions beyond those, and ended ones whose tape is empty.
struct KeptChoice {
    std::vector<KeptTape> offered;
    std::vector<std::string> removed;
};
KeptChoice chooseKept(std::vector<KeptTape> tapes);

// A kept tape as its menu row shows it: "12-10-2026 12:45, 4 lines, 16.75".
std::string keptRowText(const KeptTape& tape);

} // namespace tally
