#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "core/state.h"
#include "shell/commandline.h"
#include "shell/datafiles.h"
#include "shell/look.h"
#include "shell/outside.h"
#include "shell/sounds.h"
#include "window/calculator.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tallyroll"));
    QApplication::setApplicationVersion(QStringLiteral(TALLYROLL_VERSION));
    const CommandLine line = readCommandLine(QApplication::arguments());
    if (line.exitCode) {
        std::fputs(line.output.toLocal8Bit().constData(), *line.exitCode == 0 ? stdout : stderr);
        return *line.exitCode;
    }
    applyClassicLook(app);
    app.setWindowIcon(QIcon(dataFilePath("tallyroll.png")));
    tally::State state;
    EffectPlayer sounds;
    Desktop desktop;
    Calculator calculator(state, sounds, desktop);
    calculator.show();
    if (!line.tape.isEmpty()) calculator.openTape(line.tape);
    const int code = app.exec();
    calculator.keepLastSession();
    return code;
}
