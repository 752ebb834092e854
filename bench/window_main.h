#pragma once
// The main() of the window benchmarks: the real window, offscreen unless a platform is set,
// silent, and never waiting on a dialog or quitting.
#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>

#include "core/state.h"
#include "shell/outside.h"
#include "shell/sounds.h"
#include "window/calculator.h"

// What leaves the window: nothing is shown, started or ended; messages are counted and a file
// dialog answers with `fileName`.
class QuietOutside : public Outside {
public:
    int messages = 0;
    QString fileName;
    void tell(QWidget*, const QString&, const QString&, bool) override { ++messages; }
    bool confirm(QWidget*, const QString&, const QString&, const QString&) override { return false; }
    QString askFileName(QWidget*, FileKind) override { return fileName; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
    void showAbout(QWidget*, const QString&, const QString&) override {}
    QPrinterInfo findPrinter() override { return {}; }
    void quit() override {}
    EndChoice askEnd(QWidget*, const QString&) override { return EndChoice::Cancel; }
};

inline QuietOutside& quietOutside() {
    static QuietOutside outside;
    return outside;
}

inline int runWindowBenchmarks(int argc, char** argv, Calculator*& window) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    tally::State state;
    SilentPlayer sounds;
    Calculator calculator(state, sounds, quietOutside());
    calculator.show();
    if (!QTest::qWaitForWindowExposed(&calculator))
        return 1;
    window = &calculator;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
