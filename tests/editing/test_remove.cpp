#include "editing/EditingHelpers.h"
#include "navigator/frmNavi.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using catalogue::Track;

TEST(RemoveTrack, TrackThreeOfFive)
{
    TestProgram p;
    p.putDisc("Rock", makeTracks(5));
    p.putIndex({{"Rock", "5 tracks"}});
    ASSERT_TRUE(p.start());
    p.main().cmbDisc->setCurrentIndex(0);
    removeDialog(p, p.main().picRemt, 2, {"yes"});
    EXPECT_EQ(p.messageTexts().last(), "Are you really sure?");
    QList<Track> expected = makeTracks(5);
    expected.removeAt(2);
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(expected));
    EXPECT_EQ(p.bytes("Rock.txt").count("\r\n"), 28);
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n4\r\n"));
    EXPECT_EQ(p.main().lblTitle[2]->text(), "T4");
    EXPECT_FALSE(p.main().lblTitle[4]->isVisible());
}

TEST(RemoveTrack, TheOnlyTrackLeavesAnEmptyFile)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    removeDialog(p, p.main().picRemt, 0, {"yes"});
    EXPECT_EQ(p.bytes("Rock.txt"), QByteArray());
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n0\r\n"));
    EXPECT_EQ(p.state().TrackCount, 0);
    EXPECT_TRUE(p.state().Tracks.isEmpty());
}

TEST(RemoveTrack, NoAnswerOrNoChoiceRemovesNothing)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(3)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    const QByteArray before = p.bytes("Rock.txt");
    for (const QStringList& answers : {QStringList{"no"}, QStringList{}}) {
        removeDialog(p, p.main().picRemt, 1, answers);
        EXPECT_EQ(p.bytes("Rock.txt"), before);
        EXPECT_EQ(p.state().TrackCount, 3);
    }
    p.state().messagesShown.clear();
    removeDialog(p, p.main().picRemt, -1, {"yes"});
    EXPECT_EQ(p.messageTexts(), QStringList{"You must choose from the list."});
    EXPECT_EQ(p.bytes("Rock.txt"), before);
}

TEST(RemoveDisc, DiscTwoOfThree)
{
    TestProgram p;
    ASSERT_TRUE(
        p.startWith({{"Rock", makeTracks(1)}, {"Jazz", makeTracks(2)}, {"Mix", makeTracks(3)}}));
    p.state().settings().setDiscLength("Jazz", "1:20");
    p.state().settings().setMono("Jazz", "1");
    p.main().cmbDisc->setCurrentIndex(2);
    p.main().navigator()->show();
    const int loads = p.main().discLoads();
    removeDialog(p, p.main().picRemd, 1, {"yes"});
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 2 \r\nRock\r\n1\r\nMix\r\n3\r\n"));
    EXPECT_EQ(p.bytes("Jazz.txt"), QByteArray("<missing>"));
    EXPECT_EQ(p.state().settings().discLength("Jazz"), QString());
    EXPECT_EQ(p.state().settings().mono("Jazz"), QString());
    EXPECT_EQ(p.main().cmbDisc->count(), 2);
    EXPECT_EQ(p.main().cmbDisc->itemText(1), "Mix");
    EXPECT_EQ(p.main().navigator()->lstNavi->model()->rowCount(), 2);
    EXPECT_EQ(p.main().navigator()->lstNavi->model()->index(1, 0).data().toString(), "Mix");
    EXPECT_EQ(p.main().navigator()->height(), 2 * 16 + 82);
    // The first disc is shown afterwards, loaded once.
    EXPECT_EQ(p.main().lblDisc->text(), "Rock");
    EXPECT_EQ(p.main().discLoads(), loads + 1);
    EXPECT_EQ(p.state().CurrentDisc, 0);
    EXPECT_EQ(p.main().cmbDisc->currentIndex(), 0);
    EXPECT_EQ(p.state().RemoveDiscPending, 0);
    EXPECT_EQ(p.state().DiscRemoved, 0);
}

