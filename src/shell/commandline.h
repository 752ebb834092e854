#pragma once
// The program's command line: `tallyroll [FILE]`, --help and --version.
#include <QString>
#include <QStringList>
#include <optional>

struct CommandLine {
    QString tape;                // the tape to open at start; empty for none
    std::optional<int> exitCode; // set when the program ends at once: help, version or a mistake
    QString output;              // what to print then: on standard output for 0, else on standard error
};

// `arguments` as QCoreApplication::arguments() gives them, the program's name first.
CommandLine readCommandLine(const QStringList& arguments);
