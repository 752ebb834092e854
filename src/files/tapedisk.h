#pragma once
// Tape files on disk, by the names the user and the desktop give them.
#include <QString>
#include <optional>
#include <vector>

#include "core/tape.h"
#include "files/tapefile.h"

// Writes the tape to `name` atomically; the reason when it failed. A file that would not open as
// this very tape is not written: it would lose data unseen.
std::optional<QString> writeTapeFile(const QString& name, const tally::Tape& tape);

// The lines of the tape file `name`, all or nothing; a message for the user when it cannot be
// taken whole.
struct TapeFileRead {
    std::vector<tally::TapeLine> lines;
    QString error;
};
TapeFileRead readTapeFile(const QString& name);
