// The tape's own menu: the whole tape as text for the clipboard, the tape the last Clear Entries
// took off, and the tape the last session ended with, which the program keeps when it ends.
#include "files/tapedisk.h"
#include "shell/outside.h"
#include "tape/tapeview.h"
#include "window/calculator.h"

void Calculator::mnuCopyTape_Click() {
    outside.setClipboardText(QString::fromStdString(tape->copyText()));
}

void Calculator::mnuRestoreTape_Click() {
    if (clearedTape.empty())
        return;
    // The tape on view takes the cleared one's place, so a restore throws nothing away either.
    const std::vector<tally::TapeLine> restored = std::exchange(clearedTape, tally::tapeLines(state.tape));
    loadTape(restored);
}

void Calculator::mnuLastSession_Click() {
    const QString name = lastSessionFile(outside.stateFolder());
    if (!name.isEmpty())
        openTape(name);
}

void Calculator::keepLastSession() {
    if (state.tape.nextline <= 1)
        return;
    const QString name = lastSessionFile(outside.stateFolder());
    if (name.isEmpty())
        return;
    if (const std::optional<QString> why = keepTapeFile(name, state.tape))
        qWarning("tallyroll: the tape could not be kept in %s: %s", qPrintable(name), qPrintable(*why));
}
