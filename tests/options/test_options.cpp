#include "dialogs/PictureButton.h"
#include "options/frmOption.h"
#include "support/TestProgram.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using catalogue::Track;

namespace {

// Opens the options from the main window and runs act in the window.
void inOptions(TestProgram& p, std::function<void(frmOption*)> act)
{
    const auto wait = onNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<frmOption*>(modal);
        ASSERT_NE(dialog, nullptr);
        act(dialog);
        if (dialog->isVisible())
            click(dialog->picCancel);
    });
    click(p.main().picOption);
}

void clickMono(frmOption* d, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(d->chkMono, button, {}, QPoint(6, 6));
    QCoreApplication::processEvents();
}

} // namespace

TEST(Options, NoDiscShownWritesNaviAlone)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", {makeTrack("A")}}}));
    inOptions(p, [](frmOption* d) {
        EXPECT_FALSE(d->chkMono->isEnabled());
        EXPECT_FALSE(d->txtDisclen->isEnabled());
        EXPECT_FALSE(d->lblCurrent->isEnabled());
        EXPECT_FALSE(d->chkNavi->isChecked()); // "navi" missing
        keyTo(d, Qt::Key_Return);              // keys mean nothing here
        EXPECT_TRUE(d->isVisible());
        click(d->picOkay);
    });
    EXPECT_EQ(p.state().settings().navi(), "0");
    EXPECT_EQ(p.state().settings().discLength("Rock"), QString());
    EXPECT_EQ(p.state().settings().mono("Rock"), QString());
}

TEST(Options, MonoDoublesAndHalvesTheLength)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", {makeTrack("A", "40:00"), makeTrack("B", "40:00")}}}));
    p.state().settings().setDiscLength("Rock", "01:14:00");
    p.main().cmbDisc->setCurrentIndex(0);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); // a 12-hour locale
    inOptions(p, [](frmOption* d) {
        EXPECT_EQ(d->txtDisclen->text(), "1:14:00");
        clickMono(d);
        EXPECT_TRUE(d->chkMono->isChecked());
        EXPECT_EQ(d->txtDisclen->text(), "2:28:00");
        clickMono(d);
        EXPECT_EQ(d->txtDisclen->text(), "1:14:00");
        clickMono(d);
        click(d->picOkay);
    });
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(p.state().settings().mono("Rock"), "1");
    EXPECT_EQ(p.state().settings().discLength("Rock"), "2:28:00");
    EXPECT_EQ(p.main().RemainingText, "-68:00"); // 148 - 80 minutes
}

TEST(Options, OnlyTheTimeOfDayRemains)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", {makeTrack("A")}}}));
    p.state().settings().setDiscLength("Rock", "13:00:00");
    p.main().cmbDisc->setCurrentIndex(0);
    inOptions(p, [](frmOption* d) {
        clickMono(d);
        EXPECT_EQ(d->txtDisclen->text(), "2:00:00");
        // A right-button release follows the box's unchanged state.
        clickMono(d, Qt::RightButton);
        EXPECT_TRUE(d->chkMono->isChecked());
        EXPECT_EQ(d->txtDisclen->text(), "4:00:00");
    });
    EXPECT_EQ(p.state().settings().discLength("Rock"), "13:00:00") << "Cancel stores nothing";
    EXPECT_EQ(p.state().settings().mono("Rock"), QString());
}

TEST(Options, ATypedLengthIsStoredAsTyped)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", {makeTrack("A", "30:00")}}}));
    p.main().cmbDisc->setCurrentIndex(0);
    p.main().cmdUpdate();
    inOptions(p, [](frmOption* d) {
        d->txtDisclen->setText("1:20");
        click(d->picOkay);
    });
    EXPECT_EQ(p.state().settings().discLength("Rock"), "1:20");
    EXPECT_EQ(p.state().DiscLength, 4800);
    EXPECT_EQ(p.main().RemainingText, "-50:00");
}

TEST(Options, ALengthThatIsNotATimeIsRefused)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", {makeTrack("A")}}}));
    p.state().settings().setDiscLength("Rock", "01:14:00");
    p.main().cmbDisc->setCurrentIndex(0);
    inOptions(p, [&p](frmOption* d) {
        d->txtDisclen->setText("25:00:00");
        click(d->picOkay);
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(p.lastKind(), 1);
        EXPECT_TRUE(p.lastMessage().contains("1:14:00")) << p.lastMessage().toStdString();
        // Leaving the box.
        p.state().messagesShown.clear();
        giveFocus(d->txtDisclen);
        d->txtDisclen->setText("soon");
        giveFocus(d->chkNavi);
        QCoreApplication::processEvents();
        EXPECT_EQ(p.lastKind(), 1);
        EXPECT_TRUE(d->txtDisclen->hasFocus());
        // A mono click changes neither the mark nor the length.
        clickMono(d);
        EXPECT_FALSE(d->chkMono->isChecked());
        EXPECT_EQ(p.state().DiscLength, 4440);
    });
    EXPECT_EQ(p.state().settings().discLength("Rock"), "01:14:00");
}

TEST(Options, AMissingLengthOpensWithTheDefault)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", {makeTrack("A")}}}));
    p.main().cmbDisc->setCurrentIndex(0);
    p.state().settings().deleteSection("Rock");
    p.state().settings().setNavi("1");
    inOptions(p, [](frmOption* d) {
        EXPECT_EQ(d->txtDisclen->text(), "1:14:00");
        EXPECT_TRUE(d->chkNavi->isChecked());
        click(d->picOkay);
    });
    EXPECT_EQ(p.state().settings().discLength("Rock"), "1:14:00");
    EXPECT_EQ(p.state().settings().navi(), "1");
}
