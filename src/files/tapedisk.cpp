#include "files/tapedisk.h"

#include <QFile>

#include "files/diskfile.h"

tally::Result<> writeTapeFile(const QString& name, const tally::Tape& tape) {
    const std::string bytes = tally::encodeTape(tape);
    if (tally::Result<> back = tally::readsBack(tape, bytes); !back)
        return back;
    return tally::replaceFile(QFile::encodeName(name).toStdString(), bytes);
}

tally::Result<std::vector<tally::TapeLine>> readTapeFile(const QString& name) {
    const tally::Result<std::string> file =
        tally::readWholeFile(QFile::encodeName(name).toStdString(), tally::kLargestTapeFile);
    if (!file)
        return tally::Failure{QString("The file\n%1\ncould not be opened: %2.\n\nThe tape was not changed.")
                                  .arg(name, QString::fromStdString(file.reason()))
                                  .toStdString()};
    return tally::decodeTape(*file);
}
