// Every change of the catalogue as one operation: the files it writes, and
// the state it leaves, which must always be what a fresh read of the files
// gives, whether the change was written, failed at its first or its second
// file, or found a file changed outside the program.
#include "store/Catalogue.h"
#include "store/Module1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

using catalogue::DiscRow;
using catalogue::Track;

void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"' << bytes.toPercentEncoding(" []=:").toStdString() << '"';
}

namespace {

Track track(const QString& title, const QString& comment = {})
{
    return {"Label", "Artist", title, "1999", "4:05", "LP", comment};
}

QList<Track> tracks(const QString& prefix, int n)
{
    QList<Track> list;
    for (int i = 1; i <= n; ++i)
        list.append(track(prefix + QString::number(i)));
    return list;
}

using Files = QMap<QString, QByteArray>;

// A program folder with Alpha (2 tracks, shown) and Bravo (3 tracks); what
// the catalogue signals is noted in order ("shown 0", "added 2", ...).
class Folder
{
public:
    Folder() : state({dir.path(), dir.filePath("settings.ini"), 1024, {}, &hooks})
    {
        QDir(dir.path()).mkdir("Data");
        put("index.txt", catalogue::indexBytes({{"Alpha", "2"}, {"Bravo", "3"}}));
        put("Alpha.txt", catalogue::discBytes(tracks("A", 2)));
        put("Bravo.txt", catalogue::discBytes(tracks("B", 3)));
        const Catalogue* c = &state.catalogue();
        QObject::connect(c, &Catalogue::catalogueReset, [this] { signalled << "reset"; });
        for (const auto& [signal, name] : {std::pair{&Catalogue::discAdded, "added"},
                                           {&Catalogue::discRemoved, "removed"},
                                           {&Catalogue::discShown, "shown"}})
            QObject::connect(c, signal, [this, name = name](int row) {
                signalled << QString("%1 %2").arg(name).arg(row);
            });
        QObject::connect(c, &Catalogue::tracksChanged, [this] { signalled << "tracks"; });
        start();
    }

    void start()
    {
        ASSERT_EQ(state.catalogue().open().status, Catalogue::Opening::Opened);
        show(0);
    }

    // Bravo has been shown, as Alpha: both have their settings.
    void showBoth()
    {
        show(1);
        show(0);
    }

    void show(int row)
    {
        ASSERT_TRUE(state.catalogue().showDisc(row).done);
        signalled.clear();
    }

    QString path(const QString& name) const { return dir.filePath("Data/" + name); }

