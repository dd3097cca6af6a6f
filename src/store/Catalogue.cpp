// Every change of the catalogue, each as one operation with its rollback.
#include "store/Catalogue.h"

#include "store/Codepage.h"
#include "store/Module1.h"
#include "store/TimeText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <utility>

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
        m_step.shownBefore = m_catalogue.shownName();
        for (const QString& path : paths) {
            if (const QString unsafe = m_catalogue.unsafeToWrite(path); !unsafe.isEmpty()) {
                m_change.problem = unsafe;
                return;
            }
            if (m_catalogue.changedOutside(path)) {
                refuseAsChanged(path);
                return;
            }
        }
    }

    // A file is no longer as the program left it. The steps of the history
    // no longer match the files, so they go with it.
    void refuseAsChanged(const QString& path)
    {
        m_change.problem = outsideText(path);
        m_change.changedOutside = true;
        m_catalogue.forgetSteps();
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
        m_done.append({path, before, bytes});
        return true;
    }

    // Deletes a file the change takes out of the catalogue; before is what it held.
    bool remove(const QString& path, const QByteArray& before)
    {
        if (!m_change.problem.isEmpty())
            return false;
        if (const QString reason = m_catalogue.removeFile(path); !reason.isEmpty()) {
            m_change.problem = QStringLiteral("The file '%1' could not be deleted: %2.")
                                   .arg(nativePath(path), reason);
            return false;
        }
        m_done.append({path, before, std::nullopt});
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
        m_done.append({path, std::nullopt, QByteArray()});
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

    bool ok() const { return m_change.problem.isEmpty(); }

    Change done()
    {
        m_change.done = true;
        return m_change;
    }

    // The change as a step of the history: its files, as they were and are.
    history::Step& step(const QString& disc)
    {
        m_step.disc = disc;
        for (const Written& written : m_done)
            m_step.files.append({written.path, written.before, written.after});
        m_done.clear();
        return m_step;
    }

private:
    struct Written {
        QString path;
        std::optional<QByteArray> before; // none: the change created the file
        std::optional<QByteArray> after;  // none: the change deleted it
    };
    Catalogue& m_catalogue;
    Change m_change;
    QList<Written> m_done;
    history::Step m_step;
};

// ---------------------------------------------------------------- writing

QString Catalogue::unsafeToWrite(const QString& path) const
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        // Where the link leads in the end, also when nothing is there yet.
        QFileInfo end = info;
        for (int hops = 0; hops < 40 && end.isSymLink(); ++hops)
            end.setFile(end.symLinkTarget());
        const QString folder = QFileInfo(end.absolutePath()).canonicalFilePath();
        const QString data = QFileInfo(QDir::cleanPath(m_program.dataDir())).canonicalFilePath();
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

qint64 Catalogue::faultFor(const QString& path)
{
    TestHooks* hooks = m_program.hooks();
    if (!hooks)
        return -1;
    hooks->filesWritten.append(path);
    return hooks->writeFault ? hooks->writeFault(path) : hooks->writeFaultAfterBytes;
}

QString Catalogue::writeFile(const QString& path, const QByteArray& bytes)
{
    const qint64 cutAfter = faultFor(path);
    if (const QString reason = catalogue::writeAtomically(path, bytes, cutAfter); !reason.isEmpty())
        return Module1::writeFailureText(path, reason);
    noteBytes(path, bytes);
    if (m_songs.built() && path != m_s.IndexPath)
        m_songs.setDisc(QFileInfo(path).completeBaseName(),
                        songs::songsIn(bytes, catalogue::MaxTracks));
    return {};
}

