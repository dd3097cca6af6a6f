#include "editing/EditingHelpers.h"
#include "navigator/frmNavi.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using catalogue::Track;

namespace {

QList<std::pair<QString, QList<Track>>> discs(int n)
{
    QList<std::pair<QString, QList<Track>>> list;
    for (int i = 0; i < n; ++i)
        list.append(
            {QStringLiteral("Disc %1").arg(i + 1), {makeTrack(QStringLiteral("D%1").arg(i + 1))}});
    return list;
}

void doubleClick(QListWidget* list, int row)
{
    list->setCurrentRow(row);
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

} // namespace

TEST(Navigator, SizeFollowsTheDiscs)
{
    TestProgram none;
    ASSERT_TRUE(none.startWith({}));
    EXPECT_EQ(none.main().navigator()->height(), 82);
    EXPECT_EQ(none.main().navigator()->lstNavi->height(), 4);
    EXPECT_EQ(none.main().navigator()->width(), 212);

    TestProgram thirty;
    ASSERT_TRUE(thirty.startWith(discs(30)));
    frmNavi* navi = thirty.main().navigator();
    if (navi->screen()->availableGeometry().height() >= 562) {
        EXPECT_EQ(navi->height(), 562);
        EXPECT_EQ(navi->lstNavi->height(), 484);
    }
    EXPECT_EQ(navi->lstNavi->count(), 30);
    EXPECT_EQ(navi->mask().boundingRect(), QRect(0, 0, 212, navi->height()));
    EXPECT_EQ(navi->pos(), QPoint(40, 120)); // 600, 1800 twips
}

TEST(Navigator, NeverTallerThanItsScreen)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith(discs(80)));
    frmNavi* navi = p.main().navigator();
    const int screen = navi->screen()->availableGeometry().height();
    EXPECT_EQ(navi->height(), std::min(80 * 16 + 82, screen));
    // The list ends inside the window and scrolls to its last disc.
    navi->show();
    EXPECT_LE(navi->lstNavi->geometry().bottom(), navi->height());
    EXPECT_TRUE(navi->lstNavi->verticalScrollBar()->isVisible());
}

TEST(Navigator, DoubleClickAndEnterShowADisc)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith(discs(3)));
    frmNavi* navi = p.main().navigator();
    navi->show();
    doubleClick(navi->lstNavi, 1);
    EXPECT_EQ(p.main().lblDisc->text(), "Disc 2");
    EXPECT_EQ(p.main().cmbDisc->currentIndex(), 1);
    EXPECT_EQ(p.state().CurrentDisc, 1);
    const int loads = p.main().discLoads();
    doubleClick(navi->lstNavi, 1); // the disc on show: nothing
    EXPECT_EQ(p.main().discLoads(), loads);

    giveFocus(navi->lstNavi);
    navi->lstNavi->setCurrentRow(2);
    QTest::keyClick(navi->lstNavi, Qt::Key_Return);
    EXPECT_EQ(p.main().lblDisc->text(), "Disc 3");
    navi->lstNavi->clearSelection();
    navi->lstNavi->setCurrentRow(-1);
    QTest::keyClick(navi->lstNavi, Qt::Key_Return);
    EXPECT_EQ(p.main().lblDisc->text(), "Disc 3");
}

TEST(Navigator, ShortcutsReachTheMainWindowButNotCtrlC)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith(discs(2)));
    frmNavi* navi = p.main().navigator();
    navi->show();
    giveFocus(navi->lstNavi);
    QString opened;
    const auto wait = onNextModal([&opened](QWidget* modal) {
        opened = modal->objectName();
        EXPECT_EQ(modal->parentWidget()->objectName(), "frmMain");
        keyTo(modal, Qt::Key_Escape);
    });
    QTest::keyClick(navi->lstNavi, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(opened, "frmRemove");
    EXPECT_EQ(p.state().RemoveDiscPending, 0);

    navi->hide();
    navi->show();
    giveFocus(navi->lstNavi);
    QTest::keyClick(navi->lstNavi, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(p.lastMessage(), "You must first choose a disc.");
    // Ctrl+C neither reaches the main window nor copies the chosen disc.
    QGuiApplication::clipboard()->setText("kept");
    navi->lstNavi->setCurrentRow(1);
    QTest::keyClick(navi->lstNavi, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    EXPECT_TRUE(navi->isVisible());
    EXPECT_EQ(p.main().lblDisc->text(), QString());
    // Escape does nothing in the navigator; Close hides it.
    QTest::keyClick(navi->lstNavi, Qt::Key_Escape);
    EXPECT_TRUE(navi->isVisible());
    click(navi->picClose);
    EXPECT_FALSE(navi->isVisible());
    EXPECT_EQ(navi->lstNavi->count(), 2);
}

TEST(Navigator, FollowsAddedAndRemovedDiscsHiddenOrShown)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith(discs(2)));
    frmNavi* navi = p.main().navigator();
    EXPECT_FALSE(navi->isVisible());
    newDisc(p, "Third", "1");
    typeTrack(p.main().trackEntry(), makeTrack("X"));
    EXPECT_EQ(navi->lstNavi->count(), 3);
    EXPECT_EQ(navi->lstNavi->item(2)->text(), "Third");
    EXPECT_EQ(navi->height(), 3 * 16 + 82);
    navi->show();
    removeDialog(p, p.main().picRemd, 0, {"yes"});
    EXPECT_EQ(navi->lstNavi->count(), 2);
    EXPECT_EQ(navi->lstNavi->item(0)->text(), "Disc 2");
    EXPECT_EQ(navi->height(), 2 * 16 + 82);
    click(p.main().picNavi);
    EXPECT_TRUE(navi->isVisible());
}

TEST(Navigator, TheFirstDiscOfAFirstRunCreatesIt)
{
    TestProgram p;
    p.makeData();
    p.putFile("index.txt", "");
    ASSERT_TRUE(p.start());
    EXPECT_EQ(p.main().navigator(), nullptr);
    newDisc(p, "First", "1");
    typeTrack(p.main().trackEntry(), makeTrack("X"));
    ASSERT_NE(p.main().navigator(), nullptr);
    EXPECT_FALSE(p.main().navigator()->isVisible());
    EXPECT_EQ(p.main().navigator()->lstNavi->count(), 1);
}

TEST(Navigator, DraggedByItsSurfaceButNotByTheListOrTheBar)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith(discs(3)));
    frmNavi* navi = p.main().navigator();
    navi->show();
    const QPoint start = navi->pos();
    auto drag = [](QWidget* on, QPoint from) {
        QTest::mousePress(on, Qt::LeftButton, {}, from);
        QTest::mouseMove(on, from + QPoint(20, 10));
        QTest::mouseRelease(on, Qt::LeftButton, {}, from + QPoint(20, 10));
    };
    drag(navi->lstNavi->viewport(), QPoint(5, 40));
    drag(navi->picNavibot, QPoint(10, 10));
    EXPECT_EQ(navi->pos(), start);
    drag(navi, QPoint(10, 10)); // the surface above the list
    EXPECT_EQ(navi->pos(), start + QPoint(20, 10));
}
