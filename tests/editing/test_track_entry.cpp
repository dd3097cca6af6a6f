#include "editing/EditingHelpers.h"
#include "navigator/frmNavi.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using catalogue::Track;

namespace {

// Starts a new disc of `planned` tracks and stores `stored` of them.
frmNewt* partWay(TestProgram& p, int planned, int stored)
{
    newDisc(p, "Mix", QString::number(planned));
    frmNewt* entry = p.main().trackEntry();
    for (int i = 0; i < stored; ++i)
        typeTrack(entry, makeTrack(QStringLiteral("M%1").arg(i + 1)));
    return entry;
}

} // namespace

TEST(TrackEntry, CancelPartWayAndKeep)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    frmNewt* entry = partWay(p, 5, 2);
    p.answer({"yes"});
    click(entry->picCancel);
    EXPECT_EQ(p.lastMessage(),
              "Do you want to make a disc from the data you have entered this far?");
    EXPECT_EQ(p.lastKind(), 5);
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 2 \r\nRock\r\n2\r\nMix\r\n2\r\n"));
    EXPECT_EQ(p.bytes("Mix.txt").count("\r\n"), 14);
    EXPECT_EQ(p.main().lblDisc->text(), "Mix");
    EXPECT_EQ(p.state().TrackCount, 2);
    EXPECT_EQ(p.main().cmbDisc->count(), 2);
}

TEST(TrackEntry, CancelPartWayAndDrop)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    const QByteArray rock = p.bytes("Rock.txt");
    frmNewt* entry = partWay(p, 5, 2);
    p.answer({"no"});
    click(entry->picCancel);
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n2\r\n"));
    EXPECT_EQ(p.bytes("Mix.txt"), QByteArray("<missing>"));
    EXPECT_EQ(p.state().settings().discLength("Mix"), QString());
    EXPECT_EQ(p.state().DiscCount, 1);
    EXPECT_EQ(p.state().Discs.size(), 1);
    EXPECT_EQ(p.main().cmbDisc->count(), 1);
    EXPECT_EQ(p.main().navigator()->lstNavi->model()->rowCount(), 1);
    // The main window shows its disc again, whole.
    EXPECT_EQ(p.main().lblDisc->text(), "Rock");
    EXPECT_EQ(p.state().TrackCount, 2);
    EXPECT_EQ(p.state().DiscPath, p.dataPath("Rock.txt"));
    EXPECT_EQ(p.state().NewDiscPending, 0);
    // A comment typed now lands in the right file.
    QTest::keyClicks(p.main().txtComments[0], "ok");
    EXPECT_TRUE(p.main().cmdComments());
    EXPECT_NE(p.bytes("Rock.txt"), rock);
    EXPECT_TRUE(p.bytes("Rock.txt").contains("ok\r\n"));
}

TEST(TrackEntry, ADismissedQuestionGoesOnWithTheEntry)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    frmNewt* entry = partWay(p, 5, 2);
    const QByteArray stored = p.bytes("Mix.txt");
    p.answer({});
    click(entry->picCancel);
    EXPECT_TRUE(entry->isVisible());
    EXPECT_EQ(p.state().EntryTrack, 3);
    EXPECT_EQ(p.bytes("Mix.txt"), stored);
    EXPECT_EQ(stored.count("\r\n"), 14);
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nMix\r\n5\r\n"));
}

TEST(TrackEntry, CancelBeforeTheFirstTrackDropsTheDisc)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}}));
    newDisc(p, "Mix", "4");
    frmNewt* entry = p.main().trackEntry();
    ASSERT_NE(entry, nullptr);
    p.state().messagesShown.clear();
    keyTo(entry, Qt::Key_Escape);
    EXPECT_TRUE(p.state().messagesShown.isEmpty()) << "no question";
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n1\r\n"));
    EXPECT_EQ(p.bytes("Mix.txt"), QByteArray("<missing>"));
    EXPECT_EQ(p.state().NewDiscPending, 0);
    EXPECT_EQ(p.state().DiscCount, 1);
}

TEST(TrackEntry, AddATrackToADiscCountedInWords)
{
    TestProgram p;
    p.putDisc("Rock", makeTracks(12));
    p.putIndex({{"Rock", "12 songs"}});
    ASSERT_TRUE(p.start());
    p.main().cmbDisc->setCurrentIndex(0);
    const auto wait = onNextModal([](QWidget* modal) {
        auto* entry = qobject_cast<frmNewt*>(modal);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->mode(), frmNewt::Mode::AddTrack);
        EXPECT_FALSE(entry->chkSave->isVisible());
        typeTrack(entry, makeTrack("T13"));
    });
    keyTo(&p.main(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n13\r\n"));
    EXPECT_EQ(p.bytes("Rock.txt").count("\r\n"), 91);
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(makeTracks(13)));
    EXPECT_TRUE(p.main().lblTitle[12]->isVisible());
    EXPECT_EQ(p.main().lblTitle[12]->text(), "T13");
    EXPECT_EQ(p.state().AddingTracks, 0);
}

