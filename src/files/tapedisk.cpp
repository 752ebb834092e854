#include "files/tapedisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "files/diskfile.h"
#include "files/lastsession.h"

std::optional<QString> writeTapeFile(const QString& name, const tally::Tape& tape) {
    const std::string bytes = tally::encodeTape(tape);
    std::string why = tally::readBackProblem(tape, bytes);
    if (why.empty())
        why = tally::replaceFile(QFile::encodeName(name).toStdString(), bytes);
    if (why.empty())
        return std::nullopt;
    return QString::fromStdString(why);
}

TapeFileRead readTapeFile(const QString& name) {
    const tally::FileRead file = tally::readWholeFile(QFile::encodeName(name).toStdString(), tally::kLargestTapeFile);
    if (!file.ok())
        return {{},
                QString("The file\n%1\ncould not be opened: %2.\n\nThe tape was not changed.")
                    .arg(name, QString::fromStdString(file.error))};
    tally::TapeDecode tape = tally::decodeTape(file.bytes);
    if (!tape.ok())
        return {{}, QString::fromStdString(tape.error)};
    return {std::move(tape.lines), {}};
}

std::optional<QString> keepTapeFile(const QString& file, const tally::Tape& tape) {
    // A tape is private: the program's own folder is the user's alone. When the folder cannot be
    // made, the write below fails and says why.
    const QString folder = QFileInfo(file).path();
    QDir().mkpath(QFileInfo(folder).path());
    QDir().mkdir(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return writeTapeFile(file, tape);
}

QString lastSessionFile(const QString& stateFolder) {
    if (stateFolder.isEmpty())
        return {};
    return stateFolder + '/' +
           QString::fromUtf8(tally::kLastSessionFile.data(), static_cast<qsizetype>(tally::kLastSessionFile.size()));
}
