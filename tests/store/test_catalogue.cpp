// Every change of the catalogue as one operation: the files it writes, and
// the state it leaves, which must always be what a fresh read of the files
// gives, whether the change was written, failed at its first or its second
// file, or found a file changed outside the program.
#include "store/Catalogue.h"
#include "store/Module1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

using catalogue::DiscRow;
using catalogue::Track;

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

// A program folder with Alpha (2 tracks, shown) and Bravo (3 tracks).
class Folder
{
public:
    Folder() : state({dir.path(), dir.filePath("settings.ini"), 1024})
    {
        QDir(dir.path()).mkdir("Data");
        put("index.txt", catalogue::indexBytes({{"Alpha", "2"}, {"Bravo", "3"}}));
        put("Alpha.txt", catalogue::discBytes(tracks("A", 2)));
        put("Bravo.txt", catalogue::discBytes(tracks("B", 3)));
        state.IndexPath = state.dataDir() + "index.txt";
        start();
    }

    void start()
    {
        const catalogue::IndexRead index = state.catalogue().readIndex();
        state.Discs = index.discs;
        state.DiscCount = int(index.discs.size());
        show(0);
    }

    void show(int row)
    {
        state.CurrentDisc = row;
        state.DiscPath = state.discPathFor(state.Discs.at(row).name);
        state.catalogue().readDisc(state.DiscPath,
                                   catalogue::countOf(state.Discs.at(row).count).value_or(0));
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

    // The state must be what the files say: the index, and the records of
    // the disc Tracks stands for (while a new disc is entered, the tracks
    // stored so far).
    void expectStateIsFiles()
    {
        const catalogue::IndexRead index = catalogue::readIndex(state.IndexPath);
        ASSERT_EQ(index.status, catalogue::IndexRead::Ok);
        EXPECT_EQ(state.Discs.mid(0, state.DiscCount), index.discs);
        const QString tracksPath = state.catalogue().tracksPath();
        if (tracksPath.isEmpty()) {
            EXPECT_EQ(state.TrackCount, 0);
            return;
        }
        if (state.catalogue().entering()) {
            const catalogue::DiscRead read =
                catalogue::readDiscFile(tracksPath, state.EntryTrack - 1);
            EXPECT_EQ(read.status, catalogue::DiscRead::Whole);
            EXPECT_EQ(state.Tracks.mid(0, state.EntryTrack - 1), read.tracks);
            return;
        }
        const QString name = QFileInfo(tracksPath).completeBaseName();
        int count = -1;
        for (const DiscRow& disc : index.discs)
            if (disc.name == name)
                count = catalogue::countOf(disc.count).value_or(0);
        ASSERT_GE(count, 0) << "Tracks stands for a disc the index does not list";
        const catalogue::DiscRead read = catalogue::readDiscFile(tracksPath, count);
        EXPECT_EQ(state.Tracks.mid(0, state.TrackCount), read.tracks);
        EXPECT_EQ(state.TrackCount, read.tracks.size());
        EXPECT_EQ(state.DiscIncomplete, read.status == catalogue::DiscRead::Short);
    }

    QTemporaryDir dir;
    Module1 state;
};

// A new disc Delta of two planned tracks, its entry under way.
void startEntry(Module1& state)
{
    ASSERT_TRUE(state.catalogue().addDisc("Delta", "2 songs", 2).done);
    state.catalogue().beginEntry();
}

void startEntryWithATrack(Module1& state)
{
    startEntry(state);
    ASSERT_TRUE(state.catalogue().storeEntryTrack(track("D1")).done);
}

struct Operation {
    const char* name;
    std::function<void(Folder&)> prepare;
    std::function<Change(Module1&)> change;
    QStringList writes;  // the files it writes, in order
    Files changed;       // the files it leaves unlike the folder's first three (empty: gone)
    QString outsideText; // what the repeated change adds, beside a change made outside
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
         [](Module1& s) { return s.catalogue().addDisc("Delta", "2 songs", 2); },
         {"Delta.txt", "index.txt"},
         {{"index.txt", delta}, {"Delta.txt", ""}},
         "Delta"},
        {"store a track of a new disc",
         [](Folder& f) { startEntry(f.state); },
         [](Module1& s) { return s.catalogue().storeEntryTrack(track("D1")); },
         {"Delta.txt"},
         {{"index.txt", delta}, {"Delta.txt", catalogue::discBytes({track("D1")})}},
         "D1"},
        {"keep the tracks entered so far",
         [](Folder& f) { startEntryWithATrack(f.state); },
         [](Module1& s) { return s.catalogue().keepEntry(); },
         {"index.txt"},
         {{"index.txt", index({{"Alpha", "2"}, {"Bravo", "3"}, {"Delta", "1"}})},
          {"Delta.txt", catalogue::discBytes({track("D1")})}},
         "Delta\r\n1\r\n"},
        {"drop a new disc",
         [](Folder& f) { startEntryWithATrack(f.state); },
         [](Module1& s) { return s.catalogue().dropNewDisc(); },
         {"index.txt"},
         {},
         " 3 \r\nAlpha\r\n2\r\nBravo\r\n3\r\nCharlie"},
        {"add a track",
         {},
         [](Module1& s) { return s.catalogue().addTrack(track("New")); },
         {"Alpha.txt", "index.txt"},
         {{"index.txt", index({{"Alpha", "3"}, {"Bravo", "3"}})},
          {"Alpha.txt", alpha(2, track("New"))}},
         "New"},
        {"edit a track",
         {},
         [](Module1& s) { return s.catalogue().editTrack(0, track("Edited")); },
         {"Alpha.txt"},
         {{"Alpha.txt", alpha(0, track("Edited"))}},
         "Edited"},
        {"remove a track",
         {},
         [](Module1& s) { return s.catalogue().removeTrack(0); },
         {"Alpha.txt", "index.txt"},
         {{"index.txt", index({{"Alpha", "1"}, {"Bravo", "3"}})},
          {"Alpha.txt", catalogue::discBytes({track("A2")})}},
         "Alpha\r\n1\r\n"},
        {"remove a disc",
         {},
         [](Module1& s) { return s.catalogue().removeDisc(1); },
         {"index.txt"},
         {{"index.txt", index({{"Alpha", "2"}})}, {"Bravo.txt", {}}},
         " 2 \r\nAlpha\r\n2\r\nCharlie"},
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
         [](Module1& s) { return s.catalogue().keepShortDisc(1); },
         {"index.txt"},
         {{"index.txt", index({{"Alpha", "2"}, {"Bravo", "2"}})}, {"Bravo.txt", shortBravo}},
         "Bravo\r\n2\r\n"},
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
    f.state.filesWritten.clear();
    const Change change = op.change(f.state);
    EXPECT_TRUE(change.done) << change.problem.toStdString();
    EXPECT_EQ(change.problem, QString());
    QStringList written;
    for (const QString& path : f.state.filesWritten)
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
    for (int failing = 0; failing < op.writes.size(); ++failing) {
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
            f.state.writeFault = [&](const QString&) -> qint64 {
                const int n = writes++;
                return n == failing || (forGood && n > failing) ? 0 : -1;
            };
            const Change change = op.change(f.state);
            EXPECT_FALSE(change.done);
            EXPECT_TRUE(change.problem.contains(op.writes.at(failing)))
                << change.problem.toStdString();
            if (!forGood) {
                EXPECT_EQ(f.files(), before);
            }
            f.expectStateIsFiles();
        }
    }
}

