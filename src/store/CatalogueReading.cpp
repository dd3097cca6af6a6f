// The catalogue opened, read and shown: the lock, the index with its
// damaged forms, a disc shown, every disc's tracks, the search, and the
// reading again after a change from outside.
#include "store/Catalogue.h"

#include "store/Module1.h"
#include "store/Parallel.h"
#include "store/Search.h"
#include "store/TimeText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

namespace {

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

Catalogue::Catalogue(Module1& program, SharedState& state) : m_program(program), m_s(state) {}

Catalogue::~Catalogue() = default;

void Catalogue::setTrackLimit(int limit)
{
    m_s.TrackLimit = limit;
}

// ---------------------------------------------------------------- opening

Catalogue::Opening Catalogue::open()
{
    const QFileInfo data(QDir::cleanPath(m_program.dataDir()));
    if (data.exists() && !data.isDir())
        return {Opening::Refused,
                QStringLiteral("'%1' is a file, but Platterbook keeps its catalogue in a folder "
                               "of that name. Please move the file away.")
                    .arg(nativePath(data.filePath()))};
    if (!data.exists())
        return {Opening::NoFolder};
    QString host;
    if (const Opening::Status held = lock(&host); held != Opening::Opened)
        return {held, QString(), host};
    const catalogue::IndexRead read = readIndex();
    if (read.status == catalogue::IndexRead::Missing)
        return {Opening::NoIndex};
    if (read.status != catalogue::IndexRead::Ok) {
        unlock(); // refused, it leaves nothing behind
        return {Opening::Refused, indexTrouble(read)};
    }
    m_s.Discs = read.discs;
    m_s.DiscCount = int(read.discs.size());
    // An empty index is a catalogue without discs yet: none to choose from.
    if (QFileInfo(m_s.IndexPath).size() > 0)
        m_s.CurrentDisc = -1;
    emit catalogueReset();
    Opening opened;
    if (read.wrongCount)
        opened.notice = QStringLiteral("The catalogue index '%1' says on its first line that it "
                                       "holds %2 discs, but it lists %3. All %3 are shown, and "
                                       "the index gets the right count with the next change.")
                            .arg(nativePath(m_s.IndexPath))
                            .arg(*read.wrongCount)
                            .arg(read.discs.size());
    return opened;
}

QString Catalogue::createCatalogue()
{
    if (!QDir().mkpath(m_program.dataDir()))
        return QStringLiteral("The folder '%1' could not be created.")
            .arg(nativePath(m_program.dataDir()));
    QString host;
    if (!m_lock && lock(&host) != Opening::Opened)
        return QStringLiteral("This catalogue is already open in another Platterbook window.");
    if (const QString unsafe = unsafeToWrite(m_s.IndexPath); !unsafe.isEmpty())
        return unsafe;
    if (const QString reason = catalogue::writeAtomically(m_s.IndexPath, QByteArray());
        !reason.isEmpty())
        return Module1::writeFailureText(m_s.IndexPath, reason);
    noteBytes(m_s.IndexPath, QByteArray());
    return {};
}

Catalogue::Opening::Status Catalogue::lock(QString* host)
{
    m_lock = std::make_unique<QLockFile>(m_program.dataDir() + lockFileName());
    // Held for as long as the program runs, so never stale by its age; a
    // lock whose program died on this computer is stale at once.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return taken();
    if (m_lock->error() != QLockFile::LockFailedError) {
        m_lock.reset(); // nothing can be written here: opened without a lock
        return Opening::Opened;
    }
    qint64 pid = 0;
    QString hostName;
    QString application;
    // The computer's name as the lock file gives it: Windows' own name of
    // the computer there, which differs from the network's name of it.
#ifdef Q_OS_WIN
    const QString here = qEnvironmentVariable("COMPUTERNAME");
#else
    const QString here = QSysInfo::machineHostName();
#endif
    if (m_lock->getLockInfo(&pid, &hostName, &application) && !hostName.isEmpty() &&
        hostName != here) {
        *host = hostName;
        return Opening::HeldElsewhere;
    }
    // A program holds its lock file locked by the system for as long as it
    // runs. One nobody holds so is stale, whatever it names: a lock file the
    // program was stopped before it wrote its name into (a crash, a power
    // cut), or one whose program died and whose process number a running
    // program has since been given.
    if (m_lock->removeStaleLockFile() && m_lock->tryLock(0))
        return taken();
    return Opening::HeldHere;
}

bool Catalogue::takeOverLock()
{
    if (!m_lock)
        return false;
    m_lock->removeStaleLockFile();
    return m_lock->tryLock(0) && taken() == Opening::Opened;
}

Catalogue::Opening::Status Catalogue::taken()
{
    // Taking over a stale lock, Qt guards the removal with a second lock
    // file; a program killed right then leaves it behind. Nobody else can
    // be removing a stale lock now, so one nobody holds goes.
    for (QString leftover = m_lock->fileName(); leftover.size() < 300;) {
        leftover += QStringLiteral(".rmlock");
        if (!QFileInfo::exists(leftover))
            break;
        QLockFile guard(leftover);
        guard.setStaleLockTime(0);
        if (guard.tryLock(0) || (guard.removeStaleLockFile() && guard.tryLock(0)))
            guard.unlock();
    }
    return Opening::Opened;
}

void Catalogue::unlock()
{
    m_lock.reset();
}

// ---------------------------------------------------------------- reading

void Catalogue::noteBytes(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    m_seen.insert(path, {info.exists() ? info.size() : -1, info.lastModified(), bytes});
}

std::optional<QByteArray> Catalogue::readNoted(const QString& path, QString* problem)
{
    // A pipe or a device in a file's place would hold the program up.
    if (!QFileInfo(path).isFile()) {
        *problem = QFileInfo::exists(path) ? QStringLiteral("it is not a regular file")
                                           : QStringLiteral("it is a link to nothing");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = catalogue::reasonOf(file);
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *problem = catalogue::reasonOf(file);
        return std::nullopt;
    }
    noteBytes(path, bytes);
    return bytes;
}

catalogue::IndexRead Catalogue::readIndex()
{
    catalogue::IndexRead read;
    const QFileInfo info(m_s.IndexPath);
    if (!info.exists() && !info.isSymLink()) {
        read.status = catalogue::IndexRead::Missing;
        return read;
    }
    const std::optional<QByteArray> bytes = readNoted(m_s.IndexPath, &read.problem);
    if (!bytes) {
        read.status = catalogue::IndexRead::Unreadable;
        return read;
    }
    read = catalogue::parseIndex(*bytes);
    // An empty index is what a first run leaves, before any disc; beside
    // disc files it is an index that another program cut short.
    if (bytes->isEmpty()) {
        const QStringList files =
            QDir(m_program.dataDir())
                .entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden);
        for (const QString& file : files) {
            if (file.compare(u"index.txt", Qt::CaseInsensitive) != 0) {
                read.status = catalogue::IndexRead::Damaged;
                read.problem = QStringLiteral("it is empty, but the folder holds disc files such "
                                              "as '%1'")
                                   .arg(file);
                break;
            }
        }
    }
    return read;
}

