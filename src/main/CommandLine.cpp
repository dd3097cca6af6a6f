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
    const QCommandLineOption addDisc(
        QStringLiteral("add-disc"),
        QStringLiteral("Make the disc <name> from the audio files given, in their order; a "
                       "playlist (.m3u, .m3u8, .pls, .xspf) or cue sheet (.cue) stands for its "
                       "entries."),
        QStringLiteral("name"));
    const QCommandLineOption format(
        QStringLiteral("format"),
        QStringLiteral("The source format of the tracks of --add-disc: LP, EP, Promo, Single or "
                       "CD."),
        QStringLiteral("format"));
    const QCommandLineOption inlayOf(
        QStringLiteral("inlay"),
        QStringLiteral("Write the case inlay of the disc <name> to the PDF file given."),
        QStringLiteral("name"));
    const QCommandLineOption csv(
        QStringLiteral("export-csv"),
        QStringLiteral("Write the whole catalogue as a spreadsheet to <file> (- for standard "
                       "output)."),
        QStringLiteral("file"));
    const QCommandLineOption importCsv(
        QStringLiteral("import-csv"),
        QStringLiteral("Add the discs of the spreadsheet <file> (as --export-csv writes it) to "
                       "the catalogue."),
        QStringLiteral("file"));
    const QCommandLineOption duplicates(
        QStringLiteral("duplicates"),
        QStringLiteral("Print every group of tracks that are the same song (the same artist and "
                       "title, written alike or nearly)."));
    const QCommandLineOption stats(
        QStringLiteral("stats"),
        QStringLiteral("Print the catalogue's figures: discs, tracks, playing time, time still "
                       "free, tracks by format and decade, the artists with most tracks."));
    parser.addOptions({addDisc, format, inlayOf, csv, importCsv, duplicates, stats});
    parser.addPositionalArgument(QStringLiteral("files"),
                                 QStringLiteral("The audio files of --add-disc, or the PDF file "
                                                "of --inlay."),
                                 QStringLiteral("[FILE...]"));
    // The help is written before any application object exists.
    const QString usage = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                    QStringLiteral("platterbook"));
    CommandLine line;
    if (!parser.parse(arguments)) {
        print(stderr, QStringLiteral("platterbook: %1\n").arg(parser.errorText()) + usage);
        return {CommandLine::Done, 2};
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        print(stdout, usage);
        return {CommandLine::Done, 0};
    }
    if (parser.isSet(version)) {
        print(stdout,
              QStringLiteral("platterbook %1\n").arg(QCoreApplication::applicationVersion()));
        return {CommandLine::Done, 0};
    }
    if (parser.isSet(data))
        line.dataDir = QDir(parser.value(data)).absolutePath();
    const auto wrong = [&](const QString& complaint) {
        print(stderr, QStringLiteral("platterbook: %1\n").arg(complaint) + usage);
        return CommandLine{CommandLine::Done, 2};
    };
    const int tasks = int(parser.isSet(addDisc)) + int(parser.isSet(inlayOf)) +
                      int(parser.isSet(csv)) + int(parser.isSet(importCsv)) +
                      int(parser.isSet(duplicates)) + int(parser.isSet(stats));
    if (tasks > 1)
        return wrong(QStringLiteral("one of --add-disc, --inlay, --export-csv, --import-csv, "
                                    "--duplicates and --stats at a time"));
    if (parser.isSet(format) && !parser.isSet(addDisc))
        return wrong(QStringLiteral("--format goes with --add-disc"));
    line.files = parser.positionalArguments();
    if (parser.isSet(addDisc)) {
        line.action = CommandLine::AddDisc;
        line.disc = parser.value(addDisc);
        line.format = parser.value(format);
        return line;
    }
    if (parser.isSet(inlayOf)) {
        if (line.files.size() != 1)
            return wrong(QStringLiteral("--inlay takes one PDF file to write"));
        line.action = CommandLine::Inlay;
        line.disc = parser.value(inlayOf);
        line.output = line.files.takeFirst();
        return line;
    }
    if (parser.isSet(csv)) {
        line.action = CommandLine::ExportCsv;
        line.output = parser.value(csv);
    }
    if (parser.isSet(duplicates))
        line.action = CommandLine::Duplicates;
    if (parser.isSet(stats))
        line.action = CommandLine::Statistics;
    if (parser.isSet(importCsv)) {
        line.action = CommandLine::ImportCsv;
        line.output = parser.value(importCsv);
    }
    if (!line.files.isEmpty()) {
        print(stderr, QStringLiteral("platterbook: unexpected argument '%1'\n")
                              .arg(parser.positionalArguments().first()) +
                          usage);
        return {CommandLine::Done, 2};
    }
    return line;
}
