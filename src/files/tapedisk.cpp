#include "files/tapedisk.h"

#include <QFile>

#include "files/diskfile.h"

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
