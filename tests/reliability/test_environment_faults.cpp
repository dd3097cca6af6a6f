// Faults of the machine, injected for real: a Data folder that cannot be
// written (immutable, as root cannot be refused by permissions), a disc file
// replaced by a folder, and a disk that fills up part way through a write.
#include "editing/EditingHelpers.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using catalogue::Track;

namespace {

QList<Track> tracks(int n, int commentLength = 0)
{
    QList<Track> list;
    for (int i = 0; i < n; ++i)
        list.append(makeTrack(QStringLiteral("T%1").arg(i + 1), "4:00",
                              QString(commentLength, QChar('c'))));
    return list;
}

// Makes a folder immutable for as long as it lives (chattr +i).
class Immutable
{
public:
    explicit Immutable(const QString& path) : m_path(path)
    {
        m_ok = QProcess::execute("chattr", {"+i", path}) == 0;
    }
    ~Immutable()
    {
        if (m_ok)
            QProcess::execute("chattr", {"-i", m_path});
    }
    bool ok() const { return m_ok; }

private:
    QString m_path;
    bool m_ok = false;
};

// A full disk: no file of this process may grow beyond `bytes` while it lives.
class DiskLimit
{
public:
    explicit DiskLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_before);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_before;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~DiskLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_before{};
    void (*m_handler)(int) = nullptr;
};

} // namespace

TEST(EnvironmentFaults, AFullDiskLosesNothing)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Big", tracks(24, 600)}, {"Small", tracks(1)}}));
    const QByteArray big = p.bytes("Big.txt");
    ASSERT_GT(big.size(), 14000);
    p.main().cmbDisc->setCurrentIndex(0);
    QSignalSpy ended(&p.main(), &frmMain::programEnded);
    {
        DiskLimit full(8192);
        // A comment, then Quit: the file cannot be written whole.
        QTest::keyClicks(p.main().txtComments[0], "typed");
        click(p.main().picQuit);
        EXPECT_EQ(ended.count(), 0);
        EXPECT_EQ(p.lastKind(), 1);
        EXPECT_TRUE(p.lastMessage().contains("Big.txt")) << p.lastMessage().toStdString();
        EXPECT_EQ(p.bytes("Big.txt"), big);
        EXPECT_EQ(p.main().txtComments[0]->text(), "typed" + QString(600, QChar('c')));
        // A track added: refused the same way.
        p.state().messagesShown.clear();
        p.state().CommentsDirty = 0;
        const auto wait = onNextModal([](QWidget* modal) {
            auto* entry = qobject_cast<frmNewt*>(modal);
            typeTrack(entry, makeTrack("T25"));
            EXPECT_TRUE(entry->isVisible());
            keyTo(entry, Qt::Key_Escape);
        });
        click(p.main().picNewt);
        EXPECT_TRUE(p.lastMessage().contains("Big.txt"));
        EXPECT_EQ(p.bytes("Big.txt"), big);
        EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 2 \r\nBig\r\n24\r\nSmall\r\n1\r\n"));
        EXPECT_EQ(QDir(p.dataPath("")).entryList(QDir::Files, QDir::Name),
                  (QStringList{"Big.txt", "Small.txt", "index.txt"}))
            << "no half-written file is left behind";
    }
    p.state().CommentsDirty = 1;
    click(p.main().picQuit);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(p.bytes("Big.txt").contains("typed"));
}

TEST(EnvironmentFaults, ADiscFileReplacedByAFolder)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", tracks(3)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    QFile::remove(p.dataPath("Rock.txt"));
    ASSERT_TRUE(QDir(p.dataPath("")).mkdir("Rock.txt"));
    removeDialog(p, p.main().picRemt, 0, {"yes"});
    // Nothing is written over it; read again, the disc cannot be shown.
    const QStringList said = p.messageTexts();
    ASSERT_EQ(said.size(), 3); // the question, then the two below
    EXPECT_TRUE(said.at(1).contains("Rock.txt' was changed outside")) << said.at(1).toStdString();
    EXPECT_TRUE(said.at(2).startsWith("The disc 'Rock' cannot be shown"))
        << said.at(2).toStdString();
    EXPECT_TRUE(QFileInfo(p.dataPath("Rock.txt")).isDir());
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n3\r\n"));
    EXPECT_EQ(p.state().TrackCount, 0);
}

TEST(EnvironmentFaults, DataReplacedByAFileWhileTheProgramRuns)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", tracks(2)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    QDir program(p.programDir());
    ASSERT_TRUE(program.rename("Data", "Moved"));
    {
        QFile file(program.filePath("Data"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a folder");
    }
    // A new disc: refused, and nothing is made anywhere.
    newDisc(p, "Mix", "1");
    EXPECT_EQ(p.main().trackEntry(), nullptr);
    EXPECT_EQ(p.lastKind(), 1);
    EXPECT_TRUE(p.messageTexts().join('|').contains("index.txt' was changed outside"));
    EXPECT_TRUE(p.lastMessage().contains("no longer reads")) << p.lastMessage().toStdString();
    // A comment at Quit: the message, and the program stays.
    QSignalSpy ended(&p.main(), &frmMain::programEnded);
    QTest::keyClicks(p.main().txtComments[0], "lost?");
    click(p.main().picQuit);
    EXPECT_EQ(ended.count(), 0);
    EXPECT_EQ(p.lastKind(), 1);
    EXPECT_TRUE(p.messageTexts().join('|').contains("Rock.txt' was changed outside"));
    EXPECT_EQ(p.main().txtComments[0]->text(), "lost?");
    EXPECT_TRUE(QFileInfo(program.filePath("Data")).isFile());
    EXPECT_EQ(QDir(program.filePath("Moved")).entryList(QDir::Files, QDir::Name),
              (QStringList{"Rock.txt", "index.txt"}));
    EXPECT_EQ(program.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{"Data", "Moved", "settings.ini"}));
}

TEST(EnvironmentFaults, ADataFolderThatCannotBeWritten)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", tracks(2)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    const QByteArray index = p.bytes("index.txt");
    const QByteArray rock = p.bytes("Rock.txt");
    Immutable locked(p.dataPath(""));
    if (!locked.ok())
        GTEST_SKIP() << "chattr is not available here";
    // New disc, comment, removals: each refused with its message, nothing changed.
    newDisc(p, "Jazz", "2");
    EXPECT_EQ(p.main().trackEntry(), nullptr);
    EXPECT_EQ(p.lastKind(), 1);
    QTest::keyClicks(p.main().txtComments[1], "x");
    EXPECT_FALSE(p.main().cmdComments());
    EXPECT_TRUE(p.lastMessage().contains("Rock.txt"));
    p.state().CommentsDirty = 0;
    p.main().txtComments[1]->setText(QString());
    p.state().Tracks[1][6].clear();
    removeDialog(p, p.main().picRemd, 0, {"yes"});
    EXPECT_TRUE(p.lastMessage().contains("index.txt"));
    EXPECT_EQ(p.state().DiscCount, 1);
    EXPECT_EQ(p.bytes("index.txt"), index);
    EXPECT_EQ(p.bytes("Rock.txt"), rock);
    EXPECT_EQ(QDir(p.dataPath("")).entryList(QDir::Files, QDir::Name),
              (QStringList{"Rock.txt", "index.txt"}));
}
