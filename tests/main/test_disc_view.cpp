#include "dialogs/PictureButton.h"
#include "navigator/frmNavi.h"
#include "support/TestProgram.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

using catalogue::Track;

namespace {

void clickLabel(QLabel* label)
{
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
}

} // namespace

TEST(DiscView, TheWindowFitsTheRows)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"One", makeTracks(1)},
                             {"Twelve", makeTracks(12)},
                             {"Full", makeTracks(25)},
                             {"None", {}}}));
    const std::map<int, int> heights = {{0, 154}, {1, 418}, {2, 730}, {3, 130}};
    for (const auto& [row, height] : heights) {
        p.main().cmbDisc->setCurrentIndex(row);
        EXPECT_EQ(p.main().height(), height) << "disc " << row;
        EXPECT_EQ(p.main().mask().boundingRect(), QRect(0, 0, 718, height));
        const int shown = row == 0 ? 1 : row == 1 ? 12 : row == 2 ? 25 : 0;
        for (int i = 0; i < 25; ++i)
            EXPECT_EQ(p.main().txtComments[i]->isVisible(), i < shown);
    }
}

TEST(DiscView, RowsStandWhereTheViewPutsThem)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(3)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    EXPECT_EQ(p.main().lblLabel[2]->geometry(), QRect(41, 146, 98, 19));
    EXPECT_EQ(p.main().lblTitle[2]->geometry(), QRect(272, 146, 153, 19));
    // A four-digit year and the longest format show whole, clear of the
    // next column.
    for (auto [cell, next, text] : {std::tuple<QLabel*, QWidget*, const char*>{
                                        p.main().lblDate[0], p.main().lblLength[0], "1973"},
                                    {p.main().lblFormat[0], p.main().txtComments[0], "Single"}}) {
        EXPECT_LT(cell->fontMetrics().horizontalAdvance(text), cell->contentsRect().width());
        EXPECT_LE(cell->geometry().right(), next->geometry().left());
    }
    EXPECT_EQ(p.main().txtComments[2]->geometry(), QRect(552, 144, 130, 19));
    EXPECT_EQ(p.main().cmbDisc->geometry(), QRect(32, 56, 265, 24));
    EXPECT_EQ(p.main().lblTitle[1]->text(), "T2");
    EXPECT_EQ(p.main().lblFormat[1]->text(), "CD");
    EXPECT_EQ(p.main().txtComments[1]->text(), QString());
}

TEST(DiscView, TotalAndRemainingTime)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Two", {makeTrack("A", "4:05"), makeTrack("B", "3:55")}},
                             {"Long", {makeTrack("A", "40:00"), makeTrack("B", "40:00")}}}));
    p.state().settings().setDiscLength("Two", "01:14:00");
    p.state().settings().setDiscLength("Long", "1:14");
    p.main().cmbDisc->setCurrentIndex(0);
    EXPECT_EQ(p.main().lblTotlen->text(), "08:00");
    clickLabel(p.main().lblTotlen);
    EXPECT_EQ(p.main().lblTotlen->text(), "-66:00");
    EXPECT_TRUE(p.state().ShowRemaining);
    // Once switched, every later update shows the time left.
    p.main().cmbDisc->setCurrentIndex(1);
    EXPECT_EQ(p.main().lblTotlen->text(), "-06:00");
    clickLabel(p.main().lblTotlen);
    EXPECT_EQ(p.main().lblTotlen->text(), "80:00");
    EXPECT_FALSE(p.state().ShowRemaining);
}

TEST(DiscView, LengthsThatAreNotTimesGiveAnEmptyTotal)
{
    for (const QString& odd : {QString(), QString("abc"), QString("61:00")}) {
        TestProgram p;
        ASSERT_TRUE(p.startWith({{"Rock", {makeTrack("A", "3:00"), makeTrack("B", odd)}}}));
        p.state().settings().setDiscLength("Rock", "01:14:00");
        p.main().cmbDisc->setCurrentIndex(0);
        EXPECT_EQ(p.main().lblTotlen->text(), QString()) << odd.toStdString();
        EXPECT_TRUE(p.main().lblTitle[1]->isVisible());
    }
}

TEST(DiscView, ADayOrMoreIsStillMinutes)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Full", makeTracks(25, "T", "59:59")}}));
    p.state().settings().setDiscLength("Full", "01:14:00");
    p.main().cmbDisc->setCurrentIndex(0);
    EXPECT_EQ(p.main().lblTotlen->text(), "1499:35");
    EXPECT_EQ(p.main().RemainingText, "-1425:35");
}

