#include "files/lastsession.h"

#include <algorithm>
#include <cstdio>

namespace tally {

namespace {
bool absolute(std::string_view path) {
    return !path.empty() && path.front() == '/';
}

std::string withoutTrailingSlash(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path == "/" ? "" : path);
}

constexpr std::string_view kStemPrefix = "tape-";

// A stem this program could have made: the prefix, then digits and dashes only, so a name that
// merely looks alike ("tape-../x", "tape-.cal") is none of ours.
bool ownStem(std::string_view stem) {
    if (!stem.starts_with(kStemPrefix) || stem.size() == kStemPrefix.size())
        return false;
    stem.remove_prefix(kStemPrefix.size());
    return std::all_of(stem.begin(), stem.end(), [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}
} // namespace

std::string stateFolder(std::string_view xdgStateHome, std::string_view home) {
    if (absolute(xdgStateHome))
        return withoutTrailingSlash(xdgStateHome) + "/tallyroll";
    if (absolute(home))
        return withoutTrailingSlash(home) + "/.local/state/tallyroll";
    return {};
}

std::string sessionStem(const LocalTime& t, long long pid, int attempt) {
    char text[128];
    std::snprintf(text, sizeof text, "tape-%04d-%02d-%02d-%02d%02d%02d-%lld", t.year, t.month, t.day, t.hour, t.minute,
                  t.second, pid);
    std::string stem = text;
    if (attempt > 0)
        stem += '-' + std::to_string(attempt);
    return stem;
}

KeptName keptName(std::string_view fileName) {
    if (fileName == kLastSessionFile)
        return {KeptName::Tape, std::string(fileName.substr(0, fileName.size() - kTapeSuffix.size()))};
    for (auto [suffix, kind] : {std::pair{kTapeSuffix, KeptName::Tape}, {kLockSuffix, KeptName::Lock}}) {
        if (!fileName.ends_with(suffix))
            continue;
        const std::string_view stem = fileName.substr(0, fileName.size() - suffix.size());
        if (ownStem(stem))
            return {kind, std::string(stem)};
    }
    return {};
}

KeptChoice chooseKept(std::vector<KeptTape> tapes) {
    std::sort(tapes.begin(), tapes.end(), [](const KeptTape& a, const KeptTape& b) {
        return a.changedNs != b.changedNs ? a.changedNs > b.changedNs : a.stem > b.stem;
    });
    KeptChoice choice;
    for (KeptTape& tape : tapes) {
        if (tape.running)
            continue;
        if (tape.lines > 0 && choice.offered.size() < kKeptSessions)
            choice.offered.push_back(std::move(tape));
        else
            choice.removed.push_back(tape.stem);
    }
    return choice;
}

std::string keptRowText(const KeptTape& tape) {
    char when[96];
    std::snprintf(when, sizeof when, "%02d-%02d-%04d %02d:%02d", tape.changed.month, tape.changed.day,
                  tape.changed.year, tape.changed.hour, tape.changed.minute);
    return std::string(when) + ", " + std::to_string(tape.lines) + (tape.lines == 1 ? " line, " : " lines, ") +
           (tape.lastSubtotal.empty() ? "no subtotal" : tape.lastSubtotal);
}

} // namespace tally
