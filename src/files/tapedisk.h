#pragma once
// Tape files on disk, by the names the user and the desktop give them.
#include <QString>
#include <vector>

#include "core/tape.h"
#include "files/tapefile.h"

// Writes the tape to `name` atomically, or says why not. A file that would not open as this very
// tape is not written: it would lose data unseen.
tally::Result<> writeTapeFile(const QString& name, const tally::Tape& tape);

// The lines of the tape file `name`, all or nothing, or the message for the user that says why it
// cannot be taken whole.
tally::Result<std::vector<tally::TapeLine>> readTapeFile(const QString& name);
