// Faults of the machine, injected for real: a Data folder that cannot be
// written (immutable, as root cannot be refused by permissions), a disc file
// replaced by a folder, and a disk that fills up part way through a write.
#include "editing/EditingHelpers.h"

#include <QProcess>
#include <QSignalSpy>

#include <csignal>
#include <sys/resource.h>

namespace {

// Runs act on a full disk: no file of this process may grow beyond `bytes`.
void onAFullDisk(rlim_t bytes, const std::function<void()>& act)
{
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit limit = before;
    limit.rlim_cur = bytes;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    act();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, handler);
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(EnvironmentFaults, AFullDiskLosesNothing)
{
    TestProgram p;
    QList<catalogue::Track> big;
    for (int i = 1; i <= 24; ++i)
        big.append(makeTrack(QString("T%1").arg(i), "4:00", QString(600, 'c')));
    ASSERT_TRUE(p.startWith({{"Big", big}, {"Small", makeTracks(1)}}));
    const QByteArray bytes = p.bytes("Big.txt");
    p.main().cmbDisc->setCurrentIndex(0);
    QSignalSpy ended(&p.main(), &frmMain::programEnded);
    // A comment, then Quit: the file cannot be written whole.
    onAFullDisk(8192, [&] {
        QTest::keyClicks(p.main().txtComments[0], "typed");
        click(p.main().picQuit);
    });
    EXPECT_EQ(ended.count(), 0);
    EXPECT_EQ(p.lastKind(), 1);
    EXPECT_TRUE(p.lastMessage().contains("Big.txt")) << p.lastMessage().toStdString();
    EXPECT_EQ(p.main().txtComments[0]->text(), "typed" + QString(600, 'c'));
    EXPECT_EQ(p.bytes("Big.txt"), bytes);
    EXPECT_EQ(entries(p.dataPath("")), (QStringList{"Big.txt", "Small.txt", "index.txt"}))
        << "no half-written file is left behind";
    click(p.main().picQuit);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(p.bytes("Big.txt").contains("typed"));
}

TEST(EnvironmentFaults, ADiscFileReplacedByAFolder)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(3)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    QFile::remove(p.dataPath("Rock.txt"));
    ASSERT_TRUE(QDir(p.dataPath("")).mkdir("Rock.txt"));
    removeDialog(p, p.main().picRemt, 0);
    // Nothing is written over it; read again, the disc cannot be shown.
    const QStringList said = p.messageTexts();
    ASSERT_EQ(said.size(), 3) << said.join('|').toStdString(); // the question, then these two
    EXPECT_TRUE(said.at(1).contains("Rock.txt' was changed outside"));
    EXPECT_TRUE(said.at(2).startsWith("The disc 'Rock' cannot be shown"));
    EXPECT_TRUE(QFileInfo(p.dataPath("Rock.txt")).isDir());
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n3\r\n"));
    EXPECT_EQ(p.state().TrackCount, 0);
}

TEST(EnvironmentFaults, DataReplacedByAFileWhileTheProgramRuns)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    QDir program(p.programDir());
    ASSERT_TRUE(program.rename("Data", "Moved"));
    QFile file(program.filePath("Data"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not a folder") > 0);
    file.close();
    // A new disc: refused, and nothing is made anywhere.
    newDisc(p, "Mix", "1");
    EXPECT_EQ(p.main().trackEntry(), nullptr);
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
    EXPECT_EQ(entries(program.filePath("Moved")), (QStringList{"Rock.txt", "index.txt"}));
    EXPECT_EQ(entries(p.programDir()), (QStringList{"Data", "Moved", "settings.ini"}));
    EXPECT_TRUE(QFileInfo(program.filePath("Data")).isFile());
}

TEST(EnvironmentFaults, ADataFolderThatCannotBeWritten)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    const QByteArray index = p.bytes("index.txt"), rock = p.bytes("Rock.txt");
    if (QProcess::execute("chattr", {"+i", p.dataPath("")}) != 0)
        GTEST_SKIP() << "chattr is not available here";
    // New disc, comment, removal: each refused with its message, nothing changed.
    newDisc(p, "Jazz", "2");
    EXPECT_EQ(p.main().trackEntry(), nullptr);
    EXPECT_EQ(p.lastKind(), 1);
    QTest::keyClicks(p.main().txtComments[1], "x");
    EXPECT_FALSE(p.main().cmdComments());
    EXPECT_TRUE(p.lastMessage().contains("Rock.txt"));
    p.main().txtComments[1]->setText(QString());
    p.state().catalogue().dropComments();
    removeDialog(p, p.main().picRemd, 0);
    EXPECT_TRUE(p.lastMessage().contains("index.txt"));
    EXPECT_EQ(p.state().DiscCount, 1);
    QProcess::execute("chattr", {"-i", p.dataPath("")});
    EXPECT_EQ(p.bytes("index.txt"), index);
    EXPECT_EQ(p.bytes("Rock.txt"), rock);
    EXPECT_EQ(entries(p.dataPath("")), (QStringList{"Rock.txt", "index.txt"}));
}
