#include "store/Catalogue.h"

#include "store/Codepage.h"
#include "store/Module1.h"
#include "store/TimeText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#include <optional>

using catalogue::DiscRow;
using catalogue::Track;

namespace {

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString outsideText(const QString& path)
{
    return QStringLiteral("The file '%1' was changed outside Platterbook, so nothing was saved. "
                          "The catalogue is read again: please repeat what you did.")
        .arg(nativePath(path));
}

QString whyNot(catalogue::NameProblem problem, const QString& name)
{
    using catalogue::NameProblem;
    switch (problem) {
    case NameProblem::Separator:
        return QStringLiteral("A disc name cannot contain / or \\.");
    case NameProblem::IndexName:
        return QStringLiteral("The name '%1' is kept for the catalogue's own index.").arg(name);
    case NameProblem::ForbiddenChar:
        return QStringLiteral("A disc name cannot contain any of : * ? \" < > |");
    case NameProblem::ControlChar:
        return QStringLiteral("A disc name cannot contain tabs or other control characters.");
    case NameProblem::ReservedName:
        return QStringLiteral("The name '%1' is reserved by Windows and cannot name a file.")
            .arg(name);
    case NameProblem::NotInCodepage:
        return codepage::unstorableText(name);
    case NameProblem::TooLong:
        return QStringLiteral(
            "That name is too long for a file name. Please choose a shorter one.");
    case NameProblem::None:
        break;
    }
    return {};
}

} // namespace

// The files one change writes, in order. Before the first write every file of
// the change is checked against what the program last saw of it; when a
// write fails, the files already written are put back.
class Catalogue::Batch
{
public:
    Batch(Catalogue& catalogue, const QStringList& paths) : m_catalogue(catalogue)
    {
        for (const QString& path : paths) {
            if (const QString unsafe = m_catalogue.unsafeToWrite(path); !unsafe.isEmpty()) {
                m_change.problem = unsafe;
                return;
            }
            if (m_catalogue.changedOutside(path)) {
                m_change.problem = outsideText(path);
                m_change.changedOutside = true;
                return;
            }
        }
    }

    bool write(const QString& path, const QByteArray& bytes)
    {
        if (!m_change.problem.isEmpty())
            return false;
        std::optional<QByteArray> before;
        if (const auto seen = m_catalogue.m_seen.constFind(path); seen != m_catalogue.m_seen.cend())
            before = seen->bytes;
        else if (QFile file(path); file.open(QIODevice::ReadOnly))
            before = file.readAll();
        m_change.problem = m_catalogue.writeFile(path, bytes);
        if (!m_change.problem.isEmpty())
            return false;
        m_done.append({path, before});
        return true;
    }

    // A new empty file; never one that exists.
    bool create(const QString& path)
    {
        if (!m_change.problem.isEmpty())
            return false;
        // An empty file still needs room in the folder: a disk with none at
        // all refuses it.
        const QString reason = m_catalogue.faultFor(path) == 0 ? QStringLiteral("the disk is full")
                                                               : catalogue::createEmptyFile(path);
        if (!reason.isEmpty()) {
            m_change.problem = Module1::writeFailureText(path, reason);
            return false;
        }
        m_catalogue.noteBytes(path, QByteArray());
        m_done.append({path, std::nullopt});
        return true;
    }

    // Puts back what was written; where that fails too, the state is read
    // from the files as they are.
    Change fail()
    {
        bool restored = true;
        for (auto it = m_done.crbegin(); it != m_done.crend(); ++it) {
            const QString problem = it->before ? m_catalogue.writeFile(it->path, *it->before)
                                               : m_catalogue.removeFile(it->path);
            restored = restored && problem.isEmpty();
        }
        if (!restored)
            m_catalogue.readBack();
        return m_change;
    }

    Change done()
    {
        m_change.done = true;
        return m_change;
    }

private:
    struct Written {
        QString path;
        std::optional<QByteArray> before; // none: the change created the file
    };
    Catalogue& m_catalogue;
    Change m_change;
    QList<Written> m_done;
};

Catalogue::Catalogue(Module1& state) : m_state(state) {}

Catalogue::~Catalogue() = default;

// ---------------------------------------------------------------- the lock

