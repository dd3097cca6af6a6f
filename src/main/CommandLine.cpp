#include "main/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

void print(std::FILE* to, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

} // namespace

CommandLine readCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Platterbook keeps a catalogue of your home-made audio disc compilations."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption data(
        QStringLiteral("data"),
        QStringLiteral("Open the catalogue in <folder> (the folder that holds index.txt) rather "
                       "than the usual one."),
        QStringLiteral("folder"));
    parser.addOption(data);
    // The help is written before any application object exists.
    const QString usage = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                    QStringLiteral("platterbook"));
    CommandLine line;
    if (!parser.parse(arguments)) {
        print(stderr, QStringLiteral("platterbook: %1\n").arg(parser.errorText()) + usage);
        return {CommandLine::Done, 2};
    }
    if (parser.isSet(help)) {
        print(stdout, usage);
        return {CommandLine::Done, 0};
    }
    if (parser.isSet(version)) {
        print(stdout,
              QStringLiteral("platterbook %1\n").arg(QCoreApplication::applicationVersion()));
        return {CommandLine::Done, 0};
    }
    if (!parser.positionalArguments().isEmpty()) {
        print(stderr, QStringLiteral("platterbook: unexpected argument '%1'\n")
                              .arg(parser.positionalArguments().first()) +
                          usage);
        return {CommandLine::Done, 2};
    }
    if (parser.isSet(data))
        line.dataDir = QDir(parser.value(data)).absolutePath();
    return line;
}