QString Catalogue::indexTrouble(const catalogue::IndexRead& read) const
{
    const QString path = nativePath(m_s.IndexPath);
    if (read.status == catalogue::IndexRead::Unreadable)
        return QStringLiteral("The catalogue index '%1' cannot be read: %2")
            .arg(path, read.problem);
    if (read.line == 0)
        return QStringLiteral("The catalogue index '%1' is damaged: %2").arg(path, read.problem);
    return QStringLiteral("The catalogue index '%1' is damaged at line %2: %3")
        .arg(path)
        .arg(read.line)
        .arg(read.problem);
}

bool Catalogue::readShown(int row, QString* problem)
{
    const catalogue::DiscRow disc = m_s.Discs.at(row);
    const std::optional<int> count = catalogue::countOf(disc.count);
    if (!count || *count < 0 || *count > catalogue::MaxTracks) {
        *problem = QStringLiteral("The disc '%1' cannot be shown: its number of tracks, '%2', is "
                                  "not a number from 0 to 25.")
                       .arg(disc.name, disc.count);
        return false;
    }
    const QString path = m_program.discPathFor(disc.name);
    QString why;
    const std::optional<QByteArray> bytes =
        QFileInfo::exists(path) ? readNoted(path, &why) : std::nullopt;
    if (!bytes) {
        *problem = QStringLiteral("The disc '%1' cannot be shown: its file '%2' could not be "
                                  "read (%3).")
                       .arg(disc.name, nativePath(path),
                            why.isEmpty() ? QStringLiteral("the file does not exist") : why);
        return false;
    }
    const catalogue::DiscRead read = catalogue::parseDiscFile(*bytes, *count);
    m_s.CurrentDisc = row;
    m_s.DiscPath = path;
    m_s.Tracks = read.tracks;
    m_s.TrackCount = int(read.tracks.size());
    m_s.DiscIncomplete = read.status == catalogue::DiscRead::Short;
    m_tracksPath = path;
    return true;
}