QString Catalogue::removeFile(const QString& path)
{
    QFile file(path);
    m_seen.remove(path);
    m_songs.removeDisc(QFileInfo(path).completeBaseName());
    if (!QFileInfo(path).isSymLink() && !file.exists())
        return {};
    if (!file.remove())
        return catalogue::reasonOf(file);
    return {};
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

// ---------------------------------------------------------------- the changes

std::optional<Refusal> Catalogue::refuseNewDisc(const QString& name, const QString& countText) const
{
    if (name.isEmpty())
        return Refusal{2, QStringLiteral("You must give your disc a name!"), false};
    if (const auto problem = catalogue::newNameProblem(name);
        problem != catalogue::NameProblem::None)
        return Refusal{1, whyNot(problem, name), false};
    for (int row = 0; row < m_s.DiscCount; ++row)
        if (m_s.Discs.at(row).name.compare(name, Qt::CaseInsensitive) == 0)
            return Refusal{
                1,
                QStringLiteral("There is already a disc named '%1'.").arg(m_s.Discs.at(row).name),
                false};
    // A file left behind in Data must never receive a new disc's tracks.
    const QString fileName = name + QStringLiteral(".txt");
    const QStringList present =
        QDir(m_program.dataDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
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
    if (!belowOne && (!planned || *planned > m_s.TrackLimit))
        return Refusal{
            2,
            QStringLiteral("Discs with more than %1 tracks are unsupported.").arg(m_s.TrackLimit),
            true};
    if (belowOne)
        return Refusal{1, noCount, true};
    if (const QString bad = codepage::unstorableText(countText); !bad.isEmpty())
        return Refusal{1, bad, true};
    return std::nullopt;
}

Change Catalogue::addDisc(const QString& name, const QString& countText)
{
    const QString path = m_program.discPathFor(name);
    QList<DiscRow> next = discs();
    next.append({name, countText});
    // The disc's file comes first: the index never lists a disc without one.
    Batch batch(*this, {m_s.IndexPath});
    // The new disc with its tracks is one step, recorded once they are entered.
    m_entryStep = {{}, name, {{name, m_program.settings().discSection(name)}}, shownName(), {}};
    m_entryIndex = m_seen.value(m_s.IndexPath).bytes;
    if (!batch.create(path) || !batch.write(m_s.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_program.settings().setDiscLength(name, timetext::DefaultDiscLength);
    m_s.Discs = next;
    m_s.DiscCount = int(next.size());
    // The entry of its tracks begins.
    m_entryName = name;
    m_entryPlanned = catalogue::countOf(countText).value_or(0);
    m_entryTracks.clear();
    m_s.EntryTrack = 1;
    emit discAdded(m_s.DiscCount - 1);
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
    const QString path = m_program.discPathFor(name);
    QList<DiscRow> next = discs();
    next.append({name, count});
    Batch batch(*this, {path, m_s.IndexPath});
    const QMap<QString, QString> settingsBefore = m_program.settings().discSection(name);
    if (!batch.write(path, catalogue::discBytes(tracks)) ||
        !batch.write(m_s.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_program.settings().setDiscLength(name, timetext::DefaultDiscLength);
    m_s.Discs = next;
    m_s.DiscCount = int(next.size());
    history::Step& step = batch.step(name);
    step.sections = {{name, settingsBefore, m_program.settings().discSection(name)}};
    record(step);
    emit discAdded(m_s.DiscCount - 1);
    return batch.done();
}

Change Catalogue::importDiscs(const QList<spreadsheet::SheetDisc>& sheet)
{
    const auto refused = [](int row, const QString& why) {
        return Change{QStringLiteral("Row %1 of the spreadsheet: %2").arg(row).arg(why)};
    };
    QList<DiscRow> next = discs();
    QList<QList<Track>> tracks;
    QStringList paths;
    for (const spreadsheet::SheetDisc& disc : sheet) {
        const int first = disc.rows.value(0);
        for (qsizetype d = m_s.DiscCount; d < next.size(); ++d)
            if (next[d].name.compare(disc.name, Qt::CaseInsensitive) == 0)
                return refused(
                    first, QStringLiteral("There is already a disc named '%1'.").arg(next[d].name));
        if (const std::optional<Refusal> refusal = refuseNewDisc(disc.name, QStringLiteral("1")))
            return refused(first, refusal->text);
        if (disc.tracks.size() > m_s.TrackLimit)
            return refused(disc.rows.value(m_s.TrackLimit),
                           QStringLiteral("Discs with more than %1 tracks are unsupported.")
                               .arg(m_s.TrackLimit));
        tracks.append(disc.tracks);
        for (qsizetype t = 0; t < disc.tracks.size(); ++t)
            if (const QString problem = storable(tracks.last()[t]); !problem.isEmpty())
                return refused(disc.rows.value(t), problem);
        next.append({disc.name, QString::number(disc.tracks.size())});
        paths.append(m_program.discPathFor(disc.name));
    }
    if (sheet.isEmpty())
        return {QStringLiteral("The spreadsheet holds no tracks.")};
    QList<history::Step::Section> sections;
    for (const spreadsheet::SheetDisc& disc : sheet)
        sections.append({disc.name, m_program.settings().discSection(disc.name)});
    // The disc files first: the index never lists a disc without its file.
    Batch batch(*this, paths + QStringList{m_s.IndexPath});
    for (qsizetype d = 0; d < paths.size(); ++d)
        if (!batch.write(paths[d], catalogue::discBytes(tracks[d])))
            return batch.fail();
    if (!batch.write(m_s.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    const int first = m_s.DiscCount;
    m_s.Discs = next;
    m_s.DiscCount = int(next.size());
    for (history::Step::Section& section : sections) {
        m_program.settings().setDiscLength(section.disc, timetext::DefaultDiscLength);
        section.after = m_program.settings().discSection(section.disc);
    }
    history::Step step = batch.step(sheet.first().name);
    step.sections = sections;
    for (int row = first; row < m_s.DiscCount; ++row)
        emit discAdded(row);
    const Change change = batch.done();
    showDisc(first);
    record(step);
    return change;
}

int Catalogue::entryRoom() const
{
    return entering() ? m_entryPlanned - m_s.EntryTrack + 1 : 0;
}

void Catalogue::endEntry()
{
    const int row = rowOf(m_entryName);
    const QString path = m_program.discPathFor(m_entryName);
    m_entryName.clear();
    m_entryTracks.clear();
    m_entryPlanned = 0;
    m_s.EntryTrack = 0;
    // The new disc is shown; a disc that cannot be shown says so again when chosen.
    if (row >= 0)
        showDisc(row);
    history::Step step = std::exchange(m_entryStep, {});
    if (step.disc.isEmpty() || !m_seen.contains(path) || !m_seen.contains(m_s.IndexPath))
        return;
    step.files = {{path, std::nullopt, m_seen.value(path).bytes},
                  {m_s.IndexPath, m_entryIndex, m_seen.value(m_s.IndexPath).bytes}};
    step.sections.first().after = m_program.settings().discSection(step.disc);
    record(step);
}

Change Catalogue::storeEntryTrack(Track track)
{
    const int k = m_s.EntryTrack;
    if (!entering() || k < 1 || k > m_entryPlanned)
        return {};
    if (const QString problem = storable(track); !problem.isEmpty())
        return {problem};
    const QString path = m_program.discPathFor(m_entryName);
    QList<Track> stored = m_entryTracks;
    stored.append(track);
    Batch batch(*this, {path});
    if (!batch.write(path, catalogue::discBytes(stored)))
        return batch.fail();
    m_entryTracks = stored;
    m_s.EntryTrack = k + 1;
    const Change change = batch.done();
    if (k == m_entryPlanned)
        endEntry();
    return change;
}

Change Catalogue::keepEntry()
{
    const int row = rowOf(m_entryName);
    if (!entering() || row < 0)
        return {};
    QList<DiscRow> next = discs();
    next[row].count = QString::number(m_entryTracks.size());
    Batch batch(*this, {m_s.IndexPath});
    if (!batch.write(m_s.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_s.Discs = next;
    const Change change = batch.done();
    endEntry();
    return change;
}

Change Catalogue::dropNewDisc()
{
    const int row = rowOf(m_entryName);
    if (!entering() || row < 0)
        return {};
    const QString name = m_entryName;
    QList<DiscRow> next = discs();
    next.removeAt(row);
    // The index first: a file the index no longer lists is harmless.
    Batch batch(*this, {m_s.IndexPath});
    if (!batch.write(m_s.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_s.Discs = next;
    m_s.DiscCount = int(next.size());
    m_entryName.clear();
    m_entryTracks.clear();
    m_entryPlanned = 0;
    m_s.EntryTrack = 0;
    m_entryStep = {};
    // An index that reads as before but whose bytes differ (a count line
    // put right) no longer matches the steps.
    if (m_seen.value(m_s.IndexPath).bytes != m_entryIndex)
        forgetSteps();
    Change change = batch.done();
    const QString path = m_program.discPathFor(name);
    if (const QString reason = removeFile(path); !reason.isEmpty())
        change.problem =
            QStringLiteral("The file '%1' could not be deleted: %2.").arg(nativePath(path), reason);
    // Its disc length goes with it, as with a removed disc.
    m_program.settings().deleteDisc(name);
    emit discRemoved(row);
    return change;
}

Change Catalogue::addTrack(Track track)
{
    const int row = m_s.CurrentDisc;
    if (row < 0 || row >= m_s.DiscCount || m_tracksPath.isEmpty())
        return {};
    if (const QString problem = storable(track); !problem.isEmpty())
        return {problem};
    QList<Track> tracks = m_s.Tracks.mid(0, m_s.TrackCount);
    tracks.append(track);
    QList<DiscRow> next = discs();
    next[row].count = QString::number(tracks.size());
    // The disc file first, whole: its counted records and the new one.
    Batch batch(*this, {m_tracksPath, m_s.IndexPath});
    if (!batch.write(m_tracksPath, catalogue::discBytes(tracks)) ||
        !batch.write(m_s.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_s.Discs = next;
    m_s.Tracks = tracks;
    m_s.TrackCount = int(tracks.size());
    record(batch.step(shownName()));
    emit tracksChanged();
    return batch.done();
}

Change Catalogue::editTrack(int row, Track track)
{
    if (row < 0 || row >= m_s.TrackCount || m_tracksPath.isEmpty())
        return {};
    if (const QString problem = storable(track); !problem.isEmpty())
        return {problem};
    QList<Track> tracks = m_s.Tracks.mid(0, m_s.TrackCount);
    tracks[row] = track;
    Batch batch(*this, {m_tracksPath});
    if (!batch.write(m_tracksPath, catalogue::discBytes(tracks)))
        return batch.fail();
    m_s.Tracks = tracks;
    record(batch.step(shownName()));
    emit tracksChanged();
    return batch.done();
}

Change Catalogue::removeTrack(int row)
{
    const int disc = m_s.CurrentDisc;
    if (row < 0 || row >= m_s.TrackCount || disc < 0 || disc >= m_s.DiscCount ||
        m_tracksPath.isEmpty())
        return {};
    QList<Track> tracks = m_s.Tracks.mid(0, m_s.TrackCount);
    tracks.removeAt(row);
    QList<DiscRow> next = discs();
    next[disc].count = QString::number(tracks.size());
    // The disc file first, then the index.
    Batch batch(*this, {m_tracksPath, m_s.IndexPath});
    if (!batch.write(m_tracksPath, catalogue::discBytes(tracks)) ||
        !batch.write(m_s.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_s.Discs = next;
    m_s.Tracks = tracks;
    m_s.TrackCount = int(tracks.size());
    record(batch.step(shownName()));
    emit tracksChanged();
    return batch.done();
}

Change Catalogue::removeDisc(int row)
{
    if (row < 0 || row >= m_s.DiscCount)
        return {};
    const QString name = m_s.Discs.at(row).name;
    QList<DiscRow> next = discs();
    next.removeAt(row);
    const QString path = m_program.discPathFor(name);
    // Kept to bring the disc back: its file's bytes and its settings.
    std::optional<QByteArray> file;
    const bool kept = fileNow(path, &file);
    const QMap<QString, QString> settingsBefore = m_program.settings().discSection(name);
    // The index first, so a listed disc never loses its file.
    Batch batch(*this, {m_s.IndexPath});
    if (!batch.write(m_s.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_s.Discs = next;
    m_s.DiscCount = int(next.size());
    history::Step step = batch.step(name);
    Change change = batch.done();
    if (const QString reason = removeFile(path); !reason.isEmpty())
        change.problem = QStringLiteral("The disc '%1' is out of the catalogue, but its file '%2' "
                                        "could not be deleted: %3.")
                             .arg(name, nativePath(path), reason);
    else if (file)
        step.files.append({path, file, std::nullopt});
    m_program.settings().deleteDisc(name);
    step.sections = {{name, settingsBefore, m_program.settings().discSection(name)}};
    if (m_commentsPath == path)
        dropComments();
    emit discRemoved(row);
    // The first disc is shown next (when it can be).
    const Change first = m_s.DiscCount > 0 ? showDisc(0) : Change{};
    if (!first.done) {
        showNone();
        if (change.problem.isEmpty())
            change.problem = first.problem;
    }
    // A file that cannot be read cannot be brought back.
    if (kept)
        record(step);
    else
        forgetSteps();
    return change;
}

Change Catalogue::keepShortDisc()
{
    const int row = m_s.CurrentDisc;
    if (row < 0 || row >= m_s.DiscCount || !m_s.DiscIncomplete)
        return {};
    QList<DiscRow> next = discs();
    next[row].count = QString::number(m_s.TrackCount);
    Batch batch(*this, {m_s.IndexPath});
    if (!batch.write(m_s.IndexPath, catalogue::indexBytes(next)))
        return batch.fail();
    m_s.Discs = next;
    m_s.DiscIncomplete = false;
    record(batch.step(shownName()));
    emit tracksChanged();
    return batch.done();
}

Change Catalogue::setDiscOptions(const QString& length, bool mono)
{
    const int row = m_s.CurrentDisc;
    const std::optional<int> seconds = timetext::parse(length);
    if (row < 0 || row >= m_s.DiscCount || !seconds)
        return {};
    const QString name = m_s.Discs.at(row).name;
    history::Step step{{}, name, {{name, m_program.settings().discSection(name)}}, name, {}};
    m_program.settings().setMono(name, mono ? QStringLiteral("1") : QStringLiteral("0"));
    m_program.settings().setDiscLength(name, length);
    step.sections.first().after = m_program.settings().discSection(name);
    record(step);
    m_s.DiscLength = *seconds;
    emit tracksChanged();
    return {QString(), true};
}

// ---------------------------------------------------------------- comments

bool Catalogue::setComment(int row, const QString& typed)
{
    const QString text = codepage::oneLine(typed);
    if (row < 0 || row >= m_s.TrackCount || m_tracksPath.isEmpty() ||
        !codepage::representable(text))
        return false;
    if (!m_comments.isEmpty() && m_commentsPath != m_tracksPath)
        m_comments.clear();
    m_commentsPath = m_tracksPath;
    if (m_s.Tracks.at(row)[6] == text)
        m_comments.remove(row);
    else
        m_comments.insert(row, text);
    m_s.CommentsDirty = !m_comments.isEmpty();
    return true;
}

QString Catalogue::comment(int row) const
{
    if (m_commentsPath == m_tracksPath && m_comments.contains(row))
        return m_comments.value(row);
    return row >= 0 && row < m_s.Tracks.size() ? m_s.Tracks.at(row)[6] : QString();
}

void Catalogue::dropComments()
{
    m_comments.clear();
    m_commentsPath.clear();
    m_s.CommentsDirty = false;
}

Change Catalogue::saveComments()
{
    // Comments go only into the file of the disc they were typed on, and
    // only while it reads whole.
    if (m_comments.isEmpty() || m_commentsPath != m_tracksPath || m_s.DiscIncomplete) {
        dropComments();
        return {QString(), true};
    }
    QList<Track> tracks = m_s.Tracks.mid(0, m_s.TrackCount);
    for (auto it = m_comments.cbegin(); it != m_comments.cend(); ++it)
        if (it.key() < tracks.size())
            tracks[it.key()][6] = it.value();
    Batch batch(*this, {m_tracksPath});
    if (!batch.write(m_tracksPath, catalogue::discBytes(tracks)))
        return batch.fail();
    // The boxes show the comments already: nothing to draw again.
    m_s.Tracks = tracks;
    record(batch.step(shownName()));
    dropComments();
    return batch.done();
}

// ---------------------------------------------------------------- the history

QString Catalogue::shownName() const
{
    if (m_s.CurrentDisc < 0 || m_s.CurrentDisc >= m_s.DiscCount || m_tracksPath.isEmpty())
        return {};
    return m_s.Discs.at(m_s.CurrentDisc).name;
}

bool Catalogue::fileNow(const QString& path, std::optional<QByteArray>* bytes)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        bytes->reset();
        return true;
    }
    if (!info.isFile())
        return false;
    // What the program last read or wrote of it, while its size and time
    // stamp say it is still so: no read of its own.
    if (const auto seen = m_seen.constFind(path);
        seen != m_seen.cend() && info.size() == seen->size && info.lastModified() == seen->modified)
        *bytes = seen->bytes;
    else
        *bytes = catalogue::readFileBytes(path);
    return bytes->has_value();
}

void Catalogue::record(history::Step step)
{
    const bool settingsChanged =
        std::any_of(step.sections.cbegin(), step.sections.cend(),
                    [](const history::Step::Section& s) { return s.before != s.after; });
    if (!settingsChanged && std::all_of(step.files.cbegin(), step.files.cend(),
                                        [](const history::FileChange& f) { return f.same(); }))
        return; // nothing changed: no step to take back
    step.shownAfter = shownName();
    m_history.record(std::move(step));
}

QList<songs::Index::Hit> Catalogue::sameSong(const QString& artist, const QString& title)
{
    if (!m_songs.built())
        m_songs.build(songsOfEveryDisc());
    const QList<songs::Index::Hit> found = m_songs.find(songs::songOf(artist, title));
    if (found.isEmpty())
        return found;
    // In catalogue order: the discs that hold the song, by their rows.
    QHash<QString, QList<int>> tracksOf;
    for (const songs::Index::Hit& hit : found)
        tracksOf[hit.disc].append(hit.track);
    QList<songs::Index::Hit> hits;
    for (int row = 0; row < m_s.DiscCount && hits.size() < found.size(); ++row) {
        const QString& name = m_s.Discs.at(row).name;
        if (const auto tracks = tracksOf.constFind(name); tracks != tracksOf.cend()) {
            QList<int> inOrder = *tracks;
            std::sort(inOrder.begin(), inOrder.end());
            for (const int track : inOrder)
                hits.append({name, track});
        }
    }
    return hits;
}

void Catalogue::forgetSteps()
{
    m_history.clear();
    m_entryStep = {};
}

Change Catalogue::undo()
{
    return takeStep(true);
}

Change Catalogue::redo()
{
    return takeStep(false);
}

Change Catalogue::takeStep(bool back)
{
    if (entering())
        return {};
    // Comments typed and not yet written are written first; taking a step
    // back then takes back that typing.
    if (m_s.CommentsDirty) {
        if (const Change saved = saveComments(); !saved.done)
            return saved;
    }
    if (!(back ? canUndo() : canRedo()))
        return {};
    const history::Step step = back ? m_history.nextUndo() : m_history.nextRedo();
    const auto wanted = [back](const history::FileChange& file) {
        return back ? file.existsBefore() : file.existsAfter();
    };
    // The usual order: a disc's file before the index that lists it, and a
    // file deleted only once the index no longer lists it.
    QList<const history::FileChange*> order;
    for (int pass = 0; pass < 3; ++pass)
        for (const history::FileChange& file : step.files)
            if ((!wanted(file) ? 2 : file.path() == m_s.IndexPath ? 1 : 0) == pass)
                order.append(&file);
    QStringList paths;
    for (const history::FileChange* file : order)
        paths.append(file->path());
    Batch batch(*this, paths);
    if (!batch.ok())
        return batch.fail();
    QList<std::optional<QByteArray>> now(order.size());
    for (qsizetype i = 0; i < order.size(); ++i) {
        const history::FileChange& file = *order.at(i);
        if (!fileNow(file.path(), &now[i]) ||
            !(back ? file.isAfter(now[i]) : file.isBefore(now[i]))) {
            batch.refuseAsChanged(file.path());
            return batch.fail();
        }
    }
    const QList<DiscRow> listed = discs();
    for (qsizetype i = 0; i < order.size(); ++i) {
        const history::FileChange& file = *order.at(i);
        const QByteArray from = now.at(i).value_or(QByteArray());
        const std::optional<QByteArray> to = back ? file.before(from) : file.after(from);
        if (!(to ? batch.write(file.path(), *to) : batch.remove(file.path(), from)))
            return batch.fail();
        if (to && file.path() == m_s.IndexPath) {
            m_s.Discs = catalogue::parseIndex(*to).discs;
            m_s.DiscCount = int(m_s.Discs.size());
        }
    }
    for (const history::Step::Section& section : step.sections)
        m_program.settings().setDiscSection(section.disc, back ? section.before : section.after);
    back ? m_history.undone() : m_history.redone();
    tellDiscs(listed);
    // The disc the step changed is shown, or where it is gone, the one on
    // show at the time.
    const QString name = rowOf(step.disc) >= 0 ? step.disc
                         : back                ? step.shownBefore
                                               : step.shownAfter;
    const int row = rowOf(name) >= 0 ? rowOf(name) : m_s.DiscCount > 0 ? 0 : -1;
    Change change = batch.done();
    if (const Change shown = row >= 0 ? showDisc(row) : Change{}; !shown.done) {
        showNone();
        change.problem = shown.problem;
    }
    return change;
}

void Catalogue::tellDiscs(const QList<DiscRow>& before)
{
    const QList<DiscRow> now = discs();
    qsizetype same = 0;
    while (same < before.size() && same < now.size() && before[same].name == now[same].name)
        ++same;
    // The names after the first difference, one list a disc ahead of the other.
    const auto restMatches = [&](const QList<DiscRow>& longer, const QList<DiscRow>& shorter) {
        for (qsizetype k = same; k < shorter.size(); ++k)
            if (shorter[k].name != longer[k + 1].name)
                return false;
        return true;
    };
    if (now.size() == before.size() + 1 && restMatches(now, before))
        emit discAdded(int(same));
    else if (now.size() + 1 == before.size() && restMatches(before, now))
        emit discRemoved(int(same));
    else if (same != now.size() || same != before.size())
        emit catalogueReset();
}
