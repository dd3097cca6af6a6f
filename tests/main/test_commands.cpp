#include "dialogs/PictureButton.h"
#include "dialogs/frmDialog.h"
#include "editing/EditingHelpers.h"
#include "navigator/frmNavi.h"
#include "options/frmOption.h"

#include "support/TestProgram.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using catalogue::Track;

namespace {

void ctrl(QWidget* target, Qt::Key key)
{
    giveFocus(target);
    QTest::keyClick(target, key, Qt::ControlModifier);
}

// Closes the next dialog as its user would; the wait tells its name.
ModalWait closeNextDialog()
{
    return ModalWait([](QWidget* modal) {
        if (auto* options = qobject_cast<frmOption*>(modal))
            click(options->picCancel); // the options take no keys
        else if (qobject_cast<frmDialog*>(modal))
            keyTo(modal, Qt::Key_Return); // the about box closes on Enter only
        else
            keyTo(modal, Qt::Key_Escape);
    });
}

} // namespace

TEST(Commands, PreconditionsByClickAndByKey)
{
    const QString choose = "You must first choose a disc.";
    const QString create = "You must first create a disc.";
    {
        TestProgram p;
        ASSERT_TRUE(p.startWith({}));
        for (PictureButton* b : {p.main().picEdit, p.main().picNewt, p.main().picRemt}) {
            click(b);
            EXPECT_EQ(p.lastMessage(), create);
            EXPECT_EQ(p.lastKind(), 1);
        }
        for (Qt::Key key : {Qt::Key_E, Qt::Key_N, Qt::Key_T}) {
            p.state().messagesShown.clear();
            ctrl(&p.main(), key);
            EXPECT_EQ(p.lastMessage(), create);
        }
        // The navigator button does nothing for an empty catalogue.
        ctrl(&p.main(), Qt::Key_C);
        click(p.main().picNavi);
        EXPECT_FALSE(p.main().navigator()->isVisible());
    }
    {
        TestProgram p;
        ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
        for (Qt::Key key : {Qt::Key_E, Qt::Key_N, Qt::Key_T}) {
            p.state().messagesShown.clear();
            ctrl(&p.main(), key);
            EXPECT_EQ(p.lastMessage(), choose);
        }
        ctrl(&p.main(), Qt::Key_C);
        EXPECT_TRUE(p.main().navigator()->isVisible());
    }
    {
        TestProgram p;
        ASSERT_TRUE(p.startWith({{"Full", makeTracks(25)}, {"Almost", makeTracks(24)}}));
        p.main().cmbDisc->setCurrentIndex(0);
        ctrl(&p.main(), Qt::Key_N);
        EXPECT_EQ(p.lastMessage(), "Discs with more than 25 tracks are unsupported.");
        EXPECT_EQ(p.lastKind(), 3);
        EXPECT_EQ(p.state().AddingTracks, 0);

        p.main().cmbDisc->setCurrentIndex(1);
        p.state().messagesShown.clear();
        const auto opened = closeNextDialog();
        ctrl(&p.main(), Qt::Key_N);
        EXPECT_EQ(opened.opened(), "frmNewt");
        EXPECT_TRUE(p.state().messagesShown.isEmpty());
        EXPECT_EQ(p.state().CurrentDisc, 1);
    }
}

TEST(Commands, EachCommandOpensItsDialog)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    const QList<std::tuple<PictureButton*, Qt::Key, QString>> table = {
        {p.main().picNewd, Qt::Key_D, "frmNewd"},   {p.main().picNewt, Qt::Key_N, "frmNewt"},
        {p.main().picEdit, Qt::Key_E, "frmRemove"}, {p.main().picRemd, Qt::Key_R, "frmRemove"},
        {p.main().picRemt, Qt::Key_T, "frmRemove"}, {p.main().picPrint, Qt::Key_P, "frmPrint"},
    };
    for (const auto& [button, key, name] : table) {
        {
            const auto opened = closeNextDialog();
            click(button);
            EXPECT_EQ(opened.opened(), name);
        }
        const auto opened = closeNextDialog();
        ctrl(p.main().txtComments[0], key); // from a comment box too
        EXPECT_EQ(opened.opened(), name);
    }
    {
        const auto opened = closeNextDialog();
        click(p.main().picOption);
        EXPECT_EQ(opened.opened(), "frmOption");
    }
    const auto opened = closeNextDialog();
    click(p.main().picInfo);
    EXPECT_EQ(opened.opened(), "frmDialog");
}

TEST(Commands, AReleaseOutsideTheHitBoxDoesNothing)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    clickAt(p.main().picEdit, QPoint(60, 5)); // 59 wide: 60 is outside
    EXPECT_TRUE(p.state().messagesShown.isEmpty());
    EXPECT_FALSE(p.main().picEdit->isPressed());
    clickAt(p.main().picEdit, QPoint(59, 33));
    EXPECT_EQ(p.lastMessage(), "You must first create a disc.");
    QSignalSpy ended(&p.main(), &frmMain::programEnded);
    clickAt(p.main().picQuit, QPoint(11, 3));
    EXPECT_EQ(ended.count(), 0);
    clickAt(p.main().picQuit, QPoint(10, 10));
    EXPECT_EQ(ended.count(), 1);
}