TEST(DiscView, AMissingDiscLengthIsWrittenAndShownNextTime)
{
    TestProgram p;
    ASSERT_TRUE(
        p.startWith({{"Rock", {makeTrack("A", "4:05")}}, {"Jazz", {makeTrack("B", "2:00")}}}));
    p.state().settings().setDiscLength("Rock", "01:14:00");
    p.main().cmbDisc->setCurrentIndex(0);
    EXPECT_EQ(p.main().lblTotlen->text(), "04:05");
    p.main().cmbDisc->setCurrentIndex(1);
    EXPECT_EQ(p.state().settings().discLength("Jazz"), "01:14:00");
    EXPECT_EQ(p.main().lblTotlen->text(), "04:05") << "unchanged until the next update";
    p.main().cmdUpdate();
    EXPECT_EQ(p.main().lblTotlen->text(), "02:00");
}

TEST(DiscView, NoDiscShownLeavesTotalAndSettingsAlone)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    p.main().lblTotlen->setText("keep");
    p.main().cmdUpdate();
    EXPECT_EQ(p.main().lblTotlen->text(), "keep");
    EXPECT_EQ(p.state().settings().discLength("Rock"), QString());
    EXPECT_EQ(p.main().height(), 130);
}

TEST(DiscView, ReselectionRequestsEachLoadTheirDiscOnce)
{
    TestProgram p;
    ASSERT_TRUE(
        p.startWith({{"Rock", makeTracks(1)}, {"Jazz", makeTracks(2)}, {"Mix", makeTracks(3)}}));
    Module1& s = p.state();
    frmMain& m = p.main();
    // With the last disc shown, each request still shows its own disc.
    m.cmbDisc->setCurrentIndex(2);
    int loads = m.discLoads();

    s.RemoveDiscPending = 1;
    m.cmdUpdate();
    EXPECT_EQ(m.lblDisc->text(), "Rock");
    EXPECT_EQ(s.CurrentDisc, 0);
    EXPECT_EQ(s.DiscPath, p.dataPath("Rock.txt"));
    EXPECT_EQ(m.cmbDisc->currentIndex(), 0);
    EXPECT_EQ(s.RemoveDiscPending, 0);
    EXPECT_EQ(m.discLoads(), ++loads);

    s.NewDiscPending = 1;
    m.cmdUpdate();
    EXPECT_EQ(m.lblDisc->text(), "Mix");
    EXPECT_EQ(s.TrackCount, 3);
    EXPECT_EQ(m.discLoads(), ++loads);

    s.CurrentDisc = 1;
    s.EditPending = 1;
    m.cmdUpdate();
    EXPECT_EQ(m.lblDisc->text(), "Jazz");
    EXPECT_EQ(m.cmbDisc->currentIndex(), 1);
    EXPECT_EQ(s.EditPending, 0);
    EXPECT_EQ(m.discLoads(), ++loads);

    s.SearchHits = {{1, 1, 0}};
    s.SearchHitDiscs = {"Rock"};
    s.SearchText = "T";
    s.HitCount = 1;
    s.HitIndex = 1;
    s.RemoveMode = 3;
    s.HitPending = 1;
    m.cmdUpdate();
    EXPECT_EQ(m.lblDisc->text(), "Rock");
    EXPECT_EQ(m.discLoads(), ++loads);
    m.cmdUpdate(); // served once only
    EXPECT_EQ(m.discLoads(), loads);
    EXPECT_EQ(m.cmbDisc->currentIndex(), 0);
}

TEST(DiscView, ANewDiscReachesTheChooserAndTheNavigator)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}}));
    p.putDisc("Jazz", makeTracks(2));
    p.state().Discs.append(catalogue::DiscRow{"Jazz", "2"});
    p.state().DiscCount = 2;
    p.state().NewDiscPending = 1;
    p.main().cmdUpdate();
    EXPECT_EQ(p.main().cmbDisc->count(), 2);
    EXPECT_EQ(p.main().cmbDisc->itemText(1), "Jazz");
    EXPECT_EQ(p.main().navigator()->lstNavi->count(), 2);
    EXPECT_EQ(p.main().navigator()->height(), 16 * 2 + 82);
    EXPECT_EQ(p.main().lblDisc->text(), "Jazz");
}
