#include "support/TestProgram.h"

#include <QSettings>

namespace {

// A message box of a kind on its own, its answer "old" before it opens.
std::unique_ptr<frmMsgbox> openBox(int kind)
{
    auto box = std::make_unique<frmMsgbox>(nullptr, kind, "Line one\rLine two");
    box->MsgAnswer = "old";
    box->move(200, 150);
    box->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    return box;
}

// Clicks the mono box as a user does.
void clickMono(frmOption& d, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(d.chkMono, button, {}, QPoint(6, 6));
    QCoreApplication::processEvents();
}

} // namespace

// A release acts inside the release area, both ends included, with any mouse
// button, wherever the mouse went while pressed.
TEST(PictureButtons, TheReleaseAreaAndItsEdges)
{
    // Where the mouse goes after the press at (2, 2), each point as a fraction of
    // the area's width and height plus pixels; it is released at the last one.
    struct At {
        double w;
        int x;
        double h;
        int y;
    };
    const QList<std::tuple<const char*, QList<At>, Qt::MouseButton, bool>> releases = {
        {"at (W, H)", {{1, 0, 1, 0}}, Qt::LeftButton, true},
        {"one right of W", {{1, 1, 0, 3}}, Qt::LeftButton, false},
        {"one below H", {{0, 3, 1, 1}}, Qt::LeftButton, false},
        {"one left of 0", {{0, -1, 0, 3}}, Qt::LeftButton, false},
        {"one above 0", {{0, 3, 0, -1}}, Qt::LeftButton, false},
        {"moved off", {{0, 3, 0, 3}, {1, 40, 0, 3}}, Qt::LeftButton, false},
        {"moved off and back", {{1, 40, 0, 3}, {0.5, 0, 0, 3}}, Qt::LeftButton, true},
        {"with the right button", {{0, 3, 0, 3}}, Qt::RightButton, true},
    };
    for (const auto& [how, path, mouse, acts] : releases)
        for (int b = 0; b < 4; ++b) {
            const auto box = openBox(1);
            TestProgram p; // Edit says it needs a disc, Quit ends
            ASSERT_TRUE(p.startWith({}));
            QSignalSpy ended(&p.main(), &frmMain::programEnded);
            frmDialog about(p.state(), nullptr);
            about.show();
            MailProgram mail;
            PictureButton* button =
                std::array{box->picOkay, p.main().picEdit, p.main().picQuit, about.picLink}[b];
            const QSize area = button->releaseArea();
            QTest::mousePress(button, mouse, {}, QPoint(2, 2));
            QPoint point;
            for (const At& at : path) {
                point =
                    QPoint(qRound(at.w * area.width()) + at.x, qRound(at.h * area.height()) + at.y);
                if (&at != &path.last())
                    QTest::mouseMove(button, point);
            }
            QTest::mouseRelease(button, mouse, {}, point);
            const bool acted = std::array{!box->isVisible(), !p.hooks().messagesShown.isEmpty(),
                                          !ended.isEmpty(), !mail.opened.isEmpty()}[b];
            EXPECT_EQ(acted, acts) << button->accessibleName().toStdString() << " " << how;
            EXPECT_FALSE(button->isPressed()) << "the pressed picture stays";
        }
}

TEST(About, TheLinkMailsAndOnlyALeftClickOrEnterCloses)
{
    const QList<std::tuple<QString, std::function<void(frmDialog&)>, bool>> cases = {
        {"left drag", [](frmDialog& d) { dragBy(&d, QPoint(300, 40), QPoint(30, 20)); }, true},
        {"right click",
         [](frmDialog& d) { QTest::mouseClick(&d, Qt::RightButton, {}, QPoint(300, 40)); }, false},
        {"middle click",
         [](frmDialog& d) { QTest::mouseClick(&d, Qt::MiddleButton, {}, QPoint(300, 40)); }, false},
        {"Escape", [](frmDialog& d) { keyTo(&d, Qt::Key_Escape); }, false},
        {"Enter", [](frmDialog& d) { keyTo(&d, Qt::Key_Return); }, true},
        {"link", [](frmDialog& d) { click(d.picLink); }, false},
        {"link, no mail program", // no desktop tools at all: the address instead
         [](frmDialog& d) {
#ifdef Q_OS_WIN // the user's own empty choice hides the machine's
             const QString key = "HKEY_CURRENT_USER\\Software\\Classes\\mailto";
             QSettings(key + "\\shell\\open\\command", QSettings::NativeFormat)
                 .setValue("Default", QString());
             click(d.picLink);
             QSettings(key, QSettings::NativeFormat).remove("");
#else
             const QByteArray path = qgetenv("PATH");
             QTemporaryDir empty;
             qputenv("PATH", QFile::encodeName(empty.path()));
             click(d.picLink);
             qputenv("PATH", path);
#endif
         },
         false},
    };
    for (const auto& [what, act, closes] : cases) {
        MailProgram mail;
        QGuiApplication::clipboard()->clear();
        TestProgram p;
        p.answer({});
        frmDialog about(p.state(), nullptr);
        about.show();
        const QPoint start = about.pos();
        act(about);
        EXPECT_EQ(about.isVisible(), !closes) << what.toStdString();
        EXPECT_EQ(about.pos(), start) << "the about box does not move";
        EXPECT_EQ(mail.opened,
                  what == "link" ? QList<QUrl>{QUrl("mailto:" + MaintainersMail)} : QList<QUrl>{});
        const bool told = what.endsWith("no mail program");
        EXPECT_EQ(p.lastKind() == 2 && p.lastMessage().contains(MaintainersMail), told);
        EXPECT_EQ(QGuiApplication::clipboard()->text() == MaintainersMail, told);
    }
}

