#include "dialogs/PictureButton.h"
#include "dialogs/frmDialog.h"
#include "store/Module1.h"
#include "support/TestProgram.h"

#include <QDesktopServices>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class MailCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

} // namespace

TEST(About, TheLinkStartsAMailAndTheBoxStays)
{
    MailCatcher catcher;
    QDesktopServices::setUrlHandler("mailto", &catcher, "open");
    Module1 state({QString(), QString(), 1024});
    state.answerMessage = [](Module1&) {};
    frmDialog about(state, nullptr);
    about.show();
    clickAt(about.picLink, QPoint(150, 15)); // right of the picture, inside the area
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened.at(0), QUrl("mailto:" + MaintainersMail));
    EXPECT_TRUE(about.isVisible());
    clickAt(about.picLink, QPoint(152, 5));
    EXPECT_EQ(catcher.opened.size(), 1);
    QDesktopServices::unsetUrlHandler("mailto");
}

TEST(About, ClickOrEnterClosesButEscapeAndDraggingDoNot)
{
    {
        Module1 state({QString(), QString(), 1024});
        state.answerMessage = [](Module1&) {};
        frmDialog about(state, nullptr);
        about.show();
        const QPoint start = about.pos();
        QTest::mousePress(&about, Qt::LeftButton, {}, QPoint(300, 40));
        QTest::mouseMove(&about, QPoint(330, 60));
        EXPECT_EQ(about.pos(), start);
        QTest::mouseRelease(&about, Qt::LeftButton, {}, QPoint(330, 60));
        EXPECT_FALSE(about.isVisible());
    }
    {
        // Other mouse buttons do not click.
        Module1 state({QString(), QString(), 1024});
        state.answerMessage = [](Module1&) {};
        frmDialog about(state, nullptr);
        about.show();
        for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton})
            QTest::mouseClick(&about, button, {}, QPoint(300, 40));
        EXPECT_TRUE(about.isVisible());
        keyTo(&about, Qt::Key_Escape);
        EXPECT_TRUE(about.isVisible());
        keyTo(&about, Qt::Key_Return);
        EXPECT_FALSE(about.isVisible());
        EXPECT_EQ(about.mask().boundingRect(), QRect(0, 0, 440, 148));
    }
}

#include "test_about.moc"