TEST(TrackEntry, EditTrackFiveOfTenRewritesTheWholeFile)
{
    TestProgram p;
    p.putFile("Rock.txt", catalogue::discBytes(makeTracks(10)) + "stray\r\nlines\r\n");
    p.putIndex({{"Rock", "10"}});
    ASSERT_TRUE(p.start());
    p.main().cmbDisc->setCurrentIndex(0);
    const auto wait2 = onNextModal([](QWidget* modal) {
        auto* dialog = qobject_cast<frmRemove*>(modal);
        EXPECT_EQ(dialog->lstRemove->item(4)->text(), "T5");
        dialog->lstRemove->setCurrentRow(4);
        keyTo(dialog, Qt::Key_Return);
    });
    click(p.main().picEdit);
    frmNewt* entry = p.main().trackEntry();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->mode(), frmNewt::Mode::Edit);
    EXPECT_EQ(entry->txtTitle->text(), "T5");
    EXPECT_EQ(entry->txtDate->text(), "1999");
    EXPECT_EQ(entry->txtLength->text(), "4:05");
    entry->txtTitle->setText("Five");
    click(entry->picSave);
    QList<Track> expected = makeTracks(10);
    expected[4][2] = "Five";
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(expected));
    EXPECT_EQ(p.bytes("Rock.txt").count("\r\n"), 70);
    EXPECT_EQ(p.main().lblTitle[4]->text(), "Five");
    EXPECT_EQ(p.state().EditPending, 0);
}

TEST(TrackEntry, EditCancelThenNewTrackAddsATrack)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(3)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    // Edit opened and cancelled in the list.
    removeDialog(p, p.main().picEdit, -1, {});
    EXPECT_EQ(p.state().EditPending, 0);
    const auto wait3 = onNextModal([](QWidget* modal) {
        auto* entry = qobject_cast<frmNewt*>(modal);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->mode(), frmNewt::Mode::AddTrack);
        typeTrack(entry, makeTrack("T4"));
    });
    click(p.main().picNewt);
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(makeTracks(4)));
    EXPECT_EQ(p.main().lblDisc->text(), "Rock");
}

TEST(TrackEntry, FormatCodes)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    newDisc(p, "Mix", "2");
    frmNewt* entry = p.main().trackEntry();
    ASSERT_NE(entry, nullptr);
    const QList<std::pair<QString, QString>> codes = {
        {"l", "LP"},     {"lp", "LP"}, {"e", "EP"},  {"ep", "EP"},      {"p", "Promo"},
        {"s", "Single"}, {"c", "CD"},  {"cd", "CD"}, {"Promo", "Promo"}};
    for (const auto& [typed, format] : codes) {
        giveFocus(entry->cmbFormat);
        entry->cmbFormat->setEditText(typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();
        EXPECT_EQ(entry->cmbFormat->currentText(), format) << typed.toStdString();
        EXPECT_TRUE(entry->txtComments->hasFocus());
    }
    for (const QString& wrong : {QString("L"), QString("lP"), QString("LP "), QString()}) {
        p.state().messagesShown.clear();
        giveFocus(entry->cmbFormat);
        entry->cmbFormat->setEditText(wrong);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();
        EXPECT_EQ(p.lastMessage(), "You must choose from the list.") << wrong.toStdString();
        EXPECT_EQ(p.lastKind(), 3);
        EXPECT_TRUE(entry->cmbFormat->hasFocus() ||
                    entry->cmbFormat->isAncestorOf(QApplication::focusWidget()));
    }
    // Enter while the focus is still in the box stores the text as typed.
    entry->txtTitle->setText("Typed");
    giveFocus(entry->cmbFormat);
    entry->cmbFormat->setEditText("l");
    keyTo(entry, Qt::Key_Return);
    const QList<Track> stored = catalogue::readDiscFile(p.dataPath("Mix.txt"), 1).tracks;
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored.at(0)[5], "l");

    // A click on Save takes the focus from the box: the code becomes its
    // format, and a wrong text is refused with nothing stored.
    entry->txtTitle->setText("Clicked");
    giveFocus(entry->cmbFormat);
    entry->cmbFormat->setEditText("xyz");
    p.state().messagesShown.clear();
    QTest::mouseClick(entry->picSave, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(p.messageTexts(), QStringList{"You must choose from the list."});
    EXPECT_EQ(catalogue::readDiscFile(p.dataPath("Mix.txt"), 2).tracks.size(), 1);
    giveFocus(entry->cmbFormat);
    entry->cmbFormat->setEditText("l");
    QTest::mouseClick(entry->picSave, Qt::LeftButton, {}, QPoint(5, 5));
    const QList<Track> both = catalogue::readDiscFile(p.dataPath("Mix.txt"), 2).tracks;
    ASSERT_EQ(both.size(), 2);
    EXPECT_EQ(both.at(1)[5], "LP");
}