TEST(MessageBox, EveryKindShowsItsIconButtonsAndText)
{
    const QList<std::tuple<int, QString, QString>> kinds = {
        {1, "crit okay", "Line one\nLine two"},
        {2, "info okay", "Line one\nLine two"},
        {3, "exclam okay", "Line one\nLine two"},
        {4, "quest okay", "Line one\nLine two"},
        {5, "quest yes no", "Line one\nLine two"},
        {6, "cancel search text", "Search for what?"},
        {9, "", ""},
    };
    for (const auto& [kind, parts, caption] : kinds) {
        const auto b = openBox(kind);
        const QList<std::pair<const char*, QWidget*>> widgets = {
            {"crit", b->picCrit},   {"info", b->picInfo},     {"exclam", b->picExclam},
            {"quest", b->picQuest}, {"yes", b->picYes},       {"no", b->picNo},
            {"okay", b->picOkay},   {"cancel", b->picCancel}, {"search", b->picSearch},
            {"text", b->txtSearch}};
        QStringList shown;
        for (const auto& [name, widget] : widgets)
            if (widget->isVisible())
                shown << name;
        EXPECT_EQ(shown.join(' ') + " / " + b->lblCaption->text(), parts + " / " + caption);
    }
}

// Shown modally by the program: yes is consent; Space (no button is chosen
// as it opens) and Escape, whatever came before, are not.
TEST(MessageBox, ShownModallyEscapeIsNoConsent)
{
    Module1 state({QString(), QString(), 1024});
    QWidget owner;
    owner.show();
    for (const bool yes : {true, false}) {
        const ModalWait wait([yes](QWidget* modal) {
            auto* box = qobject_cast<frmMsgbox*>(modal);
            ASSERT_NE(box, nullptr);
            yes ? click(box->picYes) : (keyTo(box, Qt::Key_Space), keyTo(box, Qt::Key_Escape));
        });
        EXPECT_EQ(frmMsgbox::askYes(state, &owner, "Are you really sure?"), yes);
    }
}

// Enter and Escape go to the window before its controls: to the buttons they
// stand for, or from the search box to its answer.
TEST(WindowChrome, EachButtonAndKeyOfTheMessageBoxAnswers)
{
    const auto key = [](Qt::Key k) { return [k](frmMsgbox& b) { keyTo(&b, k); }; };
    const auto press = [](PictureButton* frmMsgbox::*button) {
        return [button](frmMsgbox& b) { click(b.*button); };
    };
    const QList<std::tuple<int, QString, std::function<void(frmMsgbox&)>, QString>> cases = {
        {5, "", press(&frmMsgbox::picYes), "yes"},
        {5, "", press(&frmMsgbox::picNo), "no"},
        {5, "", key(Qt::Key_Return), "old"}, // a question has no answer of its own
        {5, "", key(Qt::Key_Escape), "old"},
        {1, "", press(&frmMsgbox::picOkay), "old"},
        {1, "", key(Qt::Key_Return), "old"},
        {6, "Jazz", press(&frmMsgbox::picSearch), "Jazz"},
        {6, "Jazz", press(&frmMsgbox::picCancel), ""},
        {6, "Jazz", key(Qt::Key_Escape), ""},
        {6, "", press(&frmMsgbox::picSearch), ""}, // the prompt starts empty
        {6, "Mix", key(Qt::Key_Enter), "Mix"},
        {6, "rock", key(Qt::Key_Return), "rock"},
    };
    for (const auto& [kind, typed, act, answer] : cases) {
        const auto b = openBox(kind);
        if (kind == 6) {
            giveFocus(b->txtSearch);
            QTest::keyClicks(b->txtSearch, typed);
        }
        act(*b);
        EXPECT_FALSE(b->isVisible()) << "kind " << kind << " " << typed.toStdString();
        EXPECT_EQ(b->MsgAnswer, answer) << "kind " << kind << " " << typed.toStdString();
    }
}

// On a bare X server too, where no window manager moves the window.
TEST(WindowChrome, DraggingTheSurfaceMovesTheWindowButNotFromAControl)
{
    const auto b = openBox(6);
    const QPoint start = b->pos();
    dragBy(b->txtSearch, QPoint(5, 5), QPoint(55, 10));
    dragBy(b->lblCaption, QPoint(5, 5), QPoint(55, 10));
    EXPECT_EQ(b->pos(), start);
    dragBy(b.get(), QPoint(300, 90), QPoint(40, 30));
    EXPECT_TRUE(QTest::qWaitFor([&] { return b->pos() == start + QPoint(40, 30); }, 5000));
}