TEST(RemoveDisc, AnotherDiscLeavesTheShownOneWhole)
{
    for (int shown : {0, 1}) {
        TestProgram p;
        ASSERT_TRUE(p.startWith(
            {{"Rock", makeTracks(3)}, {"Jazz", makeTracks(2, "J")}, {"Mix", makeTracks(1)}}));
        p.main().cmbDisc->setCurrentIndex(shown);
        // Remove the other of the first two: the shown disc ends up first.
        removeDialog(p, p.main().picRemd, 1 - shown, {"yes"});
        const QString name = shown == 0 ? "Rock" : "Jazz";
        EXPECT_EQ(p.main().lblDisc->text(), name);
        EXPECT_EQ(p.state().TrackCount, shown == 0 ? 3 : 2);
        EXPECT_EQ(p.main().lblTitle[1]->text(), shown == 0 ? "T2" : "J2");
        EXPECT_TRUE(p.main().lblTitle[1]->isVisible());
        // Its tracks can be edited at once.
        p.state().messagesShown.clear();
        const auto wait = onNextModal([](QWidget* modal) { keyTo(modal, Qt::Key_Escape); });
        click(p.main().picEdit);
        EXPECT_EQ(wait.opened(), "frmRemove");
        EXPECT_TRUE(p.state().messagesShown.isEmpty());
    }
}

TEST(RemoveDisc, TheLastDiscLeavesTheEmptyCatalogue)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    removeDialog(p, p.main().picRemd, 0, {"yes"});
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 0 \r\n"));
    EXPECT_EQ(p.bytes("Rock.txt"), QByteArray("<missing>"));
    EXPECT_EQ(p.state().TrackCount, 0);
    EXPECT_TRUE(p.state().Tracks.isEmpty());
    EXPECT_EQ(p.main().cmbDisc->count(), 0);
    EXPECT_TRUE(p.main().lblDisc->text().isEmpty());
    EXPECT_FALSE(p.main().lblTitle[0]->isVisible());
    EXPECT_EQ(p.main().navigator()->lstNavi->model()->rowCount(), 0);
    EXPECT_EQ(p.state().RemoveDiscPending, 0);
}

TEST(RemoveDisc, AFailedIndexWriteKeepsEverything)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}, {"Jazz", makeTracks(1)}}));
    p.state().writeFaultAfterBytes = 4;
    removeDialog(p, p.main().picRemd, 1, {"yes"});
    EXPECT_TRUE(p.messageTexts().contains("Are you really sure?"));
    EXPECT_TRUE(p.lastMessage().contains("index.txt"));
    EXPECT_EQ(p.state().DiscCount, 2);
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 2 \r\nRock\r\n1\r\nJazz\r\n1\r\n"));
    EXPECT_NE(p.bytes("Jazz.txt"), QByteArray("<missing>"));
    EXPECT_EQ(p.main().cmbDisc->count(), 2);
    EXPECT_EQ(p.state().RemoveDiscPending, 0) << "cancelled afterwards";
}

TEST(RemoveDisc, CancelWithdrawsTheRequest)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}, {"Jazz", makeTracks(1)}}));
    p.main().cmbDisc->setCurrentIndex(1);
    removeDialog(p, p.main().picRemd, -1, {});
    EXPECT_EQ(p.state().RemoveDiscPending, 0);
    p.main().cmdUpdate();
    EXPECT_EQ(p.main().lblDisc->text(), "Jazz");
}

TEST(RemoveDialog, SearchResultLinesHaveTheirFillers)
{
    EXPECT_EQ(frmRemove::hitLine(9, "rock", "Mix"),
              QString("9") + QString(10, ' ') + "rock" + QString(10, ' ') + "Mix");
    EXPECT_EQ(frmRemove::hitLine(10, "rock", "Mix"),
              QString("10") + QString(8, ' ') + "rock" + QString(10, ' ') + "Mix");
    EXPECT_EQ(frmRemove::hitLine(100, "rock", "Mix"),
              QString("100") + QString(6, ' ') + "rock" + QString(10, ' ') + "Mix");
}