TEST(TrackEntry, ClosedByTheWindowSystemItCancels)
{
    // Alt+F4 is Cancel: the question, and no entry left half open behind it.
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}}));
    p.main().cmbDisc->setCurrentIndex(0);
    newDisc(p, "Mix", "3");
    frmNewt* entry = p.main().trackEntry();
    ASSERT_NE(entry, nullptr);
    typeTrack(entry, makeTrack("One"));
    p.answer({"no"});
    closeByWindowSystem(entry);
    EXPECT_EQ(p.lastMessage(),
              "Do you want to make a disc from the data you have entered this far?");
    EXPECT_EQ(p.state().EntryTrack, 0);
    EXPECT_EQ(p.state().AddingTracks, 0);
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n1\r\n"));
    EXPECT_EQ(p.bytes("Mix.txt"), QByteArray("<missing>"));

    // The edit dialog closed that way withdraws its request: New track then
    // adds a track and overwrites none.
    const QByteArray rock = p.bytes("Rock.txt");
    {
        const auto wait = onNextModal([](QWidget* modal) {
            auto* dialog = qobject_cast<frmRemove*>(modal);
            ASSERT_NE(dialog, nullptr);
            dialog->lstRemove->setCurrentRow(0);
            closeByWindowSystem(dialog);
        });
        click(p.main().picEdit);
    }
    EXPECT_EQ(p.state().EditPending, 0);
    EXPECT_EQ(p.bytes("Rock.txt"), rock);
    const auto wait = onNextModal([](QWidget* modal) {
        auto* added = qobject_cast<frmNewt*>(modal);
        ASSERT_NE(added, nullptr);
        EXPECT_EQ(added->mode(), frmNewt::Mode::AddTrack);
        closeByWindowSystem(added);
    });
    click(p.main().picNewt);
    EXPECT_EQ(p.bytes("Rock.txt"), rock);
}

TEST(TrackEntry, AnEmptyTitleOrUnstorableTextIsRefused)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    newDisc(p, "Mix", "2");
    frmNewt* entry = p.main().trackEntry();
    Track track = makeTrack("");
    typeTrack(entry, track);
    EXPECT_EQ(p.lastMessage(), "You must enter a title.");
    EXPECT_EQ(p.lastKind(), 1);
    EXPECT_EQ(p.bytes("Mix.txt"), QByteArray());
    track = makeTrack("Song");
    track[1] = QString::fromUtf8("Björk ★");
    typeTrack(entry, track);
    EXPECT_EQ(p.lastMessage(),
              QString::fromUtf8("The character '★' cannot be stored in the catalogue."));
    EXPECT_EQ(p.bytes("Mix.txt"), QByteArray());
    EXPECT_EQ(entry->lblTrackno->text(), "1");
    track[1] = QString::fromUtf8("Björk");
    typeTrack(entry, track);
    EXPECT_EQ(p.bytes("Mix.txt"), catalogue::discBytes({track}));
    EXPECT_TRUE(p.bytes("Mix.txt").contains("Bj\xF6rk\r\n"));
}

TEST(TrackEntry, AFailedSaveKeepsTheEntryOpenAndTheFileWhole)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    newDisc(p, "Mix", "2");
    frmNewt* entry = p.main().trackEntry();
    typeTrack(entry, makeTrack("One"));
    const QByteArray one = p.bytes("Mix.txt");
    p.state().writeFaultAfterBytes = 20;
    typeTrack(entry, makeTrack("Two"));
    EXPECT_TRUE(p.lastMessage().contains("Mix.txt"));
    EXPECT_TRUE(entry->isVisible());
    EXPECT_EQ(entry->lblTrackno->text(), "2");
    EXPECT_EQ(p.bytes("Mix.txt"), one);
    p.state().writeFaultAfterBytes = -1;
    typeTrack(entry, makeTrack("Two"));
    EXPECT_EQ(p.bytes("Mix.txt"), catalogue::discBytes({makeTrack("One"), makeTrack("Two")}));
}

TEST(TrackEntry, TheFlashBetweenTracksAsksNothing)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    newDisc(p, "Mix", "4");
    frmNewt* entry = p.main().trackEntry();
    ASSERT_NE(entry, nullptr);
    for (QWidget* focus :
         {static_cast<QWidget*>(entry->txtLabel), static_cast<QWidget*>(entry->cmbFormat),
          static_cast<QWidget*>(entry->txtComments)}) {
        p.state().messagesShown.clear();
        giveFocus(focus);
        typeTrack(entry, makeTrack("Song"));
        entry->Timer1_Timer(); // blank
        QCoreApplication::processEvents();
        entry->Timer1_Timer(); // back
        QCoreApplication::processEvents();
        EXPECT_TRUE(p.state().messagesShown.isEmpty()) << p.lastMessage().toStdString();
    }
}
