#include "store/CatalogueFiles.h"
#include "store/Codepage.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifndef Q_OS_WIN
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace catalogue;

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

void putFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

Track track(const QString& title, const QString& comment = {})
{
    return {"Label", "Artist", title, "1999", "4:05", "LP", comment};
}

} // namespace

// How index bytes read: the discs, or the line at fault when damaged.
TEST(IndexFile, Reading)
{
    struct Case {
        QByteArray bytes;
        QList<DiscRow> discs;
        int damagedAt = 0;
        std::optional<int> wrongCount = {}; // the count line, when it is not the pairs'
    };
    const QList<DiscRow> ab = {{"A", "1"}, {"B", "2"}};
    const QList<Case> cases = {
        {" 2 \r\nRock\r\n10\r\nVol. 2.\r\n12 songs\r\nleft over\r\n",
         {{"Rock", "10"}, {"Vol. 2.", "12 songs"}}},
        {"", {}}, // a first run's empty index
        {"2\nA\n1\nB\n2\n", ab},
        {"2\rA\r1\rB\r2", ab},
        {"  2\t\r\nMix \r\n1\r\nVol. 2.\r\n1\r\n", {{"Mix ", "1"}, {"Vol. 2.", "1"}}},
        {" 1 \r\n..\r\n1\r\n", {{"..", "1"}}},
        {" 0 \r\nleft\r\nover\r\n", {{"left", "over"}}, 0, 0},
        {" 1 \r\nA\r\n1\r\nB\r\n2\r\n", ab, 0, 1}, // short by one pair
        {" 1 \r\nA\r\n1\r\n\r\n\r\n", {{"A", "1"}}},
        {"\r\nA\r\n1\r\n", {}, 1},
        {"99999\r\n", {}, 1},
        {"\xEF\xBB\xBF 1 \r\nA\r\n1\r\n", {}, 1}, // a byte-order mark
        {QByteArray(4096, '\x9f') + "\r\n", {}, 1},
        {" 1 \r\n..\\evil\r\n1\r\n", {}, 2},
        {" 3 \r\nA\r\n1\r\nB\r\n2\r\n", ab, 0, 3},
        {" 2 \r\nA\r\n1\r\nB\r\n", {{"A", "1"}}, 0, 2}, // one line short of its count
        {" 2 \r\nA\r\n1\r\nINDEX\r\n2\r\n", {}, 4},
    };
    for (const Case& c : cases) {
        const IndexRead read = parseIndex(c.bytes);
        SCOPED_TRACE(c.bytes.toStdString());
        EXPECT_EQ(read.status, c.damagedAt ? IndexRead::Damaged : IndexRead::Ok);
        EXPECT_EQ(read.discs, c.discs);
        EXPECT_EQ(read.line, c.damagedAt);
        EXPECT_EQ(read.problem.isEmpty(), c.damagedAt == 0);
        EXPECT_EQ(read.wrongCount, c.wrongCount);
    }
    QTemporaryDir dir;
    EXPECT_EQ(readIndex(dir.filePath("index.txt")).status, IndexRead::Missing);
    ASSERT_TRUE(QDir(dir.path()).mkdir("index.txt"));
    EXPECT_EQ(readIndex(dir.filePath("index.txt")).status, IndexRead::Unreadable);
}

TEST(DiscFile, RecordsRoundTripByteForByte)
{
    const QList<Track> tracks = {track(QString::fromUtf8("Ace of Spades – Live"), ""),
                                 {"", "", "Quiet", "", "", "", "note"}};
    const QByteArray bytes = discBytes(tracks);
    EXPECT_EQ(bytes,
              QByteArray("Label\r\nArtist\r\nAce of Spades \x96 Live\r\n1999\r\n4:05\r\nLP\r\n"
                         "\r\n\r\n\r\nQuiet\r\n\r\n\r\n\r\nnote\r\n"));
    const DiscRead read = parseDiscFile(bytes, 2);
    EXPECT_EQ(read.status, DiscRead::Whole);
    EXPECT_EQ(read.tracks, tracks);
    // Written on another system: every record reads, and goes back as CR LF.
    for (const QByteArray& end : {QByteArray("\n"), QByteArray("\r")}) {
        QByteArray foreign = bytes;
        foreign.replace("\r\n", end);
        EXPECT_EQ(parseDiscFile(foreign, 2).tracks, tracks);
        foreign.chop(1); // and without a line end after its last line
        foreign += "ends here";
        EXPECT_EQ(parseDiscFile(foreign, 2).tracks.last()[6], "noteends here");
    }
}

// A folder in a disc file's place cannot be read.
TEST(DiscFile, AFolderIsUnreadable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("Folder.txt"));
    EXPECT_EQ(readDiscFile(dir.filePath("Folder.txt"), 1).status, DiscRead::Unreadable);
}