Catalogue::Lock Catalogue::lock(QString* host)
{
    m_lock = std::make_unique<QLockFile>(m_state.dataDir() + lockFileName());
    // Held for as long as the program runs, so never stale by its age; a
    // lock whose program died on this computer is stale at once.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return taken();
    if (m_lock->error() != QLockFile::LockFailedError) {
        m_lock.reset();
        return Lock::Unwritable;
    }
    qint64 pid = 0;
    QString hostName;
    QString application;
    if (!m_lock->getLockInfo(&pid, &hostName, &application)) {
        // A lock file that names no program: the program that made it was
        // stopped before it wrote its name (a crash, a power cut). A program
        // holds its lock file locked by the system from the start, so one
        // that nobody holds so is stale.
        if (m_lock->removeStaleLockFile() && m_lock->tryLock(0))
            return taken();
        return Lock::HeldHere;
    }
    if (!hostName.isEmpty() && hostName != QSysInfo::machineHostName()) {
        if (host)
            *host = hostName;
        return Lock::HeldElsewhere;
    }
    return Lock::HeldHere;
}

bool Catalogue::takeOverLock()
{
    if (!m_lock)
        return false;
    m_lock->removeStaleLockFile();
    return m_lock->tryLock(0) && taken() == Lock::Taken;
}

Catalogue::Lock Catalogue::taken()
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
    return Lock::Taken;
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

void Catalogue::note(const QString& path)
{
    QFile file(path);
    noteBytes(path, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
}

QString Catalogue::unsafeToWrite(const QString& path) const
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        // Where the link leads in the end, also when nothing is there yet.
        QFileInfo end = info;
        for (int hops = 0; hops < 40 && end.isSymLink(); ++hops)
            end.setFile(end.symLinkTarget());
        const QString folder = QFileInfo(end.absolutePath()).canonicalFilePath();
        const QString data = QFileInfo(QDir::cleanPath(m_state.dataDir())).canonicalFilePath();
        if (end.isSymLink() || folder.isEmpty() || data.isEmpty() ||
            !(folder == data || folder.startsWith(data + u'/')))
            return QStringLiteral("The file '%1' is a link to '%2', outside the catalogue's "
                                  "folder, so Platterbook writes nothing to it.")
                .arg(nativePath(path), nativePath(end.absoluteFilePath()));
    }
    if (info.exists() && !info.isFile())
        return QStringLiteral("'%1' is not a regular file, so Platterbook writes nothing to it.")
            .arg(nativePath(path));
    return {};
}

bool Catalogue::changedOutside(const QString& path) const
{
    const auto seen = m_seen.constFind(path);
    if (seen == m_seen.cend())
        return false;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return true;
    if (info.size() != seen->size || info.lastModified() != seen->modified)
        return true;
    // The same size and time stamp: a second change within the time stamp's
    // granularity, or a stamp set back, can still hide there; the bytes tell.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    return file.readAll() != seen->bytes;
}

QString Catalogue::makeDataFolder()
{
    if (!QDir().mkpath(m_state.dataDir()))
        return QStringLiteral("The folder '%1' could not be created.")
            .arg(nativePath(m_state.dataDir()));
    return {};
}

QString Catalogue::createIndex()
{
    if (const QString unsafe = unsafeToWrite(m_state.IndexPath); !unsafe.isEmpty())
        return unsafe;
    if (const QString reason = catalogue::writeAtomically(m_state.IndexPath, QByteArray());
        !reason.isEmpty())
        return Module1::writeFailureText(m_state.IndexPath, reason);
    noteBytes(m_state.IndexPath, QByteArray());
    return {};
}

catalogue::IndexRead Catalogue::readIndex()
{
    catalogue::IndexRead read;
    const QFileInfo info(m_state.IndexPath);
    if (!info.exists() && !info.isSymLink()) {
        read.status = catalogue::IndexRead::Missing;
        return read;
    }
    const std::optional<QByteArray> bytes = readNoted(m_state.IndexPath, &read.problem);
    if (!bytes) {
        read.status = catalogue::IndexRead::Unreadable;
        return read;
    }
    read = catalogue::parseIndex(*bytes);
    // An empty index is what a first run leaves, before any disc; beside
    // disc files it is an index that another program cut short.
    if (bytes->isEmpty()) {
        const QStringList files =
            QDir(m_state.dataDir())
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
        *problem = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *problem = file.errorString();
        return std::nullopt;
    }
    noteBytes(path, bytes);
    return bytes;
}

