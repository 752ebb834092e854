#include <QApplication>
#include <QIcon>

#include "core/state.h"
#include "shell/datafiles.h"
#include "shell/outside.h"
#include "shell/sounds.h"
#include "window/calculator.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    app.setWindowIcon(QIcon(dataFilePath("tallyroll.png")));
    tally::State state;
    EffectPlayer sounds;
    Desktop desktop;
    Calculator calculator(state, sounds, desktop);
    calculator.show();
    return app.exec();
}
