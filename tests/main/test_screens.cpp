// Every window on the screen it is shown on: its texts whole or cut with
// "…", the window within the screen, a tall disc's rows all reachable.
// The screen_profile_* runs repeat these on screens 640 to 1024 pixels wide.
#include "support/TestProgram.h"

using catalogue::Track;

namespace {

const QString Long = QStringLiteral("An Extremely Long Name For A Compilation Of Songs");

// What a window's user sees of its labels: each text whole within its label,
// or cut with "…" and whole in its tooltip; and the window on the screen.
void expectReadable(QWidget* window, const std::string& what)
{
    SCOPED_TRACE(what);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(window->frameGeometry()))
        << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
        << window->width() << "x" << window->height();
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(window) || label->text().isEmpty())
            continue;
        const std::string text = label->text().toStdString();
        if (const auto* cut = dynamic_cast<const ElidedLabel*>(label)) {
            if (cut->shownText() != cut->text()) {
                EXPECT_TRUE(cut->shownText().endsWith(QChar(0x2026))) << text;
                EXPECT_TRUE(cut->toolTip().contains(cut->text())) << text;
            }
            continue;
        }
        const QRect room = label->contentsRect();
        if (label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(room.width()), room.height()) << text;
            continue;
        }
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), room.width()) << text;
        EXPECT_LE(metrics.height(), room.height()) << text;
    }
}

} // namespace

TEST(Screens, EveryWindowReadsWholeOnItsScreen)
{
    const int width = primaryScreenWidth();
    // Every kind of message, with the program's longest texts; the first-run
    // notes (errors 53 and 76) in their smaller print.
    const QString firstRun = "The data file named 'Index' will be placed inside a folder named "
                             "'Data' in the same folder as this application.  You can then "
                             "proceed to create your compilations!";
    const QList<std::tuple<int, int, QString>> messages = {
        {2, 0,
         "This program runs best in 1152x864 or higher.\rThe program will not run in "
         "640x480 and will now quit."},
        {1, 0,
         "You must ensure the file named 'Index' can be found within the folder named "
         "'Data' in the same folder as this application."},
        {1, 0,
         "The file '/home/somebody/Music/Catalogues/Platterbook/Data/index.txt' was "
         "changed outside Platterbook, so nothing was saved. The catalogue is read again: "
         "please repeat what you did."},
        {5, 0, "Do you want to make a disc from the data you have entered this far?"},
        {6, 0, QString()},
        {2, 76, firstRun},
    };
    for (const auto& [kind, error, text] : messages) {
        frmMsgbox box(nullptr, kind, text, error);
        box.centreOnScreen();
        expectReadable(&box, text.left(40).toStdString());
    }
    if (width == 640)
        return; // the program ends there
    TestProgram p(width);
    QList<Track> tracks = makeTracks(3, Long);
    ASSERT_TRUE(p.startWith({{Long, tracks}, {"Rock", makeTracks(2)}}));
    chooseDisc(p.main(), 0);
    expectReadable(&p.main(), "main window");
    EXPECT_TRUE(p.main().rows->lblTitle[0]->toolTip() == tracks[0][2]);
    ASSERT_GT(p.state().catalogue().search(Long), 0);
    for (const RemoveMode job : {RemoveMode::Disc, RemoveMode::Track, RemoveMode::SearchResults}) {
        frmRemove dialog(p.state(), job, &p.main());
        expectReadable(&dialog, "remove job " + std::to_string(int(job)));
    }
    frmNewd newd(p.state(), &p.main());
    frmOption options(p.state(), &p.main());
    frmPrint print(p.state(), &p.main());
    frmDialog about(p.state(), &p.main());
    for (QWidget* window : std::initializer_list<QWidget*>{&newd, &options, &print, &about})
        expectReadable(window, window->metaObject()->className());
    p.main().picNavi_MouseUp(1, 0, 0, 0);
    expectReadable(p.main().navigator(), "navigator");
    frmNewt* entry = newDisc(p, "Mix", "2");
    ASSERT_NE(entry, nullptr);
    expectReadable(entry, "track entry");
}

// Qt's printer dialog keeps the desktop's look: its labels read.
TEST(Screens, ThePrinterDialogReads)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Windows shows its own printer dialog";
#endif
    QPrinter printer;
    const std::unique_ptr<QPrintDialog> dialog = frmPrint::printerDialog(printer);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    int labels = 0;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        ++labels;
        const double text = luminance(label->palette().color(label->foregroundRole()));
        const double back = luminance(dialog->palette().color(dialog->backgroundRole()));
        EXPECT_GE((std::max(text, back) + 0.05) / (std::min(text, back) + 0.05), 4.5)
            << label->text().toStdString();
    }
    EXPECT_GT(labels, 3);
}

