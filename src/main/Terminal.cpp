#include "main/Terminal.h"

#include "editing/AudioTags.h"
#include "main/CommandLine.h"
#include "main/Screenres.h"
#include "printing/Inlay.h"
#include "store/Module1.h"
#include "store/Spreadsheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace {

// False when the text could not all be written.
bool put(std::FILE* to, const QString& text)
{
#ifdef Q_OS_WIN
    // A console shows every character when handed the text itself; a file or
    // a pipe gets UTF-8, the same bytes as on Linux.
    const auto console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(to)));
    if (DWORD mode = 0; ::GetConsoleMode(console, &mode)) {
        std::fflush(to);
        DWORD written = 0;
        return ::WriteConsoleW(console, text.utf16(), DWORD(text.size()), &written, nullptr) &&
               written == DWORD(text.size());
    }
#endif
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to) == size_t(bytes.size());
}

void say(std::FILE* to, const QString& text)
{
    put(to, text + u'\n');
}

int refuse(const QString& text)
{
    say(stderr, text);
    return 1;
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

int addDisc(Module1& state, const CommandLine& line)
{
    if (line.files.isEmpty())
        return refuse(QStringLiteral("Name the audio files the disc is made of."));
    // Every file read before anything is written; a playlist stands for its entries.
    const QList<AudioTrack> audio = audioTracksFrom(line.files);
    const QString count = QString::number(audio.size());
    // The name first; the count once every file gave its track.
    const std::optional<Refusal> refusal = state.catalogue().refuseNewDisc(line.disc, count);
    if (refusal && !refusal->inCount)
        return refuse(refusal->text);
    QString format;
    if (!line.format.isEmpty()) {
        const std::optional<QString> entry = catalogue::formatFor(line.format);
        if (!entry)
            return refuse(QStringLiteral("'%1' is not a source format: give LP, EP, Promo, Single "
                                         "or CD.")
                              .arg(line.format));
        format = *entry;
    }
    QList<catalogue::Track> tracks;
    for (AudioTrack track : audio) {
        if (!track.problem.isEmpty())
            return refuse(track.problem);
        if (const QString problem = unstorableText(track); !problem.isEmpty())
            return refuse(problem);
        track.track[5] = format;
        tracks.append(track.track);
    }
    if (refusal)
        return refuse(refusal->text);
    // The disc file whole, then the index: a kill leaves no disc or all of it.
    if (const Change change = state.catalogue().addDiscWithTracks(line.disc, tracks); !change.done)
        return refuse(change.problem);
    say(stdout, QStringLiteral("Made the disc '%1' of %2:")
                    .arg(line.disc, spreadsheet::tracksText(tracks.size())));
    for (qsizetype t = 0; t < tracks.size(); ++t)
        say(stdout, QStringLiteral("%1. %2 (%3)")
                        .arg(t + 1)
                        .arg(inlay::trackLine(tracks[t]), tracks[t][4]));
    return 0;
}

int writeInlay(Module1& state, const CommandLine& line)
{
    for (int row = 0; row < state.DiscCount; ++row) {
        if (state.Discs.at(row).name != line.disc)
            continue;
        // An inlay of part of a disc would be printed and cut as if whole.
        const catalogue::DiscTracks disc = state.catalogue().discTracks(row);
        if (!disc.problem.isEmpty())
            return refuse(disc.problem + QStringLiteral(" No inlay was written."));
        if (const QString problem = inlay::writePdf(line.output, line.disc, disc.tracks);
            !problem.isEmpty())
            return refuse(problem);
        say(stdout, QStringLiteral("Wrote the inlay of '%1' to %2.").arg(line.disc, line.output));
        return 0;
    }
    return refuse(QStringLiteral("There is no disc named '%1' in the catalogue.").arg(line.disc));
}

int exportCsv(Module1& state, const CommandLine& line)
{
    const QList<catalogue::DiscTracks> discs = state.catalogue().allDiscs();
    // A disc whose file is missing or short is named; the rest is written.
    for (const catalogue::DiscTracks& disc : discs)
        if (!disc.problem.isEmpty())
            say(stderr, disc.problem);
    const QByteArray bytes = spreadsheet::catalogueCsv(discs);
    if (line.output == QLatin1String("-")) {
        if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) !=
                size_t(bytes.size()) ||
            std::fflush(stdout) != 0)
            return refuse(QStringLiteral("Could not write the spreadsheet to standard output."));
        return 0;
    }
    if (const QString reason = catalogue::writeForUser(line.output, bytes); !reason.isEmpty())
        return refuse(QStringLiteral("Could not write '%1': %2.").arg(native(line.output), reason));
    say(stdout, QStringLiteral("Wrote %1 discs to %2.").arg(discs.size()).arg(line.output));
    return 0;
}

