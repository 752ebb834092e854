#include <QApplication>

#include "core/state.h"
#include "shell/sounds.h"
#include "window/calculator.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    app.setWindowIcon(QIcon(":/tallyroll.png"));
    tally::State state;
    EffectPlayer sounds;
    Calculator calculator(state, sounds);
    calculator.show();
    return app.exec();
}