    void put(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    Files files() const
    {
        Files all;
        for (const QString& name : QDir(dir.filePath("Data")).entryList({"*.txt"}, QDir::Files)) {
            QFile file(path(name));
            file.open(QIODevice::ReadOnly);
            all.insert(name, file.readAll());
        }
        return all;
    }

    // The state must be what the files say: the index, the records of the
    // shown disc, and while a new disc is entered the tracks stored so far.
    void expectStateIsFiles()
    {
        const catalogue::IndexRead index = catalogue::readIndex(state.IndexPath);
        ASSERT_EQ(index.status, catalogue::IndexRead::Ok);
        EXPECT_EQ(state.Discs.mid(0, state.DiscCount), index.discs);
        if (state.catalogue().entering()) {
            const QString name = index.discs.last().name;
            const QList<Track> stored = state.catalogue().entryTracks();
            EXPECT_EQ(catalogue::readDiscFile(path(name + ".txt"), int(stored.size())).tracks,
                      stored);
        }
        if (state.DiscPath.isEmpty()) {
            EXPECT_EQ(state.TrackCount, 0);
            return;
        }
        ASSERT_LT(state.CurrentDisc, index.discs.size());
        const DiscRow& disc = index.discs.at(state.CurrentDisc);
        EXPECT_EQ(state.DiscPath, path(disc.name + ".txt"));
        const catalogue::DiscRead read =
            catalogue::readDiscFile(state.DiscPath, catalogue::countOf(disc.count).value_or(0));
        EXPECT_EQ(state.Tracks.mid(0, state.TrackCount), read.tracks);
        EXPECT_EQ(state.TrackCount, read.tracks.size());
        EXPECT_EQ(state.DiscIncomplete, read.status == catalogue::DiscRead::Short);
    }

    QTemporaryDir dir;
    TestHooks hooks;
    Module1 state;
    QStringList signalled;
};

// A new disc Delta of two planned tracks, its entry under way.
void startEntry(Folder& f)
{
    ASSERT_TRUE(f.state.catalogue().addDisc("Delta", "2 songs").done);
    f.signalled.clear();
}

void startEntryWithATrack(Folder& f)
{
    startEntry(f);
    ASSERT_TRUE(f.state.catalogue().storeEntryTrack(track("D1")).done);
}

struct Operation {
    const char* name;
    std::function<void(Folder&)> prepare;
    std::function<Change(Module1&)> change;
    QStringList writes;         // the files it writes, in order
    Files changed;              // the files it leaves unlike the folder's first three (empty: gone)
    QString outsideText;        // what the repeated change adds, beside a change made outside
    QStringList signalled = {}; // what the catalogue tells, in order
};

void PrintTo(const Operation& op, std::ostream* os)
{
    *os << op.name;
}

QList<Operation> operations()
{
    const auto index = [](const QList<DiscRow>& discs) { return catalogue::indexBytes(discs); };
    const auto alpha = [](int row, const Track& t) {
        QList<Track> list = tracks("A", 2);
        row < list.size() ? void(list[row] = t) : list.append(t);
        return catalogue::discBytes(list);
    };
    QList<Track> commented = tracks("A", 2);
    commented[1][6] = "typed";
    const QByteArray shortBravo = catalogue::discBytes(tracks("B", 3)).left(90);
    const QByteArray delta = index({{"Alpha", "2"}, {"Bravo", "3"}, {"Delta", "2 songs"}});
    return {
        {"add a disc",
         {},
         [](Module1& s) { return s.catalogue().addDisc("Delta", "2 songs"); },
         {"Delta.txt", "index.txt"},
         {{"index.txt", delta}, {"Delta.txt", ""}},
         "Delta",
         {"added 2"}},
        {"add a disc with its tracks",
         {},
         [](Module1& s) { return s.catalogue().addDiscWithTracks("Delta", tracks("D", 2)); },
         {"Delta.txt", "index.txt"},
         {{"index.txt", index({{"Alpha", "2"}, {"Bravo", "3"}, {"Delta", "2"}})},
          {"Delta.txt", catalogue::discBytes(tracks("D", 2))}},
         "Delta",
         {"added 2"}},
        {"store a track of a new disc",
         [](Folder& f) { startEntry(f); },
         [](Module1& s) { return s.catalogue().storeEntryTrack(track("D1")); },
         {"Delta.txt"},
         {{"index.txt", delta}, {"Delta.txt", catalogue::discBytes({track("D1")})}},
         "D1"},
        {"store the last track of a new disc",
         [](Folder& f) { startEntryWithATrack(f); },
         [](Module1& s) { return s.catalogue().storeEntryTrack(track("D2")); },
         {"Delta.txt"},
         {{"index.txt", delta}, {"Delta.txt", catalogue::discBytes({track("D1"), track("D2")})}},
         "D2",
         {"shown 2"}},
        {"keep the tracks entered so far",
         [](Folder& f) { startEntryWithATrack(f); },
         [](Module1& s) { return s.catalogue().keepEntry(); },
         {"index.txt"},
         {{"index.txt", index({{"Alpha", "2"}, {"Bravo", "3"}, {"Delta", "1"}})},
          {"Delta.txt", catalogue::discBytes({track("D1")})}},
         "Delta\r\n1\r\n",
         {"shown 2"}},
        {"drop a new disc",
         [](Folder& f) { startEntryWithATrack(f); },
         [](Module1& s) { return s.catalogue().dropNewDisc(); },
         {"index.txt"},
         {},
         " 3 \r\nAlpha\r\n2\r\nBravo\r\n3\r\nCharlie",
         {"removed 2"}},
        {"add a track",
         {},
         [](Module1& s) { return s.catalogue().addTrack(track("New")); },
         {"Alpha.txt", "index.txt"},
         {{"index.txt", index({{"Alpha", "3"}, {"Bravo", "3"}})},
          {"Alpha.txt", alpha(2, track("New"))}},
         "New",
         {"tracks"}},
        {"edit a track",
         {},
         [](Module1& s) { return s.catalogue().editTrack(0, track("Edited")); },
         {"Alpha.txt"},
         {{"Alpha.txt", alpha(0, track("Edited"))}},
         "Edited",
         {"tracks"}},
        {"remove a track",
         {},
         [](Module1& s) { return s.catalogue().removeTrack(0); },
         {"Alpha.txt", "index.txt"},
         {{"index.txt", index({{"Alpha", "1"}, {"Bravo", "3"}})},
          {"Alpha.txt", catalogue::discBytes({track("A2")})}},
         "Alpha\r\n1\r\n",
         {"tracks"}},
        {"remove a disc",
         {},
         [](Module1& s) { return s.catalogue().removeDisc(0); },
         {"index.txt"},
         {{"index.txt", index({{"Bravo", "3"}})}, {"Alpha.txt", {}}},
         " 2 \r\nBravo\r\n3\r\nCharlie",
         {"removed 0", "shown 0"}},
        {"save typed comments",
         [](Folder& f) { f.state.catalogue().setComment(1, "typed"); },
         [](Module1& s) { return s.catalogue().saveComments(); },
         {"Alpha.txt"},
         {{"Alpha.txt", catalogue::discBytes(commented)}},
         "typed"},
        {"keep a short disc's records",
         [shortBravo](Folder& f) {
             // Bravo's file ends within its third record.
             f.put("Bravo.txt", shortBravo);
             f.show(1);
         },
         [](Module1& s) { return s.catalogue().keepShortDisc(); },
         {"index.txt"},
         {{"index.txt", index({{"Alpha", "2"}, {"Bravo", "2"}})}, {"Bravo.txt", shortBravo}},
         "Bravo\r\n2\r\n",
         {"tracks"}},
        {"set a disc's length and mono mark",
         {},
         [](Module1& s) { return s.catalogue().setDiscOptions("1:20:00", true); },
         {},
         {},
         "",
         {"tracks"}},
    };
}

class EveryChange : public testing::TestWithParam<Operation>
{
};

TEST_P(EveryChange, WritesItsFilesAndTheStateFollows)
{
    const Operation& op = GetParam();
    Folder f;
    if (op.prepare)
        op.prepare(f);
    f.hooks.filesWritten.clear();
    const Change change = op.change(f.state);
    EXPECT_TRUE(change.done) << change.problem.toStdString();
    EXPECT_EQ(change.problem, QString());
    EXPECT_EQ(f.signalled, op.signalled);
    EXPECT_EQ(f.state.catalogue().entering(), f.state.EntryTrack != 0);
    QStringList written;
    for (const QString& path : f.hooks.filesWritten)
        written << QFileInfo(path).fileName();
    EXPECT_EQ(written, op.writes);
    Files after = Folder().files();
    for (auto it = op.changed.begin(); it != op.changed.end(); ++it)
        it.value().isNull() ? void(after.remove(it.key()))
                            : void(after.insert(it.key(), it.value()));
    EXPECT_EQ(f.files(), after);
    f.expectStateIsFiles();
}

// A write that fails at each of the change's files, once (the files written
// before it are put back) or for good (putting back fails too).
TEST_P(EveryChange, AFailedWriteLeavesTheStateAsTheFilesAre)
{
    const Operation& op = GetParam();
    for (int failing = 0; failing < op.writes.size(); ++failing)
        for (const bool forGood : {false, true}) {
            SCOPED_TRACE(QStringLiteral("write %1 fails%2")
                             .arg(failing + 1)
                             .arg(forGood ? " for good" : "")
                             .toStdString());
            Folder f;
            if (op.prepare)
                op.prepare(f);
            const Files before = f.files();
            int writes = 0;
            f.hooks.writeFault = [&](const QString&) -> qint64 {
                const int n = writes++;
                return n == failing || (forGood && n > failing) ? 0 : -1;
            };
            f.signalled.clear();
            const Change change = op.change(f.state);
            EXPECT_FALSE(change.done);
            EXPECT_TRUE(change.problem.contains(op.writes.at(failing)))
                << change.problem.toStdString();
            if (!forGood) { // nothing changed, and nothing to tell of
                EXPECT_EQ(f.signalled, QStringList());
                EXPECT_EQ(f.files(), before);
            }
            f.expectStateIsFiles();
        }
}

// Another program changed the index (it added the disc Charlie) or the
// shown disc's file (it retitled a track): nothing is written, and once the
// catalogue is read again the change goes through and keeps both.
TEST_P(EveryChange, AFileChangedOutsideIsNeverOverwritten)
{
    const Operation& op = GetParam();
    for (const QString& changed : op.writes) {
        if (changed == "Delta.txt")
            continue; // a new disc's file is the program's own
        SCOPED_TRACE(changed.toStdString());
        Folder f;
        if (op.prepare)
            op.prepare(f);
        QByteArray outside;
        if (changed == "index.txt") {
            QList<DiscRow> discs = catalogue::parseIndex(f.files().value("index.txt")).discs;
            discs.append(DiscRow{"Charlie", "1"});
            f.put("Charlie.txt", catalogue::discBytes({track("C1")}));
            f.put(changed, outside = catalogue::indexBytes(discs));
        } else {
            // The same size and the same time stamp: only the bytes tell.
            const QDateTime stamp = QFileInfo(f.path(changed)).lastModified();
            outside = f.files().value(changed).replace("A2", "X2");
            f.put(changed, outside);
            QFile file(f.path(changed));
            file.open(QIODevice::ReadWrite);
            file.setFileTime(stamp, QFileDevice::FileModificationTime);
        }
        const Files before = f.files();
        const QList<DiscRow> discsBefore = f.state.Discs;
        const QList<Track> tracksBefore = f.state.Tracks;

        const Change change = op.change(f.state);
        EXPECT_FALSE(change.done);
        EXPECT_TRUE(change.changedOutside);
        EXPECT_TRUE(change.problem.contains(changed) &&
                    change.problem.contains("changed outside Platterbook") &&
                    change.problem.contains("read again"))
            << change.problem.toStdString();
        EXPECT_EQ(f.files(), before);
        EXPECT_EQ(f.state.Discs, discsBefore);
        EXPECT_EQ(f.state.Tracks, tracksBefore);

        // Read again, as every window does after such a change, and repeat.
        ASSERT_EQ(f.state.catalogue().reload(), QString());
        const Change again = op.change(f.state);
        EXPECT_TRUE(again.done) << again.problem.toStdString();
        const Files now = f.files();
        EXPECT_TRUE(now.value(changed).contains(changed == "index.txt" ? "Charlie" : "X2"));
        QByteArray all;
        for (const QByteArray& bytes : now)
            all += bytes;
        EXPECT_TRUE(all.contains(op.outsideText.toLatin1())) << all.toStdString();
        f.expectStateIsFiles();
    }
}

// The files as they lie on disk, and the settings key by key (the order of
// their sections is the settings store's own).
Files everything(const Folder& f)
{
    Files all = f.files();
    const QSettings settings(f.dir.filePath("settings.ini"), QSettings::IniFormat);
    for (const QString& key : settings.allKeys())
        all.insert("settings: " + key, settings.value(key).toString().toUtf8());
    return all;
}

QString shownName(const Module1& s)
{
    return s.CurrentDisc >= 0 && !s.DiscPath.isEmpty() ? s.Discs.at(s.CurrentDisc).name : "";
}

// The views' count of discs, kept from the catalogue's signals alone, is its count.
void expectTold(const Folder& f, qsizetype rowsBefore)
{
    for (const QString& told : f.signalled)
        rowsBefore += told.startsWith("added") ? 1 : told.startsWith("removed") ? -1 : 0;
    if (!f.signalled.contains("reset")) {
        EXPECT_EQ(rowsBefore, f.state.DiscCount) << f.signalled.join(", ").toStdString();
    }
}

// Every change is one step (a new disc with the tracks entered for it is
// one): taken back, the files and the settings are byte for byte as before
// it and the disc shown then is shown; done again, as after it.
TEST_P(EveryChange, IsOneStepTakenBackAndDoneAgain)
{
    const Operation& op = GetParam();
    Folder f;
    f.showBoth();
    const Files start = everything(f);
    if (op.prepare)
        op.prepare(f);
    const bool entry = f.state.catalogue().entering();
    const Files before = entry ? start : everything(f);
    const QString shownBefore = shownName(f.state);
    ASSERT_TRUE(op.change(f.state).done);
    const Files after = everything(f);
    Catalogue& c = f.state.catalogue();
    if (c.entering() || after == before) { // no step yet, or none at all
        EXPECT_FALSE(c.undo().done);
        EXPECT_EQ(everything(f), after);
        return;
    }
    const qsizetype listedBefore = catalogue::parseIndex(before.value("index.txt")).discs.size();
    const QString changed =
        f.state.DiscCount > listedBefore ? f.state.Discs.last().name : shownName(f.state);
    for (const bool back : {true, false, true}) {
        SCOPED_TRACE(back ? "undone" : "redone");
        const qsizetype rows = f.state.DiscCount;
        f.signalled.clear();
        const Change change = back ? c.undo() : c.redo();
        EXPECT_TRUE(change.done);
        EXPECT_EQ(change.problem, QString());
        EXPECT_EQ(everything(f), back ? before : after);
        EXPECT_EQ(shownName(f.state), back ? shownBefore : changed);
        f.expectStateIsFiles();
        expectTold(f, rows);
    }
    EXPECT_FALSE(c.canUndo());
    EXPECT_TRUE(c.canRedo());
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryChange, testing::ValuesIn(operations()),
                         [](const testing::TestParamInfo<Operation>& info) {
                             QString name = QString::fromLatin1(info.param.name);
                             name.replace(' ', '_').remove('\'');
                             return name.toStdString();
                         });

// Three steps taken back in turn and done again in turn; a change after a
// step taken back ends what could be done again.
TEST(CatalogueHistory, StepsGoBackAndForthInTurn)
{
    Folder f;
    f.showBoth();
    Catalogue& c = f.state.catalogue();
    QList<Files> states = {everything(f)};
    for (const auto& change : std::initializer_list<std::function<Change()>>{
             [&] { return c.editTrack(0, track("Edited")); }, [&] { return c.removeDisc(1); },
             [&] { return c.addTrack(track("New")); }}) {
        ASSERT_TRUE(change().done);
        states.append(everything(f));
    }
    for (qsizetype k = states.size() - 2; k >= 0; --k) {
        ASSERT_TRUE(c.undo().done);
        EXPECT_EQ(everything(f), states.at(k)) << k;
    }
    EXPECT_EQ(c.undo().problem, QString()); // nothing left: nothing happens
    EXPECT_EQ(everything(f), states.first());
    for (qsizetype k = 1; k < states.size(); ++k) {
        ASSERT_TRUE(c.redo().done);
        EXPECT_EQ(everything(f), states.at(k)) << k;
        f.expectStateIsFiles();
    }
    ASSERT_TRUE(c.undo().done);
    ASSERT_TRUE(c.editTrack(1, track("Other")).done);
    EXPECT_FALSE(c.canRedo());
}

// Between a step and its undo another program changed a file the undo would
// write: nothing is written and the history is gone. A write that fails
// while a step is taken back leaves everything as it was, the step still there.
TEST(CatalogueHistory, AStepIsTakenBackOnlyOverItsOwnFiles)
{
    for (const QString changed : {"Alpha.txt", "index.txt"}) {
        Folder f;
        Catalogue& c = f.state.catalogue();
        ASSERT_TRUE(c.addTrack(track("New")).done);
        ASSERT_TRUE(c.editTrack(1, track("Edited")).done && c.undo().done); // one to redo
        const QDateTime stamp = QFileInfo(f.path(changed)).lastModified();
        f.put(changed, f.files().value(changed).replace("A1", "X1").replace("Bravo", "Bravi"));
        QFile(f.path(changed)).open(QIODevice::ReadWrite) &&
            QFile(f.path(changed)).setFileTime(stamp, QFileDevice::FileModificationTime);
        const Files before = everything(f);
        f.hooks.filesWritten.clear();
        const Change change = c.undo();
        EXPECT_FALSE(change.done);
        EXPECT_TRUE(change.changedOutside);
        EXPECT_TRUE(change.problem.contains(QDir::toNativeSeparators(f.path(changed))))
            << change.problem.toStdString();
        EXPECT_EQ(f.hooks.filesWritten, QStringList());
        EXPECT_EQ(everything(f), before);
        EXPECT_FALSE(c.canUndo() || c.canRedo());
    }
    for (const int failing : {0, 1}) {
        Folder f;
        f.showBoth();
        Catalogue& c = f.state.catalogue();
        const Files first = everything(f);
        ASSERT_TRUE(c.removeDisc(0).done);
        const Files removed = everything(f);
        int writes = 0;
        f.hooks.writeFault = [&](const QString&) { return writes++ == failing ? 0 : -1; };
        const Change change = c.undo();
        EXPECT_FALSE(change.done);
        EXPECT_TRUE(change.problem.contains(failing ? "index.txt" : "Alpha.txt"));
        EXPECT_EQ(everything(f), removed);
        f.expectStateIsFiles();
        f.hooks.writeFault = {};
        EXPECT_TRUE(c.undo().done);
        EXPECT_EQ(everything(f), first);
    }
}

// New discs from a spreadsheet: all of them or, when a write fails at any
// file, none; a whole import is one step.
TEST(CatalogueImport, AllOrNothingAndOneStep)
{
    const spreadsheet::Sheet sheet =
        spreadsheet::readCatalogueCsv("Title,Disc,Track\nTwo,Echo,2\nOne,Echo,1\nSolo,Fox,\n");
    ASSERT_EQ(sheet.problem, QString());
    for (int failing = 0; failing < 4; ++failing) {
        SCOPED_TRACE(failing);
        Folder f;
        f.showBoth();
        const Files before = everything(f);
        int writes = 0;
        f.hooks.writeFault = [&](const QString&) { return writes++ == failing ? 0 : -1; };
        const Change change = f.state.catalogue().importDiscs(sheet.discs);
        f.expectStateIsFiles();
        if (failing < 3) {
            EXPECT_FALSE(change.done);
            EXPECT_EQ(everything(f), before);
            continue;
        }
        ASSERT_TRUE(change.done) << change.problem.toStdString();
        EXPECT_EQ(f.files().value("Echo.txt"),
                  catalogue::discBytes(
                      {{"", "", "One", "", "", "", ""}, {"", "", "Two", "", "", "", ""}}));
        EXPECT_EQ(
            f.files().value("index.txt"),
            catalogue::indexBytes({{"Alpha", "2"}, {"Bravo", "3"}, {"Echo", "2"}, {"Fox", "1"}}));
        EXPECT_EQ(shownName(f.state), "Echo");
        f.hooks.writeFault = {};
        ASSERT_TRUE(f.state.catalogue().undo().done);
        EXPECT_EQ(everything(f), before);
    }
}

// Where a song is, read once and then kept up to date by every change.
TEST(CatalogueSongs, EveryChangeKeepsTheAnswer)
{
    Folder f;
    Catalogue& c = f.state.catalogue();
    const auto where = [&c](const QString& title) {
        QStringList found;
        for (const songs::Index::Hit& hit : c.sameSong("ARTIST", title))
            found << QString("%1 %2").arg(hit.disc).arg(hit.track + 1);
        return found.join(", ");
    };
    EXPECT_EQ(where("a2"), "Alpha 2");
    ASSERT_TRUE(c.addTrack(track("B1")).done);
    EXPECT_EQ(where("B1"), "Alpha 3, Bravo 1");
    ASSERT_TRUE(c.removeDisc(1).done);
    EXPECT_EQ(where("B1"), "Alpha 3");
    ASSERT_TRUE(c.undo().done);
    EXPECT_EQ(where("B1"), "Alpha 3, Bravo 1");
    ASSERT_TRUE(c.showDisc(0).done && c.removeTrack(0).done);
    EXPECT_EQ(where("A2") + " / " + where("A1"), "Alpha 1 / ");
}

// A step over one disc of a long index keeps that disc's lines, not the index.
TEST(CatalogueHistory, AStepKeepsWhatChangedOnly)
{
    QList<DiscRow> discs;
    for (int k = 0; k < 20000; ++k)
        discs.append({QString("Disc number %1 of many").arg(k), "12"});
    const QByteArray before = catalogue::indexBytes(discs);
    discs.removeAt(7000);
    const QByteArray after = catalogue::indexBytes(discs);
    const history::FileChange change("index.txt", before, after);
    EXPECT_LT(change.cost(), 100);
    EXPECT_TRUE(change.isAfter(after) && !change.isAfter(before));
    EXPECT_EQ(change.before(after), before);
    EXPECT_EQ(change.after(before), after);
}

TEST(CatalogueComments, TypedCommentsWaitUntilWrittenAndGoOnlyToTheirDisc)
{
    Folder f;
    f.state.catalogue().setComment(0, "first");
    EXPECT_TRUE(f.state.CommentsDirty);
    EXPECT_EQ(f.state.catalogue().comment(0), "first");
    EXPECT_EQ(f.state.Tracks.at(0)[6], QString()); // not in the state before the file
    f.state.catalogue().setComment(0, QString());  // typed back as it was
    EXPECT_FALSE(f.state.CommentsDirty);

    // Shown next, another disc has the comment written to its own file first.
    f.state.catalogue().setComment(1, "for Alpha");
    const Files before = f.files();
    f.show(1);
    QList<Track> alpha = tracks("A", 2);
    alpha[1][6] = "for Alpha";
    EXPECT_EQ(f.files().value("Alpha.txt"), catalogue::discBytes(alpha));
    EXPECT_EQ(f.files().value("Bravo.txt"), before.value("Bravo.txt"));
    EXPECT_FALSE(f.state.CommentsDirty);
}

#ifndef Q_OS_WIN // links and pipes as POSIX has them
// A catalogue file that is a link is written through only where the link
// stays inside Data (Data itself may be a link); a link out of it, or a pipe
// in a file's place, is never written or replaced.
TEST(CatalogueLinks, WrittenThroughOnlyInsideData)
{
    QTemporaryDir elsewhere;
    const QList<std::tuple<const char*, const char*, bool>> cases = {
        {"Alpha.txt", "Moved.txt", true}, // Data/Moved.txt
        {"Alpha.txt", "", false},         // a pipe
        {"Alpha.txt", "outside/Alpha.txt", false},
        {"index.txt", "outside/index.txt", false}};
    for (const auto& [file, to, written] : cases) {
        SCOPED_TRACE(std::string(file) + " -> " + to);
        Folder f;
        const QString path = f.path(file);
        const QString target = QString(to).startsWith("outside")
                                   ? elsewhere.filePath(QString(to).replace("/", "-"))
                                   : f.path(to);
        const QByteArray bytes = f.files().value(file);
        ASSERT_TRUE(*to ? QFile::rename(path, target) && QFile::link(target, path)
                        : QFile::remove(path) && ::mkfifo(QFile::encodeName(path), 0644) == 0);
        const Change change = f.state.catalogue().addTrack(track("New"));
        EXPECT_EQ(change.done, written) << change.problem.toStdString();
        EXPECT_EQ(QFileInfo(path).isSymLink(), *to != 0);
        if (!*to) {
            EXPECT_FALSE(QFileInfo(path).isFile());
            EXPECT_EQ(change.problem, QString("'%1' is not a regular file, so Platterbook writes "
                                              "nothing to it.")
                                          .arg(path));
            // Every read of the whole catalogue passes the pipe by rather
            // than wait for a writer. (One comes after a minute, so that a
            // read that waits fails the test rather than holds it up.)
            std::mutex lock;
            std::condition_variable finished;
            bool done = false, rescued = false;
            std::thread writer([&] {
                std::unique_lock held(lock);
                if (finished.wait_for(held, std::chrono::seconds(60), [&] { return done; }))
                    return;
                rescued = true;
                while (!done) {
                    ::close(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK));
                    finished.wait_for(held, std::chrono::milliseconds(100));
                }
            });
            Catalogue& c = f.state.catalogue();
            EXPECT_EQ(c.search("Alpha"), 0);
            EXPECT_TRUE(c.sameSong("a", "b").isEmpty());
            EXPECT_EQ(c.report(Catalogue::ReportKind::Duplicates).problems,
                      QStringList(QString("The file '%1' of the disc 'Alpha' cannot be read: it is "
                                          "not a regular file.")
                                      .arg(path)));
            EXPECT_EQ(c.allDiscs().value(0).problem,
                      c.report(Catalogue::ReportKind::Statistics).problems.value(0));
            {
                std::lock_guard held(lock);
                done = true;
            }
            finished.notify_all();
            writer.join();
            EXPECT_FALSE(rescued);
            continue;
        }
        QFile moved(target);
        ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
        EXPECT_EQ(moved.readAll().contains("New"), written);
        if (!written) {
            EXPECT_EQ(change.problem, QString("The file '%1' is a link to '%2', outside the "
                                              "catalogue's folder, so Platterbook writes nothing "
                                              "to it.")
                                          .arg(path, target));
        }
    }