// A disc of 25 tracks on a screen too low for it: the window stays on the
// screen, and its last row is reached with the wheel and with Tab, and what
// is typed there is saved.
TEST(Screens, ATallDiscScrollsWithinTheScreen)
{
    TestProgram p(primaryScreenWidth());
    if (primaryScreenWidth() == 640)
        GTEST_SKIP() << "the program does not run on this screen";
    ASSERT_TRUE(p.startWith({{"Long", makeTracks(25)}}));
    chooseDisc(p.main(), 0);
    const QRect screen = p.main().screen()->availableGeometry();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.main()));
    EXPECT_TRUE(screen.contains(p.main().frameGeometry()));
    auto* area = p.main().findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    QLineEdit* last = p.main().rows->txtComments[24];
    const auto shown = [&] {
        const QRect box(last->mapTo(area->viewport(), QPoint(0, 0)), last->size());
        return area->viewport()->rect().contains(box);
    };
    if (screen.height() < 700) {
        EXPECT_GT(area->verticalScrollBar()->maximum(), 0) << "the rows should scroll here";
    }
    if (area->verticalScrollBar()->maximum() > 0) { // the rows do not all fit
        EXPECT_FALSE(shown());
        for (int turn = 0; turn < 40 && !shown(); ++turn) {
            QWheelEvent wheel(QPointF(300, 100), area->viewport()->mapToGlobal(QPointF(300, 100)),
                              QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(area->viewport(), &wheel);
        }
        EXPECT_TRUE(shown());
        area->verticalScrollBar()->setValue(0);
        EXPECT_FALSE(shown());
    }
    giveFocus(p.main().rows->txtComments[23]);
    keyTo(&p.main(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), last);
    EXPECT_TRUE(shown());
    QTest::keyClicks(last, "the last one");
    ASSERT_TRUE(p.main().cmdComments());
    QList<Track> expected = makeTracks(25);
    expected[24][6] = "the last one";
    EXPECT_EQ(p.bytes("Long.txt"), catalogue::discBytes(expected));
}

// After a track of a new disc is stored, the next one is typed at once: the
// keys land in the first box that was emptied.
TEST(Screens, TheNextTrackIsTypedStraightAfterSave)
{
    for (const bool keep : {false, true}) {
        TestProgram p;
        ASSERT_TRUE(p.startWith({}));
        frmNewt* entry = newDisc(p, "Mix", "2");
        ASSERT_NE(entry, nullptr);
        entry->chkSave->setChecked(keep);
        typeTrack(entry, makeTrack("One"));
        QTRY_VERIFY_WITH_TIMEOUT(!entry->Timer1->isActive(), 2000);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClicks(focus, "Two");
        EXPECT_EQ((keep ? entry->txtTitle : entry->txtLabel)->text(), "Two") << keep;
    }
}

// Every control is reached with Tab and named for screen readers; the
// picture buttons come after the window's other controls and act on Space.
TEST(Reach, TabReachesEveryControlAndSpaceActs)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    chooseDisc(p.main(), 0);
    const auto chain = [](QWidget* window) {
        QList<QWidget*> reached;
        for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
            if (w->isVisibleTo(window) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
                !qobject_cast<QComboBox*>(w->parentWidget())) // a box's own text field
                reached.append(w);
        return reached;
    };
    const auto check = [&](QWidget* window, const QList<QWidget*>& first) {
        SCOPED_TRACE(window->metaObject()->className());
        window->show();
        const QList<QWidget*> reached = chain(window);
        EXPECT_EQ(reached.mid(0, first.size()), first);
        bool buttons = false;
        for (QWidget* w : reached) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
            const bool button = qobject_cast<PictureButton*>(w) != nullptr;
            EXPECT_TRUE(button || !buttons)
                << w->metaObject()->className() << " after the picture buttons";
            buttons = buttons || button;
        }
        EXPECT_TRUE(buttons);
    };
    check(&p.main(),
          {p.main().cmbDisc, p.main().rows->txtComments[0], p.main().rows->txtComments[1]});
    frmNewd newd(p.state(), &p.main());
    check(&newd, {newd.txtDisc, newd.txtTracks});
    frmNewt entry(p.state(), frmNewt::Mode::NewDisc, -1, &p.main());
    check(&entry, {entry.txtLabel, entry.txtProducer, entry.txtTitle, entry.txtLength,
                   entry.txtDate, entry.cmbFormat, entry.txtComments, entry.chkSave});
    frmRemove remove(p.state(), RemoveMode::Disc, &p.main());
    check(&remove, {remove.lstRemove});
    frmOption options(p.state(), &p.main());
    check(&options, {});
    frmPrint print(p.state(), &p.main());
    check(&print, {print.lstPrint, print.lstOption, print.lstSelect});

    // Space on a picture button that has the focus acts as a click.
    print.lstOption->setCurrentRow(2);
    giveFocus(print.picRight);
    QTest::keyClick(print.picRight, Qt::Key_Space);
    ASSERT_EQ(print.lstSelect->count(), 1);
    EXPECT_EQ(print.lstSelect->item(0)->text(), "Title");
}
