// tallyroll-help: shows the calculator's manual. Started as "tallyroll-help CALC1.hlp".
#include <QApplication>
#include <QFile>
#include <QMessageBox>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/datalookup.h"
#include "files/diskfile.h"
#include "help/helpwindow.h"
#include "shell/look.h"

namespace {

// A failure is written to standard error as well, so a start from a terminal or a script sees it.
int fail(const QString& text) {
    std::fprintf(stderr, "tallyroll-help: %s\n", text.toLocal8Bit().constData());
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Calculator Help"), text, QMessageBox::Ok);
    box.exec();
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tallyroll-help"));
    applyClassicLook(app);

    const QStringList args = QApplication::arguments();
    const QString name = args.size() > 1 ? args.at(1) : QStringLiteral("CALC1.hlp");

    std::error_code ec;
    std::filesystem::path currentDir = std::filesystem::current_path(ec);
    if (ec)
        currentDir = "."; // a vanished working directory: the data directories may still serve
    const std::filesystem::path exeDir(QFile::encodeName(QApplication::applicationDirPath()).toStdString());

    const std::string wanted = QFile::encodeName(name).toStdString();
    const tally::DataLookup lookup = tally::findDataFile(wanted, currentDir, exeDir);
    if (lookup.found.empty())
        return fail(QFile::decodeName(tally::notFoundText(wanted, lookup).c_str()));

    const QString path = QFile::decodeName(lookup.found.c_str());
    // The manual is some 14 KiB; rendering megabytes of Markdown would hold the viewer for minutes.
    constexpr std::size_t kLargestManual = 256 * 1024;
    const tally::FileRead file = tally::readWholeFile(lookup.found.string(), kLargestManual);
    if (!file.ok())
        return fail(QStringLiteral("The help file \"%1\" could not be read:\n  %2\n%3.")
                        .arg(name, path, QString::fromStdString(file.error)));
    const QString markdown = QString::fromStdString(file.bytes);

    tally::HelpWindow window(markdown);
    placeOnScreen(window);
    window.show();
    return QApplication::exec();
}
