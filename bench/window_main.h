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
    void setClipboardText(const QString&) override {}
    QString stateFolder() override { return {}; }
    QSize screenSize() override { return {}; }
    QDate today() override { return QDate(2026, 1, 1); }
    QString dataFile(const QString& name) override { return Desktop().dataFile(name); }
    EndChoice askEnd(QWidget*, const QString&) override { return EndChoice::Cancel; }
};

// The state the window works on, and its controls and panels by name.
inline tally::State*& windowState() {
    static tally::State* state = nullptr;
    return state;
}
template <class W>
W* part(const Calculator* window, const char* name = nullptr) {
    return name ? window->findChild<W*>(name) : window->findChild<W*>();
}

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
    windowState() = &state;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