// The rounded corners are cut away on a real X server: what lies behind shows there.
TEST(X11, CornersShowWhatLiesBehindTheWindow)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs an X server";
    QWidget backdrop(nullptr, Qt::FramelessWindowHint);
    backdrop.setStyleSheet("background: white");
    backdrop.setGeometry(100, 100, 500, 300);
    backdrop.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&backdrop));
    const auto b = openBox(1);
    const auto cut = [&b] {
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        const QRect r = b->geometry();
        const auto white = [&](int x, int y) { return screen.pixelColor(x, y) == Qt::white; };
        const QPoint c = r.center(); // the window reaches every edge between its corners
        return white(r.left(), r.top()) && white(r.right(), r.top()) &&
               white(r.left(), r.bottom()) && white(r.right(), r.bottom()) &&
               !white(c.x(), c.y()) && !white(r.left(), c.y()) && !white(r.right(), c.y()) &&
               !white(c.x(), r.top()) && !white(c.x(), r.bottom());
    };
    EXPECT_TRUE(QTest::qWaitFor(cut, 5000));
}

// With no disc shown only the navigator's setting is written. Mono doubles and
// halves the length, of which only the time of day remains, and shows as
// stored; Cancel stores nothing; a length that is not a time is refused; Okay
// stores the length as typed.
TEST(Options, TheDiscLengthAndMono)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", {makeTrack("A", "40:00"), makeTrack("B", "40:00")}}}));
    Settings& settings = p.state().settings();
    inDialog<frmOption>(p.main().picOption, [](frmOption& d) {
        EXPECT_FALSE(d.chkMono->isEnabled() || d.txtDisclen->isEnabled() ||
                     d.lblCurrent->isEnabled() || d.chkNavi->isChecked()); // "navi" missing
        QTest::mouseClick(d.lblNavistart, Qt::LeftButton);                 // its caption: its box
        keyTo(&d, Qt::Key_Return);                                         // Enter is Okay
    });
    EXPECT_EQ(settings.navi() + "|" + settings.discLength("Rock") + "|" + settings.mono("Rock"),
              "1||");
    settings.setDiscLength("Rock", "01:14:00");
    chooseDisc(p.main(), 0);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); // a 12-hour locale
    inDialog<frmOption>(p.main().picOption, [](frmOption& d) {
        QStringList lengths = {d.txtDisclen->text()};
        for (int i = 0; i < 3; ++i) {
            i == 1 ? QTest::keyClick(d.chkMono, Qt::Key_Space) : clickMono(d);
            QCoreApplication::processEvents();
            lengths << d.txtDisclen->text();
        }
        EXPECT_EQ(lengths, (QStringList{"1:14:00", "2:28:00", "1:14:00", "2:28:00"}));
        EXPECT_TRUE(d.chkMono->isChecked());
        click(d.picOkay);
    });
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(settings.mono("Rock") + "|" + settings.discLength("Rock"), "1|2:28:00");
    EXPECT_EQ(p.main().RemainingText, "-68:00"); // 148 - 80 minutes
    inDialog<frmOption>(p.main().picOption,
                        [](frmOption& d) { EXPECT_TRUE(d.chkMono->isChecked()); });

    settings.setDiscLength("Rock", "13:00:00");
    settings.setMono("Rock", "0");
    inDialog<frmOption>(p.main().picOption, [](frmOption& d) {
        clickMono(d);
        EXPECT_EQ(d.txtDisclen->text(), "2:00:00");
        clickMono(d, Qt::RightButton); // follows the box's unchanged state
        EXPECT_TRUE(d.chkMono->isChecked());
        EXPECT_EQ(d.txtDisclen->text(), "4:00:00");
        click(d.picCancel);
    });
    EXPECT_EQ(settings.mono("Rock") + "|" + settings.discLength("Rock"), "0|13:00:00");

    inDialog<frmOption>(p.main().picOption, [&p](frmOption& d) {
        d.txtDisclen->setText("25:00:00");
        click(d.picOkay);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(messagesWithKinds(p),
                  QStringList{"1 '25:00:00' is not a disc length. Enter hours, minutes and "
                              "seconds, for example 1:14:00."});
        giveFocus(d.txtDisclen);
        d.txtDisclen->setText("soon");
        giveFocus(d.chkNavi); // leaving the box
        QCoreApplication::processEvents();
        EXPECT_TRUE(p.lastMessage().startsWith("'soon' is not a disc length"));
        EXPECT_TRUE(d.txtDisclen->hasFocus());
        clickMono(d); // changes neither the mark nor the length
        EXPECT_FALSE(d.chkMono->isChecked());
        EXPECT_EQ(d.txtDisclen->text(), "soon");
        d.txtDisclen->setText("1:30");
        click(d.picOkay);
    });
    EXPECT_EQ(settings.discLength("Rock"), "1:30");
    EXPECT_EQ(p.state().DiscLength, 5400);
    EXPECT_EQ(p.main().RemainingText, "-10:00");
}
