// Saving and loading the tape as a ".cal" file.
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>

#include "files/diskfile.h"
#include "files/tapefile.h"
#include "window/calculator.h"

void Calculator::mnuSaveAs_Click() {
    const QString name = askFileName(true);
    Text2->setFocus();
    if (name.isEmpty())
        return;
    if (const std::optional<QString> why = writeTapeFile(name, state))
        tellUser("Save As", QString("The tape could not be saved to\n%1\n\n%2\n\nAny file that was there is unchanged.")
                                .arg(name, *why));
}

std::optional<QString> Calculator::writeTapeFile(const QString& name, const tally::State& tape) {
    const std::string bytes = tally::encodeTape(tape);
    // A file that would not open as this very tape is not written: it would lose data unseen.
    std::string why = tally::readBackProblem(tape, bytes);
    if (why.empty())
        why = tally::replaceFile(QFile::encodeName(name).toStdString(), bytes);
    if (why.empty())
        return std::nullopt;
    return QString::fromStdString(why);
}

void Calculator::mnuOpen_Click() {
    const QString name = askFileName(false);
    Text2->setFocus();
    if (name.isEmpty())
        return;
    openTape(name);
}

bool Calculator::openTape(const QString& name) {
    const tally::FileRead file = tally::readWholeFile(QFile::encodeName(name).toStdString(), tally::kLargestTapeFile);
    if (!file.ok()) {
        tellUser("Open", QString("The file\n%1\ncould not be opened: %2.\n\nThe tape was not changed.")
                             .arg(name, QString::fromStdString(file.error)));
        return false;
    }
    const tally::TapeDecode tape = tally::decodeTape(file.bytes);
    if (!tape.ok()) {
        tellUser("Open", QString::fromStdString(tape.error));
        return false;
    }
    // The tape on view can be brought back as a cleared one can.
    tally::keepTape(clearedTape, state);
    loadTape(tape.lines);
    return true;
}

void Calculator::loadTape(const std::vector<tally::TapeLine>& loaded) {
    tally::applyTape(state, loaded);
    tapeChanged();
    // The view stands at the loaded tape's end, as the scroll bar shows it.
    // An empty tape keeps the bar at 1, as at start: a maximum of 0 would pull its minimum to 0.
    const int lines = state.nextline - 1;
    VScroll1->setMaximum(std::max(lines, VScroll1->minimum()));
    VScroll1->setValue(VScroll1->maximum());
    scrollline = lines + 1;
    printscroll();
}
