// The Help menu: the manual in the help viewer, a program of its own, and the About box.
#include <QCoreApplication>
#include <QMessageBox>
#include <QProcess>

#include "window/calculator.h"

bool Calculator::startDetached(const QString& program, const QStringList& args) {
    return QProcess::startDetached(program, args);
}

void Calculator::aboutBox(const QString& title, const QString& text) { QMessageBox::information(this, title, text); }

QString Calculator::aboutText() {
    return QStringList{QStringLiteral("Calculator 2.0"), QStringLiteral("tallyroll developers"),
                       QStringLiteral("tallyroll@example.org"),
                       QStringLiteral(u"© December 2026 tallyroll developers. All rights reserved.")}
        .join(QStringLiteral("\r\n"));
}

void Calculator::mnuHelp_Click() {
    // The viewer ships beside the calculator. It gets the manual's bare name and finds it from
    // the current directory, which it inherits; the calculator does not wait for it.
    const QString viewer = QCoreApplication::applicationDirPath() + QStringLiteral("/tallyroll-help");
    if (!startProgram(viewer, {QStringLiteral("CALC1.hlp")}))
        tellUser(QStringLiteral("Help"), QStringLiteral("The help viewer could not be started:\n%1").arg(viewer));
}

void Calculator::mnuAbout_Click() { showAbout(QStringLiteral("Tarvex Calculator"), aboutText()); }
