#include <QApplication>
#include <QIcon>

#include "core/state.h"
#include "shell/datafiles.h"
#include "shell/look.h"
#include "shell/sounds.h"
#include "window/calculator.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    applyClassicLook(app);
    app.setWindowIcon(QIcon(dataFilePath("tallyroll.png")));
    tally::State state;
    EffectPlayer sounds;
    Calculator calculator(state, sounds);
    calculator.show();
    return app.exec();
}
