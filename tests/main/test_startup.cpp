#include "main/Screenres.h"
#include "navigator/frmNavi.h"
#include "support/TestProgram.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>

using catalogue::Track;

namespace {
const QString FirstQuestion = QStringLiteral("Is this the first time you have used this program?");

QStringList dataEntries(const TestProgram& p)
{
    return QDir(p.programDir() + "/Data").entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
}
} // namespace

TEST(FirstRun, NoDataFolderAnsweredYes)
{
    TestProgram p;
    p.answer({"yes", ""});
    ASSERT_TRUE(p.start());
    EXPECT_EQ(p.messageTexts(),
              (QStringList{FirstQuestion,
                           "The data file named 'Index' will be placed inside a folder named "
                           "'Data' in the same folder as this application.  You can then proceed "
                           "to create your compilations!"}));
    EXPECT_EQ(p.state().messagesShown.at(0).kind, 5);
    EXPECT_EQ(p.state().messagesShown.at(1).kind, 2);
    EXPECT_TRUE(QFileInfo(p.programDir() + "/Data").isDir());
    EXPECT_EQ(p.bytes("index.txt"), QByteArray());
    EXPECT_EQ(dataEntries(p), QStringList{"index.txt"});
    EXPECT_EQ(p.main().cmbDisc->count(), 0);
    EXPECT_EQ(p.state().DiscCount, 0);
    EXPECT_EQ(p.state().CurrentDisc, 0);
    EXPECT_EQ(p.main().navigator(), nullptr);
    EXPECT_EQ(p.state().ErrorNumber, 0);
}

TEST(FirstRun, DataFolderWithoutIndexAnsweredYes)
{
    TestProgram p;
    p.makeData();
    p.answer({"yes", ""});
    ASSERT_TRUE(p.start());
    EXPECT_EQ(p.messageTexts(),
              (QStringList{FirstQuestion,
                           "The data file named 'Index' will be placed inside the folder named "
                           "'Data'.  You can then proceed to create your compilations!"}));
    EXPECT_EQ(p.bytes("index.txt"), QByteArray());
}

TEST(FirstRun, AnyOtherAnswerEndsHavingCreatedNothing)
{
    for (const QStringList& answers : {QStringList{"no", ""}, QStringList{}}) {
        TestProgram p;
        p.answer(answers);
        EXPECT_FALSE(p.start());
        EXPECT_TRUE(p.ended());
        EXPECT_EQ(p.lastMessage(), "You must ensure the folder named 'Data' is contained within "
                                   "the same folder as this application.");
        EXPECT_EQ(p.lastKind(), 1);
        EXPECT_FALSE(QFileInfo::exists(p.programDir() + "/Data"));

        TestProgram q;
        q.makeData();
        q.answer(answers);
        EXPECT_FALSE(q.start());
        EXPECT_EQ(q.lastMessage(), "You must ensure the file named 'Index' can be found within "
                                   "the folder named 'Data' in the same folder as this "
                                   "application.");
        EXPECT_TRUE(dataEntries(q).isEmpty());
    }
}

TEST(ScreenProfiles, LimitsAndHeightsByWidth)
{
    struct Case {
        int width, limit, height;
        QString message;
    };
    const QString best = "This program runs best in 1152x864 or higher.\r";
    const QList<Case> cases = {
        {800, 19, 8790, best + "Your compilations have been limited to 19 tracks each."},
        {960, 22, 9150, best + "Your compilations have been limited to 22 tracks each."},
        {1024, 25, 9150, QString()},
        {1280, 25, 9150, QString()},
        {1152, 25, 9150, QString()},
    };
    for (const Case& c : cases) {
        TestProgram p(c.width);
        p.putIndex({});
        ASSERT_TRUE(p.start()) << c.width;
        EXPECT_EQ(p.state().TrackLimit, c.limit);
        EXPECT_EQ(p.state().MainHeight, c.height);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(p.state().messagesShown.isEmpty());
        } else {
            EXPECT_EQ(p.messageTexts(), QStringList{c.message});
            EXPECT_EQ(p.lastKind(), 2);
        }
    }
    TestProgram small(640);
    small.putIndex({{"Rock", "1"}});
    EXPECT_FALSE(small.start());
    EXPECT_EQ(small.messageTexts(),
              QStringList{best + "The program will not run in 640x480 and will now quit."});
    EXPECT_EQ(small.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n1\r\n"));
}

// Run by CTest once per screen configuration of the offscreen platform: the
// program reads the real primary screen's width.
TEST(ScreenFromPlatform, TheRealScreenWidthChoosesTheProfile)
{
    const int width = primaryScreenWidth();
    TestProgram p(width);
    p.putIndex({});
    const bool started = p.start();
    if (width == 640) {
        EXPECT_FALSE(started);
        return;
    }
    ASSERT_TRUE(started);
    EXPECT_EQ(p.state().TrackLimit, width == 800 ? 19 : width == 960 ? 22 : 25);
    EXPECT_EQ(p.main().height(), width == 800 ? 586 : 610);
}

