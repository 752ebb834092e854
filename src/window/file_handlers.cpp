// Saving and loading the tape as a ".cal" file.
#include <QLineEdit>

#include "files/tapedisk.h"
#include "shell/outside.h"
#include "tape/tapeview.h"
#include "window/calculator.h"

void Calculator::mnuSaveAs_Click() {
    const QString name = outside.askFileName(this, Outside::FileKind::SaveTape);
    Text2->setFocus();
    if (name.isEmpty())
        return;
    if (const std::optional<QString> why = writeTapeFile(name, state.tape))
        tellUser("Save As", QString("The tape could not be saved to\n%1\n\n%2\n\nAny file that was there is unchanged.")
                                .arg(name, *why));
}

void Calculator::mnuOpen_Click() {
    const QString name = outside.askFileName(this, Outside::FileKind::OpenTape);
    Text2->setFocus();
    if (name.isEmpty())
        return;
    openTape(name);
}

bool Calculator::openTape(const QString& name) {
    const TapeFileRead file = readTapeFile(name);
    if (!file.error.isEmpty()) {
        tellUser("Open", file.error);
        return false;
    }
    // The tape on view can be brought back as a cleared one can.
    tally::keepTape(clearedTape, state.tape);
    loadTape(file.lines);
    return true;
}

void Calculator::loadTape(const std::vector<tally::TapeLine>& loaded) {
    tally::applyTape(state.tape, loaded);
    tapeChanged();
    tape->showLoaded();
}
