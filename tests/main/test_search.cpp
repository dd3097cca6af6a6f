#include "editing/EditingHelpers.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using catalogue::Track;

namespace {

bool marked(QWidget* cell)
{
    return cell->property("marked").toBool();
}

} // namespace

TEST(Search, FindsEveryCaseInCatalogueOrder)
{
    TestProgram p;
    QList<Track> rock = makeTracks(3);
    rock[0][2] = "Rock Me";
    rock[2][6] = "pure ROCK";
    QList<Track> jazz = makeTracks(1);
    jazz[0][1] = "rockers";
    ASSERT_TRUE(p.startWith({{"Rock", rock}, {"Jazz", jazz}}));
    p.answer({"rock"});
    p.main().Searchsub();
    // The disc name "Rock" is not in its file; the three fields are.
    ASSERT_EQ(p.state().HitCount, 3);
    EXPECT_EQ(p.state().SearchFailed, 0);
    EXPECT_EQ(p.state().SearchHits[0][0], 1);
    EXPECT_EQ(p.state().SearchHits[1][0], 1);
    EXPECT_EQ(p.state().SearchHits[2][0], 2);
    EXPECT_LT(p.state().SearchHits[0][1], p.state().SearchHits[1][1]);
}

TEST(Search, NothingFoundAndCancelled)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    p.answer({"anything"});
    p.main().Searchsub();
    EXPECT_EQ(p.messageTexts(), (QStringList{"Search for what?", "Text not found."}));
    EXPECT_EQ(p.lastKind(), 2);
    EXPECT_EQ(p.state().SearchFailed, 1);
    EXPECT_EQ(p.state().HitCount, 0);

    TestProgram q;
    ASSERT_TRUE(q.startWith({{"Rock", makeTracks(2)}}));
    q.answer({}); // cancelled or left empty
    q.main().Searchsub();
    EXPECT_EQ(q.messageTexts(), QStringList{"Search for what?"});
    EXPECT_EQ(q.state().HitCount, 0);
    EXPECT_EQ(q.state().SearchFailed, 1);
}

TEST(Search, AnUnreadableDiscIsPassedOver)
{
    TestProgram p;
    p.putDisc("Jazz", {makeTrack("Blue")});
    p.putIndex({{"Gone", "1"}, {"Jazz", "1"}});
    ASSERT_TRUE(p.start());
    p.answer({"blue"});
    p.main().Searchsub();
    ASSERT_EQ(p.state().HitCount, 3); // title, label and artist of the one track
    for (const auto& hit : p.state().SearchHits)
        EXPECT_EQ(hit[0], 2);
}

TEST(Search, ShowMarksTheHitAndCloseRemovesTheMark)
{
    TestProgram p;
    QList<Track> jazz = makeTracks(3);
    jazz[1][6] = "so blue";
    jazz[2][0] = "Blue Note";
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}, {"Jazz", jazz}}));
    p.main().cmbDisc->setCurrentIndex(0);
    p.answer({"BLUE"});
    const auto wait = onNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<frmRemove*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->pos(), QPoint(67, 67)); // 1000, 1000 twips
        ASSERT_EQ(dialog->lstRemove->count(), 2);
        EXPECT_EQ(dialog->lstRemove->item(0)->text(),
                  "1" + QString(10, ' ') + "BLUE" + QString(10, ' ') + "Jazz");
        dialog->lstRemove->setCurrentRow(0);
        const int first = p.main().discLoads();
        keyTo(dialog, Qt::Key_Return);
        EXPECT_EQ(p.main().lblDisc->text(), "Jazz");
        EXPECT_EQ(p.main().discLoads(), first + 1) << "the hit's disc is loaded once";
        EXPECT_TRUE(marked(p.main().txtComments[1])); // line 14: track 2's comments
        const int loads = p.main().discLoads();
        dialog->lstRemove->setCurrentRow(1);
        click(dialog->picShow);
        EXPECT_FALSE(marked(p.main().txtComments[1]));
        EXPECT_TRUE(marked(p.main().lblLabel[2])); // line 15: track 3's label
        EXPECT_EQ(p.main().discLoads(), loads) << "the disc on show is not loaded again";
        EXPECT_TRUE(dialog->isVisible());
        keyTo(dialog, Qt::Key_Escape); // Close
    });
    click(p.main().picSearch);
    EXPECT_FALSE(marked(p.main().lblLabel[2]));
    EXPECT_EQ(p.state().RemoveMode, 0);
    EXPECT_EQ(p.main().lblDisc->text(), "Jazz");
}

TEST(Search, AHitWhoseDiscChangedIsNotMarkedWrongly)
{
    TestProgram p;
    QList<Track> rock = makeTracks(2);
    rock[1][2] = "Target";
    ASSERT_TRUE(p.startWith({{"Rock", rock}}));
    p.answer({"target"});
    p.main().Searchsub();
    ASSERT_EQ(p.state().HitCount, 1);
    // The track before the hit is removed on disk since the search.
    p.putDisc("Rock", {rock[1]});
    p.putIndex({{"Rock", "1"}});
    p.state().Discs[0].count = "1";
    p.state().RemoveMode = 3;
    p.state().HitIndex = 1;
    p.state().HitPending = 1;
    p.main().cmdUpdate();
    EXPECT_EQ(p.main().lblDisc->text(), "Rock");
    EXPECT_EQ(p.state().HitField, -1);
    for (QLabel* label : p.main().findChildren<QLabel*>())
        EXPECT_FALSE(marked(label)) << label->text().toStdString();
    for (QLineEdit* box : p.main().txtComments)
        EXPECT_FALSE(marked(box));
}

TEST(Search, ByShortcutFromAnywhere)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    p.answer({"nothing like it"});
    giveFocus(p.main().txtComments[0]);
    QTest::keyClick(p.main().txtComments[0], Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(p.lastMessage(), "Text not found.");
}
