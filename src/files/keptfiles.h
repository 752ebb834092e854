#pragma once
// The kept tapes on disk: the private state folder, this session's own tape and lock, and the
// tapes of sessions that have ended. Nothing here follows a link, reads a pipe or writes a file
// it did not make: such a name is skipped.
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "files/lastsession.h"
#include "files/tapefile.h"

namespace tally {

// Makes the folder (and its parents) when missing, and private (0700) when it is the user's own.
// Refused when it is not a folder or belongs to another user.
Result<> prepareStateFolder(const std::string& folder);

// The tape of one running program. Its first keep makes the folder private and takes the lock
// that tells other programs this session still runs; every keep replaces the tape atomically.
class KeptSession {
public:
    explicit KeptSession(std::string folder);
    ~KeptSession();
    KeptSession(const KeptSession&) = delete;
    KeptSession& operator=(const KeptSession&) = delete;

    Result<> keep(std::string_view bytes);
    // Removes this session's tape: it no longer holds the tape on view, and must not be taken
    // for it later.
    void forget();
    // The end of the session: the lock goes, so the tape counts as ended.
    void end();
    // The stem of this session's files; empty before the first keep.
    const std::string& stem() const { return stem_; }

private:
    std::string folder_;
    std::string stem_;
    int lock_ = -1;
    Result<> start();
};

// Every kept tape in the folder that can be read as a tape, with whether its program still runs.
std::vector<KeptTape> readKeptTapes(const std::string& folder);
// The lines of one kept tape, by stem.
Result<std::vector<TapeLine>> readKeptTape(const std::string& folder, const std::string& stem);
// Removes the tapes of ended sessions beyond the ones offered, and locks left by ended sessions.
void pruneKeptTapes(const std::string& folder);

} // namespace tally
