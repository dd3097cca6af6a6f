#include "editing/EditingHelpers.h"
#include "navigator/frmNavi.h"

#include <QDir>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using catalogue::Track;

TEST(NewDisc, ThreeTracksKeepingTheTrackInformation)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}}));
    newDisc(p, "Mix", "3 songs");
    frmNewt* entry = p.main().trackEntry();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->mode(), frmNewt::Mode::NewDisc);
    EXPECT_FALSE(entry->chkSave->isChecked());
    EXPECT_EQ(entry->lblTrackno->text(), "1");
    EXPECT_TRUE(entry->lblTrackno->isVisible());
    // The disc is in the catalogue with an empty file before any track.
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 2 \r\nRock\r\n1\r\nMix\r\n3 songs\r\n"));
    EXPECT_EQ(p.bytes("Mix.txt"), QByteArray());
    EXPECT_EQ(p.state().settings().discLength("Mix"), "01:14:00");

    giveFocus(entry->txtLabel);
    entry->chkSave->setChecked(true);
    const Track first = {"Island", "Wailers", "One", "1977", "3:00", "LP", "note"};
    typeTrack(entry, first);
    EXPECT_EQ(entry->lblTrackno->text(), "2");
    EXPECT_EQ(entry->txtTitle->text(), QString());
    EXPECT_EQ(entry->txtComments->text(), QString());
    EXPECT_EQ(entry->txtLabel->text(), "Island");
    EXPECT_EQ(entry->cmbFormat->currentText(), "LP");
    EXPECT_EQ(p.bytes("Mix.txt"), catalogue::discBytes({first}));
    // The flash: one tick blanks the window, the next brings it back with the
    // title box ready.
    EXPECT_TRUE(entry->Timer1->isActive());
    entry->Timer1_Timer();
    EXPECT_FALSE(entry->txtTitle->isVisible());
    EXPECT_FALSE(entry->fieldLabels[0]->isVisible());
    entry->Timer1_Timer();
    EXPECT_TRUE(entry->txtTitle->isVisible());
    EXPECT_FALSE(entry->Timer1->isActive());
    EXPECT_TRUE(entry->txtTitle->hasFocus());

    entry->chkSave->setChecked(false);
    const Track second = {"Island", "Wailers", "Two", "1977", "3:00", "LP", ""};
    typeTrack(entry, second);
    EXPECT_EQ(entry->txtLabel->text(), QString());
    EXPECT_EQ(entry->cmbFormat->currentText(), QString());
    EXPECT_EQ(entry->lblTrackno->text(), "3");
    const Track third = {"", "", "Three", "", "", "", ""};
    const int loads = p.main().discLoads();
    typeTrack(entry, third);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(p.main().trackEntry(), nullptr);

    const QByteArray bytes = p.bytes("Mix.txt");
    EXPECT_EQ(bytes, catalogue::discBytes({first, second, third}));
    EXPECT_EQ(bytes.count("\r\n"), 21);
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 2 \r\nRock\r\n1\r\nMix\r\n3 songs\r\n"));
    // The main window shows the new disc.
    EXPECT_EQ(p.main().lblDisc->text(), "Mix");
    EXPECT_EQ(p.main().discLoads(), loads + 1);
    EXPECT_EQ(p.main().cmbDisc->count(), 2);
    EXPECT_EQ(p.main().cmbDisc->currentIndex(), 1);
    EXPECT_EQ(p.main().lblTitle[2]->text(), "Three");
    EXPECT_EQ(p.main().navigator()->lstNavi->model()->rowCount(), 2);
    EXPECT_EQ(p.state().EntryTrack, 0);
    EXPECT_EQ(p.state().NewDiscPending, 0);
}