#ifdef Q_OS_LINUX
// A file that holds more than it said when it was looked at (as the kernel's
// files say nothing) is read to its end.
TEST(DiscFile, ReadToTheEndWhateverItsSizeSaid)
{
    QFile file("/proc/self/cmdline");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    ASSERT_GT(whole.size(), 1);
    EXPECT_EQ(readFileBytes(file.fileName()), whole);
}
#endif

// A half rounds to even; a count past 16 bits never wraps.
TEST(Counts, LeadingNumberRule)
{
    const QList<std::pair<const char*, int>> counts = {
        {"12 songs", 12}, {"  7", 7}, {"songs 12", 0},   {"", 0},         {"2.5", 2},
        {"3.5", 4},       {"-1", -1}, {"2.6 tracks", 3}, {"32767", 32767}};
    for (const auto& [text, count] : counts)
        EXPECT_EQ(countOf(text), count) << text;
    for (const char* huge : {"65540", "99999999999999999999"})
        EXPECT_EQ(countOf(huge), std::nullopt) << huge;
    EXPECT_FALSE(leadingNumber("x1").found);
    EXPECT_FALSE(leadingNumber(" .").found);
    EXPECT_TRUE(leadingNumber(" .5").found);
}

TEST(AtomicWrite, AFailedWriteLeavesTheOldFileAndNothingElse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Rock.txt");
    putFile(path, "old content\r\n");
    EXPECT_FALSE(writeAtomically(path, QByteArray(1000, 'n'), 100).isEmpty()); // cut short
    EXPECT_EQ(readFile(path), QByteArray("old content\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Rock.txt"}); // no leftovers
    EXPECT_EQ(writeAtomically(path, "new\r\n"), QString());
    EXPECT_EQ(readFile(path), QByteArray("new\r\n"));

    ASSERT_TRUE(QDir(dir.path()).mkdir("Jazz.txt")); // a folder in the file's place
    EXPECT_FALSE(writeAtomically(dir.filePath("Jazz.txt"), "x").isEmpty());
    EXPECT_TRUE(QFileInfo(dir.filePath("Jazz.txt")).isDir());
    EXPECT_FALSE(writeAtomically(dir.filePath("NoFolder/Rock.txt"), "x").isEmpty());

    // A new empty file never replaces one that exists.
    EXPECT_EQ(createEmptyFile(dir.filePath("Mix.txt")), QString());
    EXPECT_EQ(QFileInfo(dir.filePath("Mix.txt")).size(), 0);
    EXPECT_FALSE(createEmptyFile(path).isEmpty());
    EXPECT_EQ(readFile(path), QByteArray("new\r\n"));
}

#ifndef Q_OS_WIN // pipes, devices, links and file-size limits are POSIX
// A file for the user follows its links as a shell does; a pipe or a device
// is written to and stays what it is.
TEST(UserFile, LinksFollowedDevicesNeverReplaced)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("real.csv"), link = dir.filePath("link.csv");
    putFile(target, "old");
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_EQ(writeForUser(link, "new"), QString());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFile(target), QByteArray("new"));
    const QString pipe = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe), 0644), 0);
    const int reader = ::open(QFile::encodeName(pipe), O_RDONLY | O_NONBLOCK);
    EXPECT_EQ(writeForUser(pipe, "through"), QString());
    char got[16] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 7);
    ::close(reader);
    EXPECT_FALSE(QFileInfo(pipe).isFile());
    EXPECT_EQ(writeForUser("/dev/full", "x"), "No space left on device");
    EXPECT_EQ(writeForUser(dir.path(), "x"), "it is a folder");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::System).size(), 3); // no leftovers
}

TEST(AtomicWrite, AFullDiskNeverInstallsATruncatedFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Big.txt");
    const QByteArray old = QByteArray(3000, 'o');
    putFile(path, old);
    // A file-size limit stands in for a full disk: writes past it fail.
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    auto* handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = before;
    limit.rlim_cur = 8192;
    setrlimit(RLIMIT_FSIZE, &limit);
    const QString small = writeAtomically(path, QByteArray(5000, 's'));
    const QByteArray afterSmall = readFile(path);
    const QString large = writeAtomically(path, QByteArray(15000, 'l')); // fits a write buffer
    const QString huge = writeAtomically(path, QByteArray(200000, 'h')); // does not
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(small, QString());
    EXPECT_EQ(afterSmall, QByteArray(5000, 's'));
    EXPECT_FALSE(large.isEmpty());
    EXPECT_FALSE(huge.isEmpty());
    EXPECT_EQ(readFile(path), QByteArray(5000, 's'));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Big.txt"});
}
#else
// A device name stands for its device in every folder, with or without an
// extension; nothing is made in the folder.
TEST(UserFile, DeviceNamesAreDevices)
{
    QTemporaryDir dir;
    for (const char* name : {"NUL", "nul.csv", "Nul "})
        EXPECT_EQ(writeForUser(dir.filePath(name), "x"), QString()) << name;
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::System).isEmpty());
}
#endif