TEST(StartUp, ThreeDiscsFillTheChooserAndLoadNothing)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith(
        {{"Rock", {makeTrack("A")}}, {"Jazz", {makeTrack("B")}}, {"Mix", {makeTrack("C")}}}));
    EXPECT_EQ(p.main().cmbDisc->count(), 3);
    EXPECT_EQ(p.main().cmbDisc->itemText(2), "Mix");
    EXPECT_EQ(p.main().cmbDisc->currentIndex(), -1);
    EXPECT_EQ(p.state().CurrentDisc, -1);
    EXPECT_EQ(p.state().TrackCount, 0);
    EXPECT_EQ(p.main().discLoads(), 0);
    EXPECT_TRUE(p.main().lblDisc->text().isEmpty());
    ASSERT_NE(p.main().navigator(), nullptr);
    EXPECT_FALSE(p.main().navigator()->isVisible());
    EXPECT_EQ(p.main().navigator()->lstNavi->count(), 3);
    EXPECT_EQ(p.main().height(), 610);
}

TEST(StartUp, NaviSettingOneShowsTheNavigator)
{
    for (const QString& value : {QString("1"), QString("0"), QString("yes")}) {
        TestProgram p;
        p.state().settings().setNavi(value);
        ASSERT_TRUE(p.startWith({{"Rock", {makeTrack("A")}}}));
        EXPECT_EQ(p.main().navigator()->isVisible(), value == "1") << value.toStdString();
    }
}

TEST(StartUp, ADamagedIndexIsNeverOverwritten)
{
    const QList<std::pair<QByteArray, int>> cases = {
        {"many\r\nRock\r\n1\r\n", 1}, {"-2\r\n", 1},
        {" 3 \r\nRock\r\n1\r\n", 4},  {" 1 \r\n../x\r\n1\r\n", 2},
        {" 1 \r\nINDEX\r\n1\r\n", 2},
    };
    for (const auto& [bytes, line] : cases) {
        TestProgram p;
        p.putFile("index.txt", bytes);
        EXPECT_FALSE(p.start());
        EXPECT_TRUE(p.ended());
        EXPECT_EQ(p.lastKind(), 1);
        EXPECT_TRUE(p.lastMessage().contains("index.txt")) << p.lastMessage().toStdString();
        EXPECT_TRUE(p.lastMessage().contains(QStringLiteral("line %1").arg(line)))
            << p.lastMessage().toStdString();
        EXPECT_EQ(p.bytes("index.txt"), bytes);
        EXPECT_EQ(dataEntries(p), QStringList{"index.txt"});
    }
}

TEST(StartUp, NamesEndingInBlanksAndDotsOpen)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Mix ", {makeTrack("A")}}, {"Vol. 2.", {makeTrack("B")}}}));
    EXPECT_EQ(p.main().cmbDisc->itemText(0), "Mix ");
    p.main().cmbDisc->setCurrentIndex(1);
    EXPECT_EQ(p.main().lblDisc->text(), "Vol. 2.");
    EXPECT_EQ(p.main().lblTitle[0]->text(), "B");
}

TEST(StartUp, DataThatIsAFileIsReported)
{
    TestProgram p;
    QFile file(p.programDir() + "/Data");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a folder");
    file.close();
    EXPECT_FALSE(p.start());
    EXPECT_EQ(p.lastKind(), 1);
    EXPECT_TRUE(p.lastMessage().contains("Data"));
    EXPECT_EQ(QFileInfo(p.programDir() + "/Data").size(), 12);
}

// One program per catalogue: a second start on it says so and ends having
// written nothing; a lock from another computer opens only on "yes".
TEST(StartUp, OneProgramPerCatalogue)
{
    TestProgram first;
    ASSERT_TRUE(first.startWith({{"Rock", makeTracks(1)}}));
    const QByteArray index = first.bytes("index.txt");
    TestProgram second(first);
    EXPECT_FALSE(second.start());
    EXPECT_EQ(second.messageTexts(),
              QStringList{"This catalogue is already open in another Platterbook window."});
    EXPECT_EQ(second.lastKind(), 1);
    EXPECT_EQ(first.bytes("index.txt"), index);
    EXPECT_EQ(QDir(first.dataPath("")).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{Catalogue::lockFileName(), "Rock.txt", "index.txt"}));

    for (const QString& answer : {QString("no"), QString("yes")}) {
        TestProgram p;
        p.putIndex({});
        const QByteArray foreign = "4242\nplatterbook\nstudio-pc\n";
        p.putFile(Catalogue::lockFileName(), foreign);
        p.answer({answer});
        EXPECT_EQ(p.start(), answer == "yes");
        ASSERT_EQ(p.state().messagesShown.size(), 1);
        EXPECT_EQ(p.lastKind(), 5);
        EXPECT_TRUE(p.lastMessage().contains("'studio-pc'")) << p.lastMessage().toStdString();
        EXPECT_EQ(p.bytes(Catalogue::lockFileName()) == foreign, answer == "no");
    }
}

