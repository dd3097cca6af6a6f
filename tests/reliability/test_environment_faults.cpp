// Data replaced by a file while the program runs (a full disk and a failed
// write are the core's atomic write tests).
#include "support/TestProgram.h"

TEST(EnvironmentFaults, DataReplacedByAFileWhileTheProgramRuns)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    chooseDisc(p.main(), 0);
    QDir program(p.programDir());
    ASSERT_TRUE(program.rename("Data", "Moved"));
    QFile file(program.filePath("Data"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not a folder") > 0);
    file.close();
    // A new disc: refused, and nothing is made anywhere.
    EXPECT_EQ(newDisc(p, "Mix", "1"), nullptr);
    EXPECT_TRUE(p.messageTexts().join('|').contains("index.txt' was changed outside"));
    EXPECT_TRUE(p.lastMessage().contains("no longer reads")) << p.lastMessage().toStdString();
    // A comment at Quit: the message, and the program stays.
    QSignalSpy ended(&p.main(), &frmMain::programEnded);
    QTest::keyClicks(p.main().rows->txtComments[0], "lost?");
    click(p.main().picQuit);
    EXPECT_EQ(ended.count(), 0);
    EXPECT_EQ(p.lastKind(), 1);
    EXPECT_TRUE(p.messageTexts().join('|').contains("Rock.txt' was changed outside"));
    EXPECT_EQ(p.main().rows->txtComments[0]->text(), "lost?");
    EXPECT_EQ(QDir(program.filePath("Moved")).entryList(QDir::Files, QDir::Name),
              (QStringList{"Rock.txt", "index.txt"}));
    EXPECT_EQ(QDir(p.programDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{"Data", "Moved", "settings.ini"}));
    EXPECT_TRUE(QFileInfo(program.filePath("Data")).isFile());
}
