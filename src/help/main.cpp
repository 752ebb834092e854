// tallyroll-help: shows the calculator's manual. Started as "tallyroll-help CALC1.hlp".
#include <QApplication>
#include <QFile>
#include <QMessageBox>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "help/helpdoc.h"
#include "help/helpwindow.h"
#include "help/oneviewer.h"
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

    tally::OneViewer one(tally::oneViewerAddress());
    if (!one.claim())
        return 0; // the open viewer comes to the front instead

    const tally::Result<tally::ManualText> manual = tally::loadManual(name, currentDir, exeDir);
    if (!manual)
        return fail(QString::fromStdString(manual.reason()));

    tally::HelpWindow window(manual->markdown, manual->folder);
    QObject::connect(&one, &tally::OneViewer::raiseRequested, &window, [&window] {
        if (window.isMinimized())
            window.showNormal();
        window.raise();
        window.activateWindow();
    });
    placeOnScreen(window);
    window.show();
    return QApplication::exec();
}
