#include "shell/datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString dataFilePath(const QString& name) {
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString candidates[] = {
        QDir::current().filePath(name),
        appDir + "/data/" + name,
        appDir + "/../share/tallyroll/" + name,
    };
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile()) return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return {};
}
