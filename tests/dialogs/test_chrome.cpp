#include "dialogs/PictureButton.h"
#include "dialogs/frmMsgbox.h"
#include "main/Screenres.h"
#include "store/Module1.h"
#include "support/TestProgram.h"

#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Box {
    Module1 state{{QString(), QString(), 1024}};
    std::unique_ptr<frmMsgbox> box;
    explicit Box(int kind)
    {
        state.MsgKind = kind;
        state.MsgText = QStringLiteral("Text");
        box = std::make_unique<frmMsgbox>(state, nullptr);
        box->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    }
};

} // namespace

TEST(PictureButtons, ReleaseAreaIncludesBothEnds)
{
    {
        Box b(1);
        clickAt(b.box->picOkay, QPoint(81, 26));
        EXPECT_FALSE(b.box->isVisible()) << "a release at (W, H) acts";
    }
    for (const QPoint outside : {QPoint(82, 5), QPoint(-1, 5), QPoint(5, 27), QPoint(5, -1)}) {
        Box b(1);
        QTest::mousePress(b.box->picOkay, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_TRUE(b.box->picOkay->isPressed());
        QTest::mouseRelease(b.box->picOkay, Qt::LeftButton, {}, outside);
        EXPECT_TRUE(b.box->isVisible()) << outside.x() << "," << outside.y();
        EXPECT_FALSE(b.box->picOkay->isPressed()) << "the pressed picture is hidden";
    }
}

TEST(PictureButtons, PressMoveOffAndBackOnActs)
{
    Box b(5);
    QTest::mousePress(b.box->picYes, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseMove(b.box->picYes, QPoint(150, 3));
    QTest::mouseMove(b.box->picYes, QPoint(40, 10));
    QTest::mouseRelease(b.box->picYes, Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_EQ(b.state.MsgAnswer, "yes");
    EXPECT_FALSE(b.box->isVisible());
}

TEST(PictureButtons, AnyMouseButtonCounts)
{
    Box b(5);
    QTest::mousePress(b.box->picNo, Qt::RightButton, {}, QPoint(3, 3));
    QTest::mouseRelease(b.box->picNo, Qt::RightButton, {}, QPoint(3, 3));
    EXPECT_EQ(b.state.MsgAnswer, "no");
}

TEST(WindowChrome, TheMaskIsARoundedRectangle)
{
    Box b(1);
    const QRegion mask = b.box->mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(339, 129)));
    EXPECT_FALSE(mask.contains(QPoint(1, 1)));
    EXPECT_TRUE(mask.contains(QPoint(9, 0)));
    EXPECT_TRUE(mask.contains(QPoint(0, 65)));
    EXPECT_TRUE(mask.contains(QPoint(170, 65)));
    EXPECT_EQ(mask.boundingRect(), QRect(0, 0, 340, 130));
}

TEST(WindowChrome, DraggingTheSurfaceMovesTheWindowButNotFromAControl)
{
    Box b(6);
    const QPoint start = b.box->pos();
    QTest::mousePress(b.box.get(), Qt::LeftButton, {}, QPoint(300, 90));
    QTest::mouseMove(b.box.get(), QPoint(330, 110));
    QTest::mouseRelease(b.box.get(), Qt::LeftButton, {}, QPoint(330, 110));
    EXPECT_EQ(b.box->pos(), start + QPoint(30, 20));

    const QPoint before = b.box->pos();
    for (QWidget* control :
         {static_cast<QWidget*>(b.box->txtSearch), static_cast<QWidget*>(b.box->lblCaption)}) {
        QTest::mousePress(control, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(control, QPoint(60, 15));
        QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(60, 15));
        EXPECT_EQ(b.box->pos(), before);
    }
}

TEST(WindowChrome, EnterActsWhileATextBoxHasTheFocus)
{
    Box b(6);
    giveFocus(b.box->txtSearch);
    QTest::keyClicks(b.box->txtSearch, QStringLiteral("rock"));

    QTest::keyClick(b.box->txtSearch, Qt::Key_Return);
    EXPECT_EQ(b.state.MsgAnswer, "rock");
    EXPECT_FALSE(b.box->isVisible());
}

TEST(WindowChrome, FirstPositionsStayOnTheScreen)
{
    // The real screen's width, so an 800-pixel screen gets its shorter window.
    const int width = primaryScreenWidth();
    if (width == 640)
        GTEST_SKIP() << "the program does not run on this screen";
    TestProgram program(width);
    program.putIndex({});
    ASSERT_TRUE(program.start());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = program.main().frameGeometry();
    EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y();
    if (screen.width() >= 267 + 718 && screen.height() >= 120 + 610)
        EXPECT_EQ(frame.topLeft(), QPoint(267, 120)); // 4005, 1800 twips
    else
        EXPECT_EQ(frame.right(), std::min(screen.right(), 267 + 717));
}