    // The whole Data folder a link.
    Folder f;
    const QString data = elsewhere.filePath("Data");
    ASSERT_TRUE(QDir().rename(f.dir.filePath("Data"), data));
    ASSERT_TRUE(QFile::link(data, f.dir.filePath("Data")));
    f.start();
    ASSERT_TRUE(f.state.catalogue().removeDisc(1).done);
    EXPECT_TRUE(QFileInfo(f.dir.filePath("Data")).isSymLink());
    EXPECT_EQ(catalogue::readIndex(data + "/index.txt").discs, QList<DiscRow>({{"Alpha", "2"}}));
}

#endif

// What opening finds a folder to be; only the lock is ever written.
TEST(CatalogueOpening, WhatAFolderIsFoundToBe)
{
    using O = Catalogue::Opening;
    const QString lock = Catalogue::lockFileName();
    const QList<std::tuple<const char*, std::function<void(Folder&)>, O::Status, QString>> cases = {
        {"whole", {}, O::Opened, ""},
        {"no folder", [](Folder& f) { QDir(f.path("")).removeRecursively(); }, O::NoFolder, ""},
        {"no index", [](Folder& f) { QFile::remove(f.path("index.txt")); }, O::NoIndex, ""},
        {"an emptied index", [](Folder& f) { f.put("index.txt", ""); }, O::Refused,
         "The catalogue index '<dir>/Data/index.txt' is damaged: it is empty, but the folder "
         "holds disc files such as 'Alpha.txt'"},
        {"a lock from another computer",
         [lock](Folder& f) { f.put(lock, "4242\nplatterbook\nstudio-pc\n"); }, O::HeldElsewhere,
         "studio-pc"},
        // A lock file a crash left empty is stale, unless a program holds it;
        // the guard of a stale lock's removal, left by a kill then, goes too.
        {"an empty lock", [lock](Folder& f) { f.put(lock + ".rmlock", ""); }, O::Opened, ""},
        // A lock whose program died and whose number a running program got.
        {"a lock naming a running program that does not hold it",
         [lock](Folder& f) {
             QLockFile running(f.path("running.lock"));
             ASSERT_TRUE(running.tryLock(0));
             QFile named(f.path("running.lock"));
             ASSERT_TRUE(named.open(QIODevice::ReadOnly));
             f.put(lock, named.readAll());
         },
         O::Opened, ""},
#ifndef Q_OS_WIN
        {"an empty lock held", {}, O::HeldHere, ""},
#endif
    };
    for (const auto& [what, prepare, status, text] : cases) {
        SCOPED_TRACE(what);
        Folder f;
        f.state.catalogue().unlock();
        const Files before = f.files();
        if (prepare)
            prepare(f);
        int held = -1;
        if (QString(what).startsWith("an empty lock"))
            f.put(lock, "");
#ifndef Q_OS_WIN
        if (QString(what).endsWith("held")) {
            held = ::open(QFile::encodeName(f.path(lock)), O_RDONLY);
            ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
        }
#endif
        Module1 other({f.dir.path(), f.dir.filePath("settings.ini"), 1024});
        const O opened = other.catalogue().open();
        EXPECT_EQ(opened.status, status);
        EXPECT_EQ(QDir::fromNativeSeparators(opened.text + opened.notice + opened.host)
                      .replace(f.dir.path(), "<dir>"),
                  text);
        EXPECT_EQ(QFileInfo::exists(f.path(lock)), status != O::NoFolder && status != O::Refused);
        EXPECT_FALSE(QFileInfo::exists(f.path(lock + ".rmlock")));
        if (status == O::HeldElsewhere) {
            EXPECT_TRUE(other.catalogue().takeOverLock());
        }
#ifndef Q_OS_WIN
        if (held >= 0)
            ::close(held);
#endif
        if (status == O::Opened && QString(what) == "whole") {
            EXPECT_EQ(f.files(), before);
            other.catalogue().unlock();
            EXPECT_FALSE(QFileInfo::exists(f.path(lock)));
        }
    }
}

// Showing a disc: its length read, or the default written once; a disc that
// cannot be shown leaves the one on show.
TEST(CatalogueShowing, TheDefaultLengthOnceAndNothingShownOnFailure)
{
    Folder f;
    EXPECT_EQ(f.state.settings().discLength("Alpha"), "01:14:00");
    EXPECT_EQ(f.state.DiscLength, 74 * 60);
    f.state.settings().setDiscLength("Bravo", "1:20:00");
    f.show(1);
    EXPECT_EQ(f.state.DiscLength, 80 * 60);
    EXPECT_EQ(f.state.settings().discLength("Bravo"), "1:20:00");
    QFile::remove(f.path("Alpha.txt"));
    const Change failed = f.state.catalogue().showDisc(0);
    EXPECT_FALSE(failed.done);
    EXPECT_EQ(QDir::fromNativeSeparators(failed.problem).replace(f.dir.path(), "<dir>"),
              "The disc 'Alpha' cannot be shown: its file '<dir>/Data/Alpha.txt' could not be "
              "read (the file does not exist).");
    EXPECT_EQ(f.state.CurrentDisc, 1);
    EXPECT_EQ(f.signalled, QStringList());
    f.expectStateIsFiles();
}

// Every disc's tracks as printing, the spreadsheet and the inlay take them:
// the counted records, or for a count outside 1 to 25 the records there
// are, at most 25; a short or missing file is named.
TEST(CatalogueReading, EveryDiscOnceWithOneRuleForItsCount)
{
    Folder f;
    const QList<std::tuple<QString, int, int, QString>> cases = {
        // count, records in the file, records taken, what is said
        {"0", 3, 3, ""},
        {"1", 3, 1, ""},
        {"25", 25, 25, ""},
        {"26", 30, 25, ""},
        {"songs", 2, 2, ""},
        {"4", 2, 2, "The file '<dir>/Data/D.txt' of the disc 'D' holds 2 of its 4 tracks."},
        {"2", -1, 0,
         "The file '<dir>/Data/D.txt' of the disc 'D' cannot be read: the file does "
         "not exist."},
    };
    for (const auto& [count, records, taken, said] : cases) {
        SCOPED_TRACE(count.toStdString());
        f.put("index.txt", catalogue::indexBytes({{"Alpha", "2"}, {"D", count}}));
        QFile::remove(f.path("D.txt"));
        if (records >= 0)
            f.put("D.txt", catalogue::discBytes(tracks("D", records)));
        ASSERT_EQ(f.state.catalogue().reload(), QString());
        const QList<catalogue::DiscTracks> all = f.state.catalogue().allDiscs();
        ASSERT_EQ(all.size(), 2);
        EXPECT_EQ(all[0].tracks, tracks("A", 2));
        EXPECT_EQ(all[1].name, "D");
        EXPECT_EQ(all[1].tracks, tracks("D", taken));
        EXPECT_EQ(QDir::fromNativeSeparators(all[1].problem).replace(f.dir.path(), "<dir>"), said);
    }
}

} // namespace

// Data beside a portable program, in the user's data folder for an
// installed one (its folder may be writable by root, but is no place for it).
TEST(CatalogueFolder, BesideAPortableProgramElseInTheUsersFolder)
{
    QTemporaryDir portable;
    const QString users =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/Data";
    EXPECT_EQ(catalogueFolder(portable.path(), "/usr/local/bin"), portable.path() + "/Data");
    EXPECT_EQ(catalogueFolder(portable.path(), portable.path()), users);
#ifndef Q_OS_WIN // where Linux keeps installed programs
    EXPECT_EQ(catalogueFolder("/usr/bin", "/usr/local/bin"), users);
    EXPECT_EQ(catalogueFolder("/opt/platterbook", "/usr/local/bin"), users);
#endif
    QFile(portable.filePath("platterbook.installed")).open(QIODevice::WriteOnly);
    EXPECT_EQ(catalogueFolder(portable.path(), "/usr/local/bin"), users);
}
