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

TEST(DiscView, AnEmptyCatalogueKeepsTheWindowsHeight)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    const int height = p.main().height();
    p.main().cmdUpdate(); // as after a search cancelled
    EXPECT_EQ(p.main().height(), height);
    EXPECT_EQ(p.main().mask().boundingRect().height(), height);
}
