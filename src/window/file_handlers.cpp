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
    if (const tally::Result<> saved = writeTapeFile(name, state.tape); !saved)
        tellUser("Save As", QString("The tape could not be saved to\n%1\n\n%2\n\nAny file that was there is unchanged.")
                                .arg(name, QString::fromStdString(saved.reason())));
}

void Calculator::mnuOpen_Click() {
    const QString name = outside.askFileName(this, Outside::FileKind::OpenTape);
    Text2->setFocus();
    if (name.isEmpty())
        return;
    openTape(name);
}

bool Calculator::openTape(const QString& name) {
    const tally::Result<std::vector<tally::TapeLine>> file = readTapeFile(name);
    if (!file) {
        tellUser("Open", QString::fromStdString(file.reason()));
        return false;
    }
    // The tape on view can be brought back as a cleared one can.
    tally::keepTape(clearedTape, state.tape);
    loadTape(*file);
    return true;
}

void Calculator::loadTape(const std::vector<tally::TapeLine>& loaded) {
    tally::applyTape(state.tape, loaded);
    tapeChanged();
    tape->showLoaded();
}