TEST(NewDisc, OneTrackClosesWithoutAFlash)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    newDisc(p, "Single", "1");
    frmNewt* entry = p.main().trackEntry();
    ASSERT_NE(entry, nullptr);
    typeTrack(entry, makeTrack("Only"));
    EXPECT_FALSE(entry->isVisible());
    EXPECT_FALSE(entry->Timer1->isActive());
    EXPECT_EQ(p.main().lblDisc->text(), "Single");
    ASSERT_NE(p.main().navigator(), nullptr); // created by the first new disc
    EXPECT_FALSE(p.main().navigator()->isVisible());
    EXPECT_EQ(p.main().navigator()->lstNavi->model()->rowCount(), 1);
}

TEST(NewDisc, RefusalsInTheirOrderWithTheirMessages)
{
    struct Case {
        QString name, count, message;
        int kind;
    };
    const QList<Case> cases = {
        {"", "3", "You must give your disc a name!", 2},
        {"Mix", "", "You must specify the number of tracks!", 2},
        {"Mix", "songs", "Enter the number of tracks.", 1},
        {"Mix", "26", "Discs with more than 25 tracks are unsupported.", 2},
        {"Mix", "65540", "Discs with more than 25 tracks are unsupported.", 2},
        {"Mix", "0", "Enter the number of tracks.", 1},
        {"Mix", "-3", "Enter the number of tracks.", 1},
        {"Mix", "-99999", "Enter the number of tracks.", 1},
        {"Mix", "0.4", "Enter the number of tracks.", 1},
    };
    for (const Case& c : cases) {
        TestProgram p;
        ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}}));
        const QByteArray index = p.bytes("index.txt");
        newDisc(p, c.name, c.count);
        EXPECT_EQ(p.lastMessage(), c.message)
            << c.name.toStdString() << "/" << c.count.toStdString();
        EXPECT_EQ(p.lastKind(), c.kind);
        EXPECT_EQ(p.bytes("index.txt"), index);
        EXPECT_EQ(p.main().trackEntry(), nullptr);
        EXPECT_EQ(p.state().DiscCount, 1);
    }
    TestProgram small(800);
    ASSERT_TRUE(small.startWith({}));
    newDisc(small, "Mix", "20");
    EXPECT_EQ(small.lastMessage(), "Discs with more than 19 tracks are unsupported.");
    newDisc(small, "Mix", "19");
    EXPECT_NE(small.main().trackEntry(), nullptr);
}

TEST(NewDisc, TheDialogKeepsItsBoxesAfterCancelButNotAfterSave)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    const auto wait = onNextModal([](QWidget* modal) {
        auto* dialog = qobject_cast<frmNewd*>(modal);
        dialog->txtDisc->setText("Draft");
        dialog->txtTracks->setText("4");
        keyTo(dialog, Qt::Key_Escape);
    });
    click(p.main().picNewd);
    EXPECT_EQ(p.state().NewDiscPending, 0);
    QString shownName;
    const auto wait2 = onNextModal([&shownName](QWidget* modal) {
        auto* dialog = qobject_cast<frmNewd*>(modal);
        shownName = dialog->txtDisc->text();
        keyTo(dialog, Qt::Key_Return); // Enter saves
    });
    click(p.main().picNewd);
    EXPECT_EQ(shownName, "Draft");
    ASSERT_NE(p.main().trackEntry(), nullptr);
    EXPECT_TRUE(p.main().newDiscDialog()->txtDisc->text().isEmpty());
    EXPECT_TRUE(p.main().newDiscDialog()->txtTracks->text().isEmpty());
}

TEST(NewDisc, AFailedIndexWriteChangesNothing)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}}));
    p.state().writeFaultAfterBytes = 3;
    newDisc(p, "Mix", "2");
    EXPECT_TRUE(p.lastMessage().contains("index.txt")) << p.lastMessage().toStdString();
    EXPECT_EQ(p.main().trackEntry(), nullptr);
    EXPECT_EQ(p.state().DiscCount, 1);
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n1\r\n"));
    EXPECT_EQ(p.bytes("Mix.txt"), QByteArray("<missing>"));
}
