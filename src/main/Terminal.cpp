#include "main/Terminal.h"

#include "editing/AudioTags.h"
#include "main/CommandLine.h"
#include "printing/Inlay.h"
#include "store/Module1.h"
#include "store/Spreadsheet.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

void say(std::FILE* to, const QString& text)
{
    std::fputs((text + u'\n').toLocal8Bit().constData(), to);
}

int refuse(const QString& text)
{
    say(stderr, text);
    return 1;
}

// The tracks of the disc in row `row`, as far as its file holds them.
QList<catalogue::Track> tracksOf(Module1& state, int row)
{
    const catalogue::DiscRow& disc = state.Discs.at(row);
    return catalogue::readDiscFile(
               state.discPathFor(disc.name),
               std::clamp(catalogue::countOf(disc.count).value_or(0), 0, catalogue::MaxTracks))
        .tracks;
}

int addDisc(Module1& state, const CommandLine& line)
{
    if (line.files.isEmpty())
        return refuse(QStringLiteral("Name the audio files the disc is made of."));
    const QString count = QString::number(line.files.size());
    if (const std::optional<Refusal> refusal = state.catalogue().refuseNewDisc(line.disc, count))
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
    // Every file read before anything is written.
    QList<catalogue::Track> tracks;
    for (const QString& file : line.files) {
        AudioTrack audio = readAudioFile(file);
        if (!audio.problem.isEmpty())
            return refuse(audio.problem);
        if (const QString problem = unstorableText(audio); !problem.isEmpty())
            return refuse(problem);
        audio.track[5] = format;
        tracks.append(audio.track);
    }
    Catalogue& files = state.catalogue();
    Change change = files.addDisc(line.disc, count, int(tracks.size()));
    if (!change.done)
        return refuse(change.problem);
    files.beginEntry();
    for (const catalogue::Track& track : tracks) {
        change = files.storeEntryTrack(track);
        if (!change.done) {
            files.dropNewDisc(); // nothing of it stays
            return refuse(change.problem);
        }
    }
    say(stdout,
        QStringLiteral("Made the disc '%1' of %2:")
            .arg(line.disc, tracks.size() == 1 ? QStringLiteral("1 track")
                                               : QStringLiteral("%1 tracks").arg(tracks.size())));
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
        if (const QString problem = inlay::writePdf(line.output, line.disc, tracksOf(state, row));
            !problem.isEmpty())
            return refuse(problem);
        say(stdout, QStringLiteral("Wrote the inlay of '%1' to %2.").arg(line.disc, line.output));
        return 0;
    }
    return refuse(QStringLiteral("There is no disc named '%1' in the catalogue.").arg(line.disc));
}

int exportCsv(Module1& state, const CommandLine& line)
{
    QList<spreadsheet::Disc> discs;
    for (int row = 0; row < state.DiscCount; ++row)
        discs.append({state.Discs.at(row).name, tracksOf(state, row)});
    const QByteArray bytes = spreadsheet::catalogueCsv(discs);
    if (line.output == QLatin1String("-")) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (const QString reason = catalogue::writeAtomically(line.output, bytes); !reason.isEmpty())
        return refuse(QStringLiteral("Could not write '%1': %2.").arg(line.output, reason));
    say(stdout, QStringLiteral("Wrote %1 discs to %2.").arg(discs.size()).arg(line.output));
    return 0;
}

} // namespace

int runOnTerminal(int argc, char* argv[], const CommandLine& line)
{
    // No window and no display: fonts for the inlay come from the system.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QString());
    const QString programDir = QCoreApplication::applicationDirPath();
    Module1 state({programDir, QString(), 1024,
                   line.dataDir.isEmpty() ? catalogueFolder(programDir, PLATTERBOOK_INSTALLED_IN)
                                          : line.dataDir});
    state.TrackLimit = catalogue::MaxTracks;
    state.IndexPath = state.dataDir() + QStringLiteral("index.txt");
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(state.dataDir()));
    if (!QFileInfo(state.dataDir()).isDir())
        return refuse(QStringLiteral("There is no catalogue in '%1': start Platterbook once to "
                                     "make it.")
                          .arg(folder));
    QString host;
    switch (state.catalogue().lock(&host)) {
    case Catalogue::Lock::HeldHere:
        return refuse(
            QStringLiteral("This catalogue is already open in another Platterbook window."));
    case Catalogue::Lock::HeldElsewhere:
        return refuse(QStringLiteral("This catalogue is open in Platterbook on the computer "
                                     "'%1'.")
                          .arg(host));
    case Catalogue::Lock::Taken:
    case Catalogue::Lock::Unwritable:
        break;
    }
    const catalogue::IndexRead index = state.catalogue().readIndex();
    if (index.status == catalogue::IndexRead::Missing)
        return refuse(QStringLiteral("There is no catalogue in '%1': start Platterbook once to "
                                     "make it.")
                          .arg(folder));
    if (index.status != catalogue::IndexRead::Ok)
        return refuse(QStringLiteral("The catalogue index '%1' cannot be read: %2.")
                          .arg(QDir::toNativeSeparators(state.IndexPath), index.problem));
    state.Discs = index.discs;
    state.DiscCount = int(index.discs.size());
    switch (line.action) {
    case CommandLine::AddDisc:
        return addDisc(state, line);
    case CommandLine::Inlay:
        return writeInlay(state, line);
    case CommandLine::ExportCsv:
        return exportCsv(state, line);
    default:
        return 2;
    }
}