Change Catalogue::showDisc(int row)
{
    // Comments typed on the disc shown so far go to that disc's file first.
    if (m_s.CommentsDirty) {
        if (const Change saved = saveComments(); !saved.done)
            return saved;
    }
    if (row < 0 || row >= m_s.DiscCount)
        return {};
    Change shown;
    if (!readShown(row, &shown.problem))
        return shown;
    // A disc shown for the first time gets the default length.
    const QString name = m_s.Discs.at(row).name;
    std::optional<int> length = timetext::parse(m_program.settings().discLength(name));
    if (!length) {
        m_program.settings().setDiscLength(name, timetext::DefaultDiscLength);
        length = timetext::parse(timetext::DefaultDiscLength);
    }
    m_s.DiscLength = *length;
    emit discShown(row);
    shown.done = true;
    return shown;
}

void Catalogue::showNone()
{
    m_s.CurrentDisc = -1;
    m_s.Tracks.clear();
    m_s.TrackCount = 0;
    m_s.DiscIncomplete = false;
    m_s.DiscPath.clear();
    m_tracksPath.clear();
    emit discShown(-1);
}

QString Catalogue::readOnlyReason() const
{
    if (m_tracksPath.isEmpty())
        return {};
    if (m_s.DiscIncomplete)
        return QStringLiteral("The disc's file holds fewer tracks than the catalogue lists, so "
                              "nothing of it can be changed. Show the disc again and keep the "
                              "tracks it holds to change it.");
    return unsafeToWrite(m_tracksPath);
}

QString Catalogue::readProblem(int row, const QString& reason) const
{
    const QString& name = m_s.Discs.at(row).name;
    return QStringLiteral("The file '%1' of the disc '%2' cannot be read: %3.")
        .arg(nativePath(m_program.discPathFor(name)), name, reason);
}

QString Catalogue::shortProblem(int row, int held) const
{
    // A disc whose count cannot be trusted holds what its file holds.
    const catalogue::DiscRow& disc = m_s.Discs.at(row);
    const int records = recordsOf(row);
    if (catalogue::countOf(disc.count) != records || held >= records)
        return {};
    return QStringLiteral("The file '%1' of the disc '%2' holds %3 of its %4 tracks.")
        .arg(nativePath(m_program.discPathFor(disc.name)), disc.name)
        .arg(held)
        .arg(records);
}

catalogue::DiscTracks Catalogue::discTracks(int row) const
{
    const catalogue::DiscRow& disc = m_s.Discs.at(row);
    catalogue::DiscRead read =
        catalogue::readDiscFile(m_program.discPathFor(disc.name), recordsOf(row));
    catalogue::DiscTracks tracks{disc.name, read.tracks};
    if (read.status == catalogue::DiscRead::Missing ||
        read.status == catalogue::DiscRead::Unreadable)
        tracks.problem = readProblem(row, read.problem);
    else
        tracks.problem = shortProblem(row, int(read.tracks.size()));
    return tracks;
}

int Catalogue::recordsOf(int row) const
{
    // A count outside 1 to 25 cannot be trusted: the records there are, at most 25.
    const std::optional<int> count = catalogue::countOf(m_s.Discs.at(row).count);
    return count && *count >= 1 && *count <= catalogue::MaxTracks ? *count : catalogue::MaxTracks;
}

QList<catalogue::DiscTracks> Catalogue::allDiscs() const
{
    // Reading goes mostly to opening and reading files: each core reads
    // discs in turn, and the result is in catalogue order.
    QList<catalogue::DiscTracks> all(m_s.DiscCount);
    catalogue::DiscTracks* const out = all.data();
    parallel::forEveryRow(m_s.DiscCount, [&](int row) { out[row] = discTracks(row); });
    return all;
}

QList<std::pair<QString, QList<songs::Song>>> Catalogue::songsOfEveryDisc() const
{
    // A disc whose file cannot be read has no songs, as it has no tracks.
    QList<std::pair<QString, QList<songs::Song>>> all(m_s.DiscCount);
    std::pair<QString, QList<songs::Song>>* const out = all.data();
    parallel::forEveryRow(m_s.DiscCount, [&](int row) {
        const QString& name = m_s.Discs.at(row).name;
        out[row].first = name;
        if (const auto bytes = catalogue::readFileBytes(m_program.discPathFor(name)))
            out[row].second = songs::songsIn(*bytes, recordsOf(row));
    });
    return all;
}