TEST(Comments, ACommentReachesTheFileAtQuit)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    QSignalSpy ended(&p.main(), &frmMain::programEnded);
    QLineEdit* box = p.main().txtComments[1];
    giveFocus(box);
    QTest::keyClicks(box, "nice one");
    QTest::keyClick(box, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(ended.count(), 1);
    QList<Track> expected = makeTracks(2);
    expected[1][6] = "nice one";
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(expected));
    EXPECT_EQ(p.state().CommentsDirty, 0);
}

TEST(Comments, ClosingTheWindowSavesLikeQuit)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    p.main().show();
    p.main().cmbDisc->setCurrentIndex(0);
    QSignalSpy ended(&p.main(), &frmMain::programEnded);
    QTest::keyClicks(p.main().txtComments[1], "nice one");
    // A comment that cannot be written keeps the window open.
    p.state().writeFaultAfterBytes = 3;
    EXPECT_FALSE(p.main().close());
    EXPECT_TRUE(p.main().isVisible());
    EXPECT_EQ(ended.count(), 0);
    EXPECT_TRUE(p.lastMessage().contains("Rock.txt")) << p.lastMessage().toStdString();
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(makeTracks(2)));
    p.state().writeFaultAfterBytes = -1;
    EXPECT_TRUE(p.main().close());
    EXPECT_EQ(ended.count(), 1);
    QList<Track> expected = makeTracks(2);
    expected[1][6] = "nice one";
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(expected));
}

TEST(Comments, ANewDiscsEntryNeverWritesIntoTheShownDisc)
{
    TestProgram p;
    QList<Track> rock = makeTracks(2);
    rock[0][6] = "kept";
    ASSERT_TRUE(p.startWith({{"Rock", rock}}));
    p.main().cmbDisc->setCurrentIndex(0);
    newDisc(p, "Mix", "1");
    frmNewt* entry = p.main().trackEntry();
    ASSERT_NE(entry, nullptr);
    // The shown disc's comment box loses the focus while the new disc's
    // tracks are being entered, as when the window system activates the
    // main window between the two dialogs.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(p.main().txtComments[0], &out);
    EXPECT_EQ(p.state().CommentsDirty, 0);
    typeTrack(entry, makeTrack("Song"));
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(rock));
    EXPECT_EQ(p.bytes("Mix.txt"), catalogue::discBytes({makeTrack("Song")}));
    EXPECT_EQ(p.main().lblDisc->text(), "Mix");
}

TEST(Comments, ACommentStaysWithItsDiscWhenAnotherIsChosen)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}, {"Jazz", makeTracks(3)}}));
    const QByteArray jazz = p.bytes("Jazz.txt");
    p.main().cmbDisc->setCurrentIndex(0);
    giveFocus(p.main().txtComments[0]);
    QTest::keyClicks(p.main().txtComments[0], "first");
    p.main().cmbDisc->setCurrentIndex(1); // the box still has the focus
    QList<Track> rock = makeTracks(2);
    rock[0][6] = "first";
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(rock));
    EXPECT_EQ(p.bytes("Jazz.txt"), jazz);
    EXPECT_EQ(p.main().txtComments[0]->text(), QString());
    EXPECT_EQ(p.state().Tracks.at(0)[6], QString());
    p.main().txtComments[0]->clearFocus();
    EXPECT_EQ(p.state().CommentsDirty, 0);
}

TEST(Comments, ACommentSurvivesCommandsThatDoNotSaveIt)
{
    TestProgram p;
    ASSERT_TRUE(
        p.startWith({{"Rock", makeTracks(1)}, {"Jazz", makeTracks(1)}, {"Mix", makeTracks(1)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    QTest::keyClicks(p.main().txtComments[0], "kept");
    const auto opened = closeNextDialog();
    click(p.main().picOption);
    p.main().cmdUpdate(); // what Okay in the options does
    EXPECT_EQ(p.state().CommentsDirty, 1);
    p.main().cmbDisc->setCurrentIndex(2);
    QList<Track> rock = makeTracks(1);
    rock[0][6] = "kept";
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(rock));
}

TEST(Comments, MovingTheFocusChangesNothing)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    giveFocus(p.main().txtComments[0]);
    giveFocus(p.main().txtComments[1]);
    EXPECT_EQ(p.state().CommentsDirty, 0);
    // A letter typed and taken back leaves the comment as it was.
    QTest::keyClicks(p.main().txtComments[1], "x");
    QTest::keyClick(p.main().txtComments[1], Qt::Key_Backspace);
    EXPECT_EQ(p.state().Tracks.at(1)[6], QString());
    p.main().cmdComments();
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(makeTracks(2)));
}

TEST(Comments, CharactersTheFileCannotHoldAreRefused)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    QLineEdit* box = p.main().txtComments[0];
    QTest::keyClicks(box, "caf");
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString::fromUtf8("é"), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString::fromUtf8("日"),
                        Qt::NoModifier);
    EXPECT_EQ(box->text(), QString::fromUtf8("café"));
    EXPECT_EQ(p.lastKind(), 1);
    EXPECT_TRUE(p.lastMessage().contains(QString::fromUtf8("日")));
    box->selectAll();
    box->insert("line\nbreak"); // as a paste would
    EXPECT_EQ(p.state().catalogue().comment(0), "line break");
}