// Another program changed the index (it added the disc Charlie) or the
// shown disc's file (it retitled a track): nothing is written, and once the
// catalogue is read again the change goes through and keeps both.
TEST_P(EveryChange, AFileChangedOutsideIsNeverOverwritten)
{
    const Operation& op = GetParam();
    for (const QString& changed : op.writes) {
        if (changed == "Delta.txt") {
            continue; // a new disc's file is the program's own
        }
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

        // Read again, as the main window does, and repeat.
        ASSERT_EQ(f.state.catalogue().reload(), QString());
        if (!f.state.catalogue().entering() && !f.state.catalogue().tracksPath().isEmpty())
            f.show(f.state.CurrentDisc);
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

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryChange, testing::ValuesIn(operations()),
                         [](const testing::TestParamInfo<Operation>& info) {
                             QString name = QString::fromLatin1(info.param.name);
                             name.replace(' ', '_').remove('\'');
                             return name.toStdString();
                         });

TEST(CatalogueComments, TypedCommentsWaitUntilWrittenAndGoOnlyToTheirDisc)
{
    Folder f;
    f.state.catalogue().setComment(0, "first");
    EXPECT_EQ(f.state.CommentsDirty, 1);
    EXPECT_EQ(f.state.catalogue().comment(0), "first");
    EXPECT_EQ(f.state.Tracks.at(0)[6], QString()); // not in the state before the file
    f.state.catalogue().setComment(0, QString());  // typed back as it was
    EXPECT_EQ(f.state.CommentsDirty, 0);

    f.state.catalogue().setComment(1, "for Alpha");
    const Files before = f.files();
    f.show(1); // Bravo is in Tracks now: Alpha's comment never reaches Bravo
    EXPECT_TRUE(f.state.catalogue().saveComments().done);
    EXPECT_EQ(f.files(), before);
    EXPECT_EQ(f.state.CommentsDirty, 0);
}

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
            continue;
        }
        QFile moved(target);
        ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
        EXPECT_EQ(moved.readAll().contains("New"), written);
        if (!written)
            EXPECT_EQ(change.problem, QString("The file '%1' is a link to '%2', outside the "
                                              "catalogue's folder, so Platterbook writes nothing "
                                              "to it.")
                                          .arg(path, target));
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