QString Catalogue::indexTrouble(const catalogue::IndexRead& read) const
{
    const QString path = nativePath(m_state.IndexPath);
    switch (read.status) {
    case catalogue::IndexRead::Ok:
        return {};
    case catalogue::IndexRead::Missing:
        return QStringLiteral("The catalogue index '%1' is missing").arg(path);
    case catalogue::IndexRead::Unreadable:
        return QStringLiteral("The catalogue index '%1' cannot be read: %2")
            .arg(path, read.problem);
    case catalogue::IndexRead::Damaged:
        break;
    }
    if (read.line == 0)
        return QStringLiteral("The catalogue index '%1' is damaged: %2").arg(path, read.problem);
    return QStringLiteral("The catalogue index '%1' is damaged at line %2: %3")
        .arg(path)
        .arg(read.line)
        .arg(read.problem);
}

QString Catalogue::countNotice(const catalogue::IndexRead& read) const
{
    if (read.status != catalogue::IndexRead::Ok || !read.wrongCount)
        return {};
    return QStringLiteral("The catalogue index '%1' says on its first line that it holds %2 "
                          "discs, but it lists %3. All %3 are shown, and the index gets the "
                          "right count with the next change.")
        .arg(nativePath(m_state.IndexPath))
        .arg(*read.wrongCount)
        .arg(read.discs.size());
}

catalogue::DiscRead Catalogue::readDisc(const QString& path, int count)
{
    catalogue::DiscRead read;
    if (!QFileInfo::exists(path)) {
        read.status = catalogue::DiscRead::Missing;
        read.problem = QStringLiteral("the file does not exist");
        return read;
    }
    const std::optional<QByteArray> bytes = readNoted(path, &read.problem);
    if (!bytes) {
        read.status = catalogue::DiscRead::Unreadable;
        return read;
    }
    read = catalogue::parseDiscFile(*bytes, count);
    m_state.Tracks = read.tracks;
    m_state.TrackCount = int(read.tracks.size());
    m_state.DiscIncomplete = read.status == catalogue::DiscRead::Short;
    m_tracksPath = path;
    return read;
}

QString Catalogue::readOnlyReason() const
{
    if (m_tracksPath.isEmpty())
        return {};
    if (m_state.DiscIncomplete)
        return QStringLiteral("The disc's file holds fewer tracks than the catalogue lists, so "
                              "nothing of it can be changed. Show the disc again and keep the "
                              "tracks it holds to change it.");
    return unsafeToWrite(m_tracksPath);
}

QString Catalogue::reload()
{
    const catalogue::IndexRead index = readIndex();
    if (index.status != catalogue::IndexRead::Ok)
        return QStringLiteral("The catalogue index '%1' no longer reads (%2), so Platterbook "
                              "keeps the catalogue as it was.")
            .arg(nativePath(m_state.IndexPath),
                 index.problem.isEmpty() ? QStringLiteral("it is missing") : index.problem);
    m_state.Discs = index.discs;
    m_state.DiscCount = int(index.discs.size());
    return {};
}

void Catalogue::readBack()
{
    const catalogue::IndexRead index = readIndex();
    if (index.status == catalogue::IndexRead::Ok) {
        m_state.Discs = index.discs;
        m_state.DiscCount = int(index.discs.size());
    }
    const int row = rowOf(QFileInfo(m_tracksPath).completeBaseName());
    if (row >= 0)
        readDisc(m_tracksPath, catalogue::countOf(m_state.Discs.at(row).count).value_or(0));
}

QList<DiscRow> Catalogue::discs() const
{
    return m_state.Discs.mid(0, m_state.DiscCount);
}

int Catalogue::rowOf(const QString& name) const
{
    for (int row = 0; row < m_state.DiscCount; ++row)
        if (m_state.Discs.at(row).name == name)
            return row;
    return -1;
}

// ---------------------------------------------------------------- writing

qint64 Catalogue::faultFor(const QString& path)
{
    m_state.filesWritten.append(path);
    return m_state.writeFault ? m_state.writeFault(path) : m_state.writeFaultAfterBytes;
}

