// Checks that need a real X server (run under xvfb-run, no window manager):
// the offscreen platform has no screen to look at and no window system to ask.
#include "dialogs/frmMsgbox.h"
#include "store/Module1.h"
#include "support/TestProgram.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// A plain white window to stand behind the window under test.
class Backdrop : public QWidget
{
public:
    Backdrop() : QWidget(nullptr, Qt::FramelessWindowHint) {}

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::white); }
};

} // namespace

TEST(X11, CornersShowWhatLiesBehindTheWindow)
{
    if (!onX11())
        GTEST_SKIP() << "needs an X server";
    Backdrop backdrop;
    backdrop.setGeometry(100, 100, 500, 300);
    backdrop.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&backdrop));
    Module1 state({QString(), QString(), 1024});
    state.MsgKind = 1;
    state.MsgText = "Corners";
    frmMsgbox box(state, nullptr);
    box.move(200, 150);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::qWait(300);
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QPoint origin = box.geometry().topLeft();
    // The very corner is cut away: the white backdrop shows, not black.
    for (const QPoint corner : {QPoint(0, 0), QPoint(339, 0), QPoint(0, 129), QPoint(339, 129)}) {
        const QColor c = screen.pixelColor(origin + corner);
        EXPECT_GT(c.lightness(), 200) << corner.x() << "," << corner.y();
    }
    // Inside, the window's own picture.
    EXPECT_LT(screen.pixelColor(origin + QPoint(170, 65)).lightness(), 150);
}

TEST(X11, DraggingWorksWithoutAWindowManager)
{
    if (!onX11())
        GTEST_SKIP() << "needs an X server";
    Module1 state({QString(), QString(), 1024});
    state.MsgKind = 2;
    frmMsgbox box(state, nullptr);
    box.move(300, 300);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QPoint start = box.pos();
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(300, 80));
    QTest::mouseMove(&box, QPoint(340, 110));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(340, 110));
    QTest::qWait(200);
    EXPECT_EQ(box.pos(), start + QPoint(40, 30));
}

TEST(X11, TheMainWindowComesUpAtItsPlace)
{
    if (!onX11())
        GTEST_SKIP() << "needs an X server";
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.main()));
    QTest::qWait(200);
    EXPECT_EQ(p.main().geometry().topLeft(), QPoint(267, 120));
    EXPECT_EQ(p.main().height(), 610);
}
