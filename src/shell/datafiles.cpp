#include "shell/datafiles.h"

#include <QCoreApplication>
#include <QDir>

#include "core/datalookup.h"

QString dataFilePath(const QString& name) {
    const tally::DataLookup lookup =
        tally::findDataFile(QFile::encodeName(name).toStdString(), QFile::encodeName(QDir::currentPath()).toStdString(),
                            QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    return lookup.found.empty() ? QString() : QFile::decodeName(QByteArray::fromStdString(lookup.found.string()));
}