TEST(CatalogueLock, OneProgramPerCatalogue)
{
    Folder f;
    EXPECT_EQ(f.state.catalogue().lock(), Catalogue::Lock::Taken);
    EXPECT_TRUE(QFileInfo::exists(f.path(Catalogue::lockFileName())));
    EXPECT_FALSE(Catalogue::lockFileName().endsWith(".txt"));
    f.state.catalogue().unlock();
    EXPECT_FALSE(QFileInfo::exists(f.path(Catalogue::lockFileName())));

    // A lock file a crash left empty is stale, unless a program holds it.
    f.put(Catalogue::lockFileName(), "");
    const int held = ::open(QFile::encodeName(f.path(Catalogue::lockFileName())), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(f.state.catalogue().lock(), Catalogue::Lock::HeldHere);
    ::close(held);
    // The guard of a stale lock's removal, left by a program killed then, goes too.
    f.put(Catalogue::lockFileName() + ".rmlock", "");
    EXPECT_EQ(f.state.catalogue().lock(), Catalogue::Lock::Taken);
    EXPECT_FALSE(QFileInfo::exists(f.path(Catalogue::lockFileName() + ".rmlock")));
    f.state.catalogue().unlock();

    // A lock from another computer is taken over only when asked to.
    f.put(Catalogue::lockFileName(), "4242\nplatterbook\nstudio-pc\n");
    QString other;
    EXPECT_EQ(f.state.catalogue().lock(&other), Catalogue::Lock::HeldElsewhere);
    EXPECT_EQ(other, "studio-pc");
    EXPECT_TRUE(f.state.catalogue().takeOverLock());
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
    EXPECT_EQ(catalogueFolder("/usr/bin", "/usr/local/bin"), users);
    EXPECT_EQ(catalogueFolder("/opt/platterbook", "/usr/local/bin"), users);
}
