#pragma once
// The main() of the window benchmarks: the real window, offscreen unless a platform is set,
// silent, and never waiting on a dialog or quitting.
#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>
#include <functional>

#include "core/state.h"
#include "shell/sounds.h"
#include "window/calculator.h"

inline int runWindowBenchmarks(int argc, char** argv, Calculator*& window,
                               const std::function<void(Calculator&)>& prepare = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    tally::State state;
    SilentPlayer sounds;
    Calculator calculator(state, sounds);
    calculator.tellUser = [](const QString&, const QString&) {};
    calculator.endProgram = [] {};
    if (prepare) prepare(calculator);
    calculator.show();
    if (!QTest::qWaitForWindowExposed(&calculator)) return 1;
    window = &calculator;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