Catalogue::Report Catalogue::report(ReportKind kind) const
{
    // Every disc's file as bytes, read by the computer's cores; the figures
    // and the duplicates take from them only the fields they need.
    QList<songs::DiscFile> discs(m_s.DiscCount);
    QStringList problems(m_s.DiscCount);
    songs::DiscFile* const files = discs.data();
    QString* const problemOf = problems.data();
    parallel::forEveryRow(m_s.DiscCount, [&](int row) {
        songs::DiscFile& file = files[row];
        file.name = m_s.Discs.at(row).name;
        QString reason;
        std::optional<QByteArray> bytes =
            catalogue::readFileBytes(m_program.discPathFor(file.name), &reason);
        if (!bytes) {
            problemOf[row] = readProblem(row, reason);
            return;
        }
        file.records = recordsOf(row);
        file.bytes = std::move(*bytes);
        problemOf[row] = shortProblem(row, catalogue::wholeRecords(file.bytes, file.records));
    });
    Report made;
    for (const QString& problem : problems)
        if (!problem.isEmpty())
            made.problems.append(problem);
    if (kind == ReportKind::Duplicates) {
        made.text = songs::duplicatesText(discs);
        return made;
    }
    // A disc never shown yet has the default length, as when it is shown.
    QList<int> lengths;
    lengths.reserve(discs.size());
    for (const songs::DiscFile& disc : discs)
        lengths.append(timetext::parse(m_program.settings().discLength(disc.name))
                           .value_or(*timetext::parse(timetext::DefaultDiscLength)));
    made.text = QStringList{songs::statisticsText(discs, lengths)};
    return made;
}

int Catalogue::search(const QString& text)
{
    m_s.SearchHits.clear();
    m_s.SearchHitDiscs.clear();
    m_s.SearchText = text;
    m_s.HitCount = 0;
    if (text.isEmpty())
        return 0;
    // The files are searched as they lie on disk, without decoding them; a
    // disc whose file cannot be read is passed over.
    const search::Needle needle(text);
    for (int row = 0; row < m_s.DiscCount; ++row) {
        const QString name = m_s.Discs.at(row).name;
        const std::optional<QByteArray> bytes =
            catalogue::readFileBytes(m_program.discPathFor(name));
        if (!bytes)
            continue;
        for (const qint64 position : needle.positionsIn(*bytes)) {
            m_s.SearchHits.append({row + 1, position, 0});
            m_s.SearchHitDiscs.append(name);
        }
    }
    m_s.HitCount = int(m_s.SearchHits.size());
    search::fillOffsets(m_s.SearchHits, text.size());
    return m_s.HitCount;
}

QString Catalogue::reload()
{
    forgetSteps();
    m_songs.clear();
    const catalogue::IndexRead index = readIndex();
    if (index.status != catalogue::IndexRead::Ok)
        return QStringLiteral("The catalogue index '%1' no longer reads (%2), so Platterbook "
                              "keeps the catalogue as it was.")
            .arg(nativePath(m_s.IndexPath),
                 index.problem.isEmpty() ? QStringLiteral("it is missing") : index.problem);
    const QString shown =
        m_s.CurrentDisc >= 0 && m_s.CurrentDisc < m_s.DiscCount && !m_tracksPath.isEmpty()
            ? m_s.Discs.at(m_s.CurrentDisc).name
            : QString();
    m_s.Discs = index.discs;
    m_s.DiscCount = int(index.discs.size());
    emit catalogueReset();
    // The disc on show is read again; comments typed on it wait on in their boxes.
    const int row = rowOf(shown);
    QString problem;
    if (row >= 0 && readShown(row, &problem)) {
        emit discShown(row);
        return {};
    }
    dropComments();
    showNone();
    return problem;
}

void Catalogue::readBack()
{
    forgetSteps();
    m_songs.clear();
    const catalogue::IndexRead index = readIndex();
    if (index.status == catalogue::IndexRead::Ok) {
        m_s.Discs = index.discs;
        m_s.DiscCount = int(index.discs.size());
        emit catalogueReset();
    }
    QString problem;
    const int row = rowOf(QFileInfo(m_tracksPath).completeBaseName());
    if (row >= 0 && readShown(row, &problem))
        emit discShown(row);
    else
        showNone();
}

QList<catalogue::DiscRow> Catalogue::discs() const
{
    return m_s.Discs.mid(0, m_s.DiscCount);
}

int Catalogue::rowOf(const QString& name) const
{
    for (int row = 0; row < m_s.DiscCount && !name.isEmpty(); ++row)
        if (m_s.Discs.at(row).name == name)
            return row;
    return -1;
}
