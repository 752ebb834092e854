// The tape's own menu: the whole tape as text for the clipboard, the tape the last Clear Entries
// took off, and the tape the last session ended with, which the program keeps when it ends.
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include "files/lastsession.h"
#include "tape/copytext.h"
#include "window/calculator.h"

void Calculator::mnuCopyTape_Click() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(tally::copyText(state, patterns.at(decplaces))));
}

void Calculator::mnuRestoreTape_Click() {
    if (clearedTape.empty())
        return;
    // The tape on view takes the cleared one's place, so a restore throws nothing away either.
    const std::vector<tally::TapeLine> restored = std::exchange(clearedTape, tally::tapeLines(state));
    loadTape(restored);
}

void Calculator::mnuLastSession_Click() {
    const QString name = lastSessionFile();
    if (!name.isEmpty())
        openTape(name);
}

QString Calculator::lastSessionFile() {
    const std::string folder =
        tally::stateFolder(qEnvironmentVariable("XDG_STATE_HOME").toStdString(), QDir::homePath().toStdString());
    if (folder.empty())
        return {};
    return QString::fromStdString(folder) + '/' +
           QString::fromUtf8(tally::kLastSessionFile.data(), static_cast<qsizetype>(tally::kLastSessionFile.size()));
}

void Calculator::keepLastSession() {
    if (state.nextline <= 1)
        return;
    const QString name = lastSessionFile();
    if (name.isEmpty())
        return;
    // A tape is private: the program's own folder is the user's alone. When the folder cannot be
    // made, the write below fails and says why.
    const QString folder = QFileInfo(name).path();
    QDir().mkpath(QFileInfo(folder).path());
    QDir().mkdir(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (const std::optional<QString> why = writeTapeFile(name, state))
        qWarning("tallyroll: the tape could not be kept in %s: %s", qPrintable(name), qPrintable(*why));
}