int importCsv(Module1& state, const CommandLine& line)
{
    const spreadsheet::Sheet sheet = spreadsheet::readCatalogueCsvFile(line.output);
    if (!sheet.problem.isEmpty())
        return refuse(sheet.problem);
    if (const Change change = state.catalogue().importDiscs(sheet.discs); !change.done)
        return refuse(change.problem);
    say(stdout, QStringLiteral("Added %1 from '%2':")
                    .arg(spreadsheet::discsAndTracks(sheet), native(line.output)));
    for (const spreadsheet::SheetDisc& disc : sheet.discs)
        say(stdout,
            QStringLiteral("%1 (%2)").arg(disc.name, spreadsheet::tracksText(disc.tracks.size())));
    return 0;
}

// The duplicates or the figures of every disc that reads; each that does not is named.
int printSongs(Module1& state, bool figures)
{
    const Catalogue::Report report = state.catalogue().report(
        figures ? Catalogue::ReportKind::Statistics : Catalogue::ReportKind::Duplicates);
    for (const QString& problem : report.problems)
        say(stderr, problem);
    bool written = true;
    for (const QString& piece : report.text)
        written = written && put(stdout, piece);
    if (!written || std::fflush(stdout) != 0)
        return refuse(figures
                          ? QStringLiteral("Could not write the figures to standard output.")
                          : QStringLiteral("Could not write the duplicates to standard output."));
    return 0;
}

} // namespace

int runCommand(const Environment& environment, const CommandLine& line)
{
    Module1 state(environment);
    Catalogue& catalogue = state.catalogue();
    const Catalogue::Opening opening = catalogue.open();
    switch (opening.status) {
    case Catalogue::Opening::NoFolder:
    case Catalogue::Opening::NoIndex:
        return refuse(
            QStringLiteral("There is no catalogue in '%1': start Platterbook once to make it.")
                .arg(native(QDir::cleanPath(state.dataDir()))));
    case Catalogue::Opening::HeldHere:
        return refuse(
            QStringLiteral("This catalogue is already open in another Platterbook window."));
    case Catalogue::Opening::HeldElsewhere:
        return refuse(QStringLiteral("This catalogue is open in Platterbook on the computer "
                                     "'%1'.")
                          .arg(opening.host));
    case Catalogue::Opening::Refused:
        return refuse(opening.text.endsWith(u'.') ? opening.text : opening.text + u'.');
    case Catalogue::Opening::Opened:
        break;
    }
    if (!opening.notice.isEmpty())
        say(stderr, opening.notice);
    switch (line.action) {
    case CommandLine::AddDisc:
        return addDisc(state, line);
    case CommandLine::Inlay:
        return writeInlay(state, line);
    case CommandLine::ExportCsv:
        return exportCsv(state, line);
    case CommandLine::ImportCsv:
        return importCsv(state, line);
    case CommandLine::Duplicates:
    case CommandLine::Statistics:
        return printSongs(state, line.action == CommandLine::Statistics);
    default:
        return 2;
    }
}

int runOnTerminal(int argc, char* argv[], const CommandLine& line,
                  const std::function<Environment()>& environment)
{
    // No window and no display: fonts for the inlay come from the system.
    // (Windows always has its desktop, and its own platform reads its fonts.)
#ifndef Q_OS_WIN
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    QGuiApplication app(argc, argv);
    loadShippedFaces();
    QCoreApplication::setOrganizationName(QString());
    return runCommand(environment(), line);
}
