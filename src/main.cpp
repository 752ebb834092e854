#include <QApplication>
#include <QIcon>
#include <algorithm>
#include <cstdio>

#include "core/state.h"
#include "files/tapefile.h"
#include "shell/access.h"
#include "shell/commandline.h"
#include "shell/endsignals.h"
#include "shell/look.h"
#include "shell/outside.h"
#include "shell/sounds.h"
#include "tape/keeper.h"
#include "window/calculator.h"

namespace {
// The command line, read before any window exists: --help and --version answer without a display.
// Only an option needs an application object to answer; a plain start does without one.
CommandLine commandLine(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("tallyroll"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TALLYROLL_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (std::none_of(arguments.begin() + 1, arguments.end(), [](const QString& a) { return a.startsWith('-'); }))
        return readCommandLine(arguments);
    QCoreApplication probe(argc, argv);
    return readCommandLine(QCoreApplication::arguments());
}
} // namespace

int main(int argc, char* argv[]) {
    const CommandLine line = commandLine(argc, argv);
    if (line.exitCode) {
        std::fputs(line.output.toLocal8Bit().constData(), *line.exitCode == 0 ? stdout : stderr);
        return *line.exitCode;
    }
    QApplication app(argc, argv);
    applyClassicLook(app);
    installReadingRoles();
    // The sizes a task bar and a window list use; X drops an icon property as large as 256 px.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addFile(QString(":/icons/%1x%1/apps/tallyroll.png").arg(size), QSize(size, size));
    app.setWindowIcon(icon);
    tally::State state;
    EffectPlayer sounds;
    Desktop desktop;
    Calculator calculator(state, sounds, desktop);
    TapeKeeper keeper(desktop.stateFolder().toStdString(), [&state] { return tally::encodeTape(state.tape); });
    calculator.keepTape(&keeper);
    // A logout, a shutdown, a closed terminal and Ctrl+C end the program through its normal end,
    // without Exit's question: nobody may be there to answer.
    EndSignals endSignals;
    QObject::connect(&endSignals, &EndSignals::endRequested, &app, [] { QCoreApplication::quit(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &keeper,
                     [&keeper] { keeper.flush(std::chrono::seconds(5)); });
    calculator.show();
    if (!line.tape.isEmpty())
        calculator.openTape(line.tape);
    const int code = app.exec();
    keeper.finish();
    return code;
}