QString Catalogue::writeFile(const QString& path, const QByteArray& bytes)
{
    const qint64 cutAfter = faultFor(path);
    if (const QString reason = catalogue::writeAtomically(path, bytes, cutAfter); !reason.isEmpty())
        return Module1::writeFailureText(path, reason);
    noteBytes(path, bytes);
    return {};
}

QString Catalogue::removeFile(const QString& path)
{
    QFile file(path);
    m_seen.remove(path);
    if (!QFileInfo(path).isSymLink() && !file.exists())
        return {};
    if (!file.remove())
        return file.errorString();
    return {};
}

// ---------------------------------------------------------------- the changes

std::optional<Refusal> Catalogue::refuseNewDisc(const QString& name, const QString& countText) const
{
    if (name.isEmpty())
        return Refusal{2, QStringLiteral("You must give your disc a name!"), false};
    if (const auto problem = catalogue::newNameProblem(name);
        problem != catalogue::NameProblem::None)
        return Refusal{1, whyNot(problem, name), false};
    for (int row = 0; row < m_state.DiscCount; ++row)
        if (m_state.Discs.at(row).name.compare(name, Qt::CaseInsensitive) == 0)
            return Refusal{1,
                           QStringLiteral("There is already a disc named '%1'.")
                               .arg(m_state.Discs.at(row).name),
                           false};
    // A file left behind in Data must never receive a new disc's tracks.
    const QString fileName = name + QStringLiteral(".txt");
    const QStringList present =
        QDir(m_state.dataDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& entry : present)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return Refusal{1,
                           QStringLiteral("The Data folder already holds a file named '%1'. "
                                          "Please choose another name.")
                               .arg(entry),
                           false};
    if (countText.isEmpty())
        return Refusal{2, QStringLiteral("You must specify the number of tracks!"), true};
    const catalogue::LeadingNumber number = catalogue::leadingNumber(countText);
    const QString noCount = QStringLiteral("Enter the number of tracks.");
    if (!number.found)
        return Refusal{1, noCount, true};
    const std::optional<int> planned = catalogue::countOf(countText);
    // A count too far below zero to be counted is still below one.
    const bool belowOne = planned ? *planned < 1 : number.value < 0;
    if (!belowOne && (!planned || *planned > m_state.TrackLimit))
        return Refusal{2,
                       QStringLiteral("Discs with more than %1 tracks are unsupported.")
                           .arg(m_state.TrackLimit),
                       true};
    if (belowOne)
        return Refusal{1, noCount, true};
    if (const QString bad = codepage::unstorableText(countText); !bad.isEmpty())
        return Refusal{1, bad, true};
    return std::nullopt;
}

