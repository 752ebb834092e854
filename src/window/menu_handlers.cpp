// The menus' own actions: the print preview (one at a time), the manual in the help viewer, a
// program of its own, and the About box.
#include <QCoreApplication>

#include "print/form1.h"
#include "shell/outside.h"
#include "window/calculator.h"

namespace {
// The About box's four lines, CR LF between them.
QString aboutText() {
    return QStringList{QStringLiteral("Calculator 2.0"), QStringLiteral("tallyroll developers"),
                       QStringLiteral("tallyroll@example.org"),
                       QStringLiteral(u"© December 2026 tallyroll developers. All rights reserved.")}
        .join(QStringLiteral("\r\n"));
}
} // namespace

void Calculator::mnuHelp_Click() {
    // The viewer ships beside the calculator. It gets the manual's bare name and finds it from
    // the current directory, which it inherits; the calculator does not wait for it.
    const QString viewer = QCoreApplication::applicationDirPath() + QStringLiteral("/tallyroll-help");
    if (!outside.startProgram(viewer, {QStringLiteral("CALC1.hlp")}))
        tellUser(QStringLiteral("Help"), QStringLiteral("The help viewer could not be started:\n%1").arg(viewer));
}

void Calculator::mnuAbout_Click() {
    outside.showAbout(this, QStringLiteral("Tarvex Calculator"), aboutText());
}

void Calculator::showpreview() {
    if (preview) {
        // Already open: only to the front, the image stays as it was drawn.
        if (preview->isMinimized())
            preview->showNormal();
        preview->raise();
        preview->activateWindow();
        return;
    }
    preview = new Form1(state.tape, outside, this);
    preview->show();
    preview->activateWindow(); // the keys go to it at once, even where no window manager hands them over
}

void Calculator::mnuPrint_Click() {
    showpreview();
}