TEST(Comments, AFailedWriteKeepsTheCommentAndTheProgram)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}, {"Jazz", makeTracks(1)}}));
    const QByteArray rock = p.bytes("Rock.txt");
    p.main().cmbDisc->setCurrentIndex(0);
    QTest::keyClicks(p.main().txtComments[0], "typed");
    p.state().writeFaultAfterBytes = 10;
    QSignalSpy ended(&p.main(), &frmMain::programEnded);
    click(p.main().picQuit);
    EXPECT_EQ(ended.count(), 0);
    EXPECT_EQ(p.lastKind(), 1);
    EXPECT_TRUE(p.lastMessage().contains("Rock.txt")) << p.lastMessage().toStdString();
    EXPECT_EQ(p.bytes("Rock.txt"), rock);
    EXPECT_EQ(p.state().CommentsDirty, 1);

    // Nor does the disc change.
    p.main().cmbDisc->setCurrentIndex(1);
    EXPECT_EQ(p.main().lblDisc->text(), "Rock");
    EXPECT_EQ(p.main().cmbDisc->currentIndex(), 0);
    EXPECT_EQ(p.main().txtComments[0]->text(), "typed");

    p.state().writeFaultAfterBytes = -1;
    click(p.main().picQuit);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(p.bytes("Rock.txt").contains("typed"));
}

TEST(Comments, APauseInTheTypingWritesTheComment)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    EXPECT_EQ(p.main().commentTimer()->interval(), 2000);
    p.main().commentTimer()->setInterval(20);
    QTest::keyClicks(p.main().txtComments[1], "paused");
    QList<Track> expected = makeTracks(2);
    expected[1][6] = "paused";
    QTRY_COMPARE_WITH_TIMEOUT(p.bytes("Rock.txt"), catalogue::discBytes(expected), 5000);
    EXPECT_EQ(p.state().CommentsDirty, 0);
}

// Another program changed the shown disc's file under a typed comment: the
// comment waits in its box, the disc is read again, and the next write keeps
// both changes.
TEST(Comments, AFileChangedOutsideKeepsTheTypedComment)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    QTest::keyClicks(p.main().txtComments[0], "mine");
    QList<Track> theirs = makeTracks(2);
    theirs[1][2] = "Retitled";
    p.putDisc("Rock", theirs);
    EXPECT_FALSE(p.main().cmdComments());
    EXPECT_EQ(p.lastKind(), 1);
    EXPECT_TRUE(p.lastMessage().contains("Rock.txt' was changed outside Platterbook"));
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(theirs));
    EXPECT_EQ(p.main().lblTitle[1]->text(), "Retitled");
    EXPECT_EQ(p.main().txtComments[0]->text(), "mine");
    EXPECT_EQ(p.state().CommentsDirty, 1);
    EXPECT_TRUE(p.main().cmdComments());
    theirs[0][6] = "mine";
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(theirs));
}

// Two copies that ignored each other: the other added Charlie, this one adds
// Delta. Refused first, the catalogue read again, then Delta joins Charlie.
TEST(Commands, AnIndexChangedOutsideIsReadAgainBeforeANewDisc)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Alpha", makeTracks(1)}, {"Bravo", makeTracks(1)}}));
    p.putDisc("Charlie", makeTracks(1));
    p.putIndex({{"Alpha", "1"}, {"Bravo", "1"}, {"Charlie", "1"}});
    newDisc(p, "Delta", "1");
    EXPECT_EQ(p.main().trackEntry(), nullptr);
    EXPECT_TRUE(p.lastMessage().contains("index.txt' was changed outside Platterbook"));
    EXPECT_EQ(p.main().cmbDisc->count(), 3);
    EXPECT_EQ(p.main().cmbDisc->itemText(2), "Charlie");
    EXPECT_EQ(p.bytes("Delta.txt"), "<missing>");
    newDisc(p, "Delta", "1");
    ASSERT_NE(p.main().trackEntry(), nullptr);
    typeTrack(p.main().trackEntry(), makeTrack("D"));
    EXPECT_EQ(
        p.bytes("index.txt"),
        catalogue::indexBytes({{"Alpha", "1"}, {"Bravo", "1"}, {"Charlie", "1"}, {"Delta", "1"}}));
    EXPECT_EQ(p.main().lblDisc->text(), "Delta");
}