Change Catalogue::addDisc(const QString& name, const QString& countText, int planned)
{
    const QString path = m_state.discPathFor(name);
    QList<DiscRow> next = discs();
    next.append({name, countText});
    // The disc's file comes first: the index never lists a disc without one.
    Batch batch(*this, {m_state.IndexPath});
    if (!batch.create(path) || !batch.write(m_state.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_state.settings().setDiscLength(name, timetext::DefaultDiscLength);
    m_state.Discs = next;
    m_state.DiscCount = int(next.size());
    m_state.EntryTrack = planned;
    m_state.DiscPath = path;
    m_entryName = name;
    return batch.done();
}

Change Catalogue::addDiscWithTracks(const QString& name, QList<Track> tracks)
{
    const QString count = QString::number(tracks.size());
    if (const std::optional<Refusal> refusal = refuseNewDisc(name, count))
        return {refusal->text};
    for (Track& track : tracks)
        if (const QString problem = storable(track); !problem.isEmpty())
            return {problem};
    const QString path = m_state.discPathFor(name);
    QList<DiscRow> next = discs();
    next.append({name, count});
    Batch batch(*this, {path, m_state.IndexPath});
    if (!batch.write(path, catalogue::discBytes(tracks)) ||
        !batch.write(m_state.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_state.settings().setDiscLength(name, timetext::DefaultDiscLength);
    m_state.Discs = next;
    m_state.DiscCount = int(next.size());
    return batch.done();
}

QString Catalogue::storable(Track& track)
{
    for (QString& field : track) {
        field = codepage::oneLine(field);
        if (const QString problem = codepage::unstorableText(field); !problem.isEmpty())
            return problem;
    }
    return {};
}

void Catalogue::beginEntry()
{
    const int planned = m_state.EntryTrack;
    m_state.Tracks = QList<Track>(planned);
    m_state.TrackCount = planned;
    m_state.EntryTrack = 1;
    m_state.DiscIncomplete = false;
    m_tracksPath = m_state.discPathFor(m_entryName);
}

bool Catalogue::entering() const
{
    return !m_entryName.isEmpty() && m_tracksPath == m_state.discPathFor(m_entryName);
}

Change Catalogue::storeEntryTrack(Track track)
{
    const int k = m_state.EntryTrack;
    if (!entering() || k < 1 || k > m_state.Tracks.size())
        return {};
    if (const QString problem = storable(track); !problem.isEmpty())
        return {problem};
    const QString path = m_state.discPathFor(m_entryName);
    QList<Track> stored = m_state.Tracks.mid(0, k - 1);
    stored.append(track);
    Batch batch(*this, {path});
    if (!batch.write(path, catalogue::discBytes(stored)))
        return batch.fail();
    m_state.Tracks[k - 1] = track;
    m_state.EntryTrack = k == m_state.TrackCount ? 0 : k + 1;
    if (m_state.EntryTrack == 0)
        m_entryName.clear();
    return batch.done();
}

Change Catalogue::keepEntry()
{
    const int row = rowOf(m_entryName);
    if (row < 0)
        return {};
    const int kept = m_state.EntryTrack - 1;
    QList<DiscRow> next = discs();
    next[row].count = QString::number(kept);
    Batch batch(*this, {m_state.IndexPath});
    if (!batch.write(m_state.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_state.Discs = next;
    m_state.TrackCount = kept;
    m_state.Tracks = m_state.Tracks.mid(0, kept);
    m_state.EntryTrack = 0;
    m_entryName.clear();
    return batch.done();
}

Change Catalogue::dropNewDisc()
{
    const int row = rowOf(m_entryName);
    if (row < 0)
        return {};
    const QString name = m_entryName;
    QList<DiscRow> next = discs();
    next.removeAt(row);
    // The index first: a file the index no longer lists is harmless.
    Batch batch(*this, {m_state.IndexPath});
    if (!batch.write(m_state.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_state.Discs = next;
    m_state.DiscCount = int(next.size());
    Change change = batch.done();
    const QString path = m_state.discPathFor(name);
    if (const QString reason = removeFile(path); !reason.isEmpty())
        change.problem =
            QStringLiteral("The file '%1' could not be deleted: %2.").arg(nativePath(path), reason);
    // Its disc length goes with it, as with a removed disc.
    m_state.settings().deleteDisc(name);
    m_state.Tracks.clear();
    m_state.TrackCount = 0;
    m_state.NewDiscPending = 0;
    m_state.EntryTrack = 0;
    m_state.AddingTracks = 0;
    m_entryName.clear();
    m_tracksPath.clear();
    return change;
}

Change Catalogue::addTrack(Track track)
{
    const int row = m_state.CurrentDisc;
    const QString path = m_state.DiscPath;
    if (row < 0 || row >= m_state.DiscCount || path != m_tracksPath)
        return {};
    if (const QString problem = storable(track); !problem.isEmpty())
        return {problem};
    QList<Track> tracks = m_state.Tracks.mid(0, m_state.TrackCount);
    tracks.append(track);
    QList<DiscRow> next = discs();
    next[row].count = QString::number(tracks.size());
    // The disc file first, whole: its counted records and the new one.
    Batch batch(*this, {path, m_state.IndexPath});
    if (!batch.write(path, catalogue::discBytes(tracks)) ||
        !batch.write(m_state.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_state.Discs = next;
    m_state.Tracks = tracks;
    m_state.TrackCount = int(tracks.size());
    return batch.done();
}

Change Catalogue::editTrack(int row, Track track)
{
    if (row < 0 || row >= m_state.TrackCount || m_tracksPath.isEmpty())
        return {};
    if (const QString problem = storable(track); !problem.isEmpty())
        return {problem};
    QList<Track> tracks = m_state.Tracks.mid(0, m_state.TrackCount);
    tracks[row] = track;
    Batch batch(*this, {m_tracksPath});
    if (!batch.write(m_tracksPath, catalogue::discBytes(tracks)))
        return batch.fail();
    m_state.Tracks = tracks;
    return batch.done();
}

Change Catalogue::removeTrack(int row)
{
    const int disc = m_state.CurrentDisc;
    const QString path = m_state.DiscPath;
    if (row < 0 || row >= m_state.TrackCount || disc < 0 || disc >= m_state.DiscCount ||
        path != m_tracksPath)
        return {};
    QList<Track> tracks = m_state.Tracks.mid(0, m_state.TrackCount);
    tracks.removeAt(row);
    QList<DiscRow> next = discs();
    next[disc].count = QString::number(tracks.size());
    // The disc file first, then the index.
    Batch batch(*this, {path, m_state.IndexPath});
    if (!batch.write(path, catalogue::discBytes(tracks)) ||
        !batch.write(m_state.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_state.Discs = next;
    m_state.Tracks = tracks;
    m_state.TrackCount = int(tracks.size());
    return batch.done();
}

Change Catalogue::removeDisc(int row)
{
    if (row < 0 || row >= m_state.DiscCount)
        return {};
    const QString name = m_state.Discs.at(row).name;
    QList<DiscRow> next = discs();
    next.removeAt(row);
    // The index first, so a listed disc never loses its file.
    Batch batch(*this, {m_state.IndexPath});
    if (!batch.write(m_state.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_state.Discs = next;
    m_state.DiscCount = int(next.size());
    m_state.DiscRemoved = 1;
    m_state.RemovedDisc = row;
    Change change = batch.done();
    const QString path = m_state.discPathFor(name);
    if (const QString reason = removeFile(path); !reason.isEmpty())
        change.problem = QStringLiteral("The disc '%1' is out of the catalogue, but its file '%2' "
                                        "could not be deleted: %3.")
                             .arg(name, nativePath(path), reason);
    m_state.settings().deleteDisc(name);
    if (m_commentsPath == path)
        dropComments();
    // The view shows the first disc next; until then no disc is loaded.
    m_state.Tracks.clear();
    m_state.TrackCount = 0;
    m_state.DiscIncomplete = false;
    m_tracksPath.clear();
    return change;
}

Change Catalogue::keepShortDisc(int row)
{
    if (row < 0 || row >= m_state.DiscCount || !m_state.DiscIncomplete)
        return {};
    QList<DiscRow> next = discs();
    next[row].count = QString::number(m_state.TrackCount);
    Batch batch(*this, {m_state.IndexPath});
    if (!batch.write(m_state.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_state.Discs = next;
    m_state.DiscIncomplete = false;
    return batch.done();
}

// ---------------------------------------------------------------- comments

bool Catalogue::setComment(int row, const QString& typed)
{
    const QString text = codepage::oneLine(typed);
    if (row < 0 || row >= m_state.TrackCount || m_tracksPath.isEmpty() ||
        !codepage::representable(text))
        return false;
    if (!m_comments.isEmpty() && m_commentsPath != m_tracksPath)
        m_comments.clear();
    m_commentsPath = m_tracksPath;
    if (m_state.Tracks.at(row)[6] == text)
        m_comments.remove(row);
    else
        m_comments.insert(row, text);
    m_state.CommentsDirty = m_comments.isEmpty() ? 0 : 1;
    return true;
}

QString Catalogue::comment(int row) const
{
    if (m_commentsPath == m_tracksPath && m_comments.contains(row))
        return m_comments.value(row);
    return row >= 0 && row < m_state.Tracks.size() ? m_state.Tracks.at(row)[6] : QString();
}

void Catalogue::dropComments()
{
    m_comments.clear();
    m_commentsPath.clear();
    m_state.CommentsDirty = 0;
}

Change Catalogue::saveComments()
{
    // Comments go only into the file of the disc they were typed on, and
    // only while it reads whole.
    if (m_comments.isEmpty() || m_commentsPath != m_tracksPath || m_state.DiscIncomplete) {
        dropComments();
        return {QString(), true};
    }
    QList<Track> tracks = m_state.Tracks.mid(0, m_state.TrackCount);
    for (auto it = m_comments.cbegin(); it != m_comments.cend(); ++it)
        if (it.key() < tracks.size())
            tracks[it.key()][6] = it.value();
    Batch batch(*this, {m_tracksPath});
    if (!batch.write(m_tracksPath, catalogue::discBytes(tracks)))
        return batch.fail();
    m_state.Tracks = tracks;
    dropComments();
    return batch.done();
}