TEST(DiscLoading, AShortFileAsksAndYesFixesOnlyTheCount)
{
    TestProgram p;
    p.putDisc("Rock", {makeTrack("A")});
    p.putIndex({{"Rock", "1"}, {"Cut", "5"}});
    const QByteArray cut = catalogue::discBytes({makeTrack("X"), makeTrack("Y")}) + "Z label\r\n";
    p.putFile("Cut.txt", cut);
    ASSERT_TRUE(p.start());

    p.answer({"yes"});
    p.main().cmbDisc->setCurrentIndex(1);
    EXPECT_EQ(p.lastMessage(),
              "Do you want to make a disc from the data you have entered this far?");
    EXPECT_EQ(p.lastKind(), 5);
    EXPECT_EQ(p.state().TrackCount, 2);
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 2 \r\nRock\r\n1\r\nCut\r\n2\r\n"));
    EXPECT_EQ(p.bytes("Cut.txt"), cut);
    EXPECT_FALSE(p.main().txtComments[0]->isReadOnly());
}

TEST(DiscLoading, AShortFileAnsweredOtherwiseWritesNothing)
{
    for (const QStringList& answers : {QStringList{"no"}, QStringList{}}) {
        TestProgram p;
        p.putIndex({{"Cut", "3"}});
        const QByteArray cut = catalogue::discBytes({makeTrack("X")});
        p.putFile("Cut.txt", cut);
        ASSERT_TRUE(p.start());
        p.answer(answers);
        p.main().cmbDisc->setCurrentIndex(0);
        EXPECT_EQ(p.state().TrackCount, 1);
        EXPECT_TRUE(p.main().txtComments[0]->isReadOnly());
        EXPECT_TRUE(p.main().cmdComments());
        EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nCut\r\n3\r\n"));
        EXPECT_EQ(p.bytes("Cut.txt"), cut);
    }
}

TEST(DiscLoading, ACountOutOfRangeKeepsThePreviousDisc)
{
    for (const QString& count : {QString("26"), QString("-1"), QString("65540")}) {
        TestProgram p;
        p.putDisc("Rock", {makeTrack("A"), makeTrack("B")});
        p.putDisc("Odd", {makeTrack("C")});
        p.putIndex({{"Rock", "2"}, {"Odd", count}});
        ASSERT_TRUE(p.start());
        p.main().cmbDisc->setCurrentIndex(0);
        ASSERT_EQ(p.main().lblDisc->text(), "Rock");
        p.main().cmbDisc->setCurrentIndex(1);
        EXPECT_EQ(p.lastKind(), 1);
        EXPECT_TRUE(p.lastMessage().contains("'Odd'")) << p.lastMessage().toStdString();
        EXPECT_EQ(p.main().lblDisc->text(), "Rock");
        EXPECT_EQ(p.main().cmbDisc->currentIndex(), 0);
        EXPECT_EQ(p.state().CurrentDisc, 0);
        EXPECT_EQ(p.state().DiscPath, p.dataPath("Rock.txt"));
        EXPECT_EQ(p.state().TrackCount, 2);
        EXPECT_EQ(p.state().Tracks.at(1)[2], "B");
    }
}

TEST(DiscLoading, AMissingFileWithNothingShownShowsNoDisc)
{
    TestProgram p;
    p.putIndex({{"Gone", "2"}});
    ASSERT_TRUE(p.start());
    p.main().cmbDisc->setCurrentIndex(0);
    EXPECT_TRUE(p.lastMessage().contains("'Gone'"));
    EXPECT_EQ(p.state().CurrentDisc, -1);
    EXPECT_EQ(p.main().cmbDisc->currentIndex(), -1);
    EXPECT_EQ(p.state().TrackCount, 0);
    EXPECT_FALSE(p.main().lblLabel[0]->isVisible());
}

TEST(DiscLoading, ACountOfZeroShowsNoRows)
{
    TestProgram p;
    p.putFile("Empty.txt", "");
    p.putIndex({{"Empty", "0"}});
    ASSERT_TRUE(p.start());
    p.main().cmbDisc->setCurrentIndex(0);
    EXPECT_TRUE(p.state().messagesShown.isEmpty());
    EXPECT_EQ(p.main().lblDisc->text(), "Empty");
    EXPECT_EQ(p.state().TrackCount, 0);
    EXPECT_FALSE(p.main().lblLabel[0]->isVisible());
}
