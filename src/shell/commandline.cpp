#include "shell/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

CommandLine readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A desk adding machine with a paper tape."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A tape file to open at start."),
                                 QStringLiteral("[FILE]"));
    CommandLine line;
    // parse() rather than process(): the caller decides how to end, so this can be tried out.
    if (!parser.parse(arguments)) {
        line.exitCode = 1;
        line.output = parser.errorText() + '\n';
    } else if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        line.exitCode = 0;
        line.output = parser.helpText();
    } else if (parser.isSet(version)) {
        line.exitCode = 0;
        line.output = QCoreApplication::applicationName() + ' ' + QCoreApplication::applicationVersion() + '\n';
    } else if (parser.positionalArguments().size() > 1) {
        line.exitCode = 1;
        line.output = QStringLiteral("Only one tape can be opened at a time.\n");
    } else if (!parser.positionalArguments().isEmpty()) {
        line.tape = parser.positionalArguments().front();
    }
    return line;
}
