#include "support/TestProgram.h"

using catalogue::Track;

TEST(NewDisc, FromTheDialogThroughItsTracks)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}}));
    // A failed write is told and keeps the boxes; so does Cancel, for the next
    // opening, where Enter saves and empties them.
    p.hooks().writeFaultAfterBytes = 3;
    inDialog<frmNewd>(p.main().picNewd, [&p](frmNewd& d) {
        d.txtDisc->setText("Mix");
        d.txtTracks->setText("3 songs");
        click(d.picSave);
        EXPECT_TRUE(p.lastMessage().contains("index.txt")) << p.lastMessage().toStdString();
        EXPECT_TRUE(d.isVisible());
        keyTo(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(p.main().trackEntry(), nullptr);
    p.hooks().writeFaultAfterBytes = -1;
    inDialog<frmNewd>(p.main().picNewd, [](frmNewd& d) {
        EXPECT_EQ(d.txtDisc->text() + "/" + d.txtTracks->text(), "Mix/3 songs");
        keyTo(&d, Qt::Key_Return);
    });
    frmNewd* emptied = p.main().newDiscDialog();
    EXPECT_EQ(emptied->txtDisc->text() + "/" + emptied->txtTracks->text(), "/");
    // The disc is in the catalogue, its count as typed, with an empty file.
    const QByteArray index = " 2 \r\nRock\r\n1\r\nMix\r\n3 songs\r\n";
    EXPECT_EQ(p.bytes("index.txt"), index);
    EXPECT_EQ(p.bytes("Mix.txt"), QByteArray());
    EXPECT_NE(p.state().settings().discLength("Mix"), QString());

    // "Save track information" keeps all but the title and the comments.
    QPointer<frmNewt> entry = p.main().trackEntry();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->lblTrackno->text(), "1");
    EXPECT_FALSE(entry->chkSave->isChecked());
    giveFocus(entry->txtLabel);
    entry->chkSave->setChecked(true);
    const Track one = {"Island", "Wailers", "One", "1977", "3:00", "LP", "note"};
    typeTrack(entry, one);
    ASSERT_TRUE(entry->isVisible());
    EXPECT_EQ(shown(entry), (Track{"Island", "Wailers", "", "1977", "3:00", "LP", ""}));
    EXPECT_EQ(entry->lblTrackno->text(), "2");
    while (entry->Timer1->isActive()) // the flash between two tracks
        entry->Timer1_Timer();

    // A failed write is told, and the track stays in the boxes.
    entry->chkSave->setChecked(false);
    const Track two = {"Island", "Wailers", "Two", "1977", "3:00", "LP", ""};
    p.hooks().writeFaultAfterBytes = 20;
    typeTrack(entry, two);
    EXPECT_TRUE(p.lastMessage().contains("Mix.txt")) << p.lastMessage().toStdString();
    EXPECT_EQ(shown(entry), two);
    EXPECT_EQ(p.bytes("Mix.txt"), catalogue::discBytes({one}));

    // Stored without "Save track information", every box is emptied; the
    // flash moving the focus out of the emptied format box asks nothing.
    p.hooks().writeFaultAfterBytes = -1;
    p.hooks().messagesShown.clear();
    giveFocus(entry->cmbFormat);
    click(entry->picSave);
    EXPECT_EQ(shown(entry), Track{});
    for (int tick = 0; tick < 2; ++tick) {
        entry->Timer1_Timer();
        QCoreApplication::processEvents();
    }
    // The last track closes the window without a flash and shows the disc.
    const int loads = p.main().redraws();
    typeTrack(entry, makeTrack("Three"));
    EXPECT_TRUE(!entry || (!entry->isVisible() && !entry->Timer1->isActive()));
    EXPECT_TRUE(p.messageTexts().isEmpty()) << p.lastMessage().toStdString();
    EXPECT_EQ(p.bytes("Mix.txt"), catalogue::discBytes({one, two, makeTrack("Three")}));
    EXPECT_EQ(p.bytes("index.txt"), index);
    EXPECT_EQ(mainView(p), "Mix | chooser 1 | disc 1 | 3 tracks, 3 rows");
    EXPECT_EQ(p.main().redraws(), loads + 1);
    EXPECT_EQ(p.main().rows->lblTitle[2]->text(), "Three");
    EXPECT_EQ(p.state().EntryTrack, 0);
}
