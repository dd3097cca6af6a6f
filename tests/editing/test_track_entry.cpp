#include "support/TestProgram.h"

using catalogue::Track;

TEST(TrackEntry, CancelOfANewDisc)
{
    const auto escape = [](frmNewt* e) { keyTo(e, Qt::Key_Escape); };
    const auto button = [](frmNewt* e) { click(e->picCancel); };
    const auto closed = [](frmNewt* e) { closeByWindowSystem(e); };
    const QByteArray dropped = " 1 \r\nRock\r\n3\r\n";
    struct Case {
        const char* name;
        int stored; // tracks stored before the cancel
        std::function<void(frmNewt*)> cancel;
        QStringList answers; // to the question, asked once a track is stored
        QByteArray index;    // afterwards
        QString shown;       // the main window's disc afterwards
    };
    const QList<Case> cases = {
        {"Escape before the first track", 0, escape, {}, dropped, "Rock"},
        {"closed before the first track", 0, closed, {}, dropped, "Rock"},
        {"yes", 2, button, {"yes"}, " 2 \r\nRock\r\n3\r\nMix\r\n2\r\n", "Mix"},
        {"no", 2, escape, {"no"}, dropped, "Rock"},
        {"closed, no", 2, closed, {"no"}, dropped, "Rock"},
        {"dismissed: the entry goes on", 2, button, {}, " 2 \r\nRock\r\n3\r\nMix\r\n5\r\n", "Rock"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestProgram p;
        ASSERT_TRUE(p.startWith({{"Rock", makeTracks(3)}}));
        chooseDisc(p.main(), 0);
        QPointer<frmNewt> entry = newDisc(p, "Mix", "5");
        ASSERT_NE(entry, nullptr);
        const QList<Track> stored = makeTracks(c.stored, "M");
        for (const Track& track : stored)
            typeTrack(entry, track);
        p.hooks().messagesShown.clear();
        p.answer(c.answers);
        c.cancel(entry);
        const QString keep = "Do you want to make a disc from the data you have entered this far?";
        EXPECT_EQ(messagesWithKinds(p), c.stored > 0 ? QStringList{"5 " + keep} : QStringList{});
        const bool goesOn = c.index.endsWith("5\r\n");
        EXPECT_EQ(p.bytes("index.txt"), c.index);
        EXPECT_EQ(p.bytes("Mix.txt"),
                  c.index == dropped ? "<missing>" : catalogue::discBytes(stored));
        EXPECT_EQ(p.main().lblDisc->text(), c.shown);
        EXPECT_EQ(p.main().cmbDisc->count(), c.shown == "Mix" || goesOn ? 2 : 1);
        EXPECT_EQ(entry && entry->isVisible(), goesOn);
        EXPECT_EQ(p.state().EntryTrack, goesOn ? 3 : 0);
        if (c.index != dropped)
            continue;
        // Dropped with its disc length; the main window shows its disc again,
        // whole, and a comment typed now lands in its file.
        EXPECT_EQ(p.state().settings().discLength("Mix"), QString());
        QTest::keyClicks(p.main().rows->txtComments[0], "ok");
        EXPECT_TRUE(p.main().cmdComments());
        EXPECT_TRUE(p.bytes("Rock.txt").contains("ok\r\n"));
    }
}

TEST(TrackEntry, CancelWhileAddingOrEditingWritesNothing)
{
    for (const bool editing : {true, false})
        for (const bool byEscape : {true, false}) {
            SCOPED_TRACE(editing * 2 + byEscape);
            TestProgram p;
            p.putDisc("Rock", makeTracks(12));
            p.putIndex({{"Rock", "12 songs"}});
            ASSERT_TRUE(p.start());
            chooseDisc(p.main(), 0);
            const auto cancel = [byEscape](frmNewt* entry) {
                entry->txtTitle->setText("X");
                byEscape ? keyTo(entry, Qt::Key_Escape) : closeByWindowSystem(entry);
            };
            if (editing) {
                removeDialog(p, p.main().picEdit, 0);
                ASSERT_NE(p.main().trackEntry(), nullptr);
                cancel(p.main().trackEntry());
            } else {
                inDialog<frmNewt>(p.main().picNewt, [&](frmNewt& e) { cancel(&e); });
            }
            EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(makeTracks(12)));
            // New track then adds a track to the disc counted in words.
            inDialog<frmNewt>(p.main().picNewt, [](frmNewt& e) {
                EXPECT_FALSE(e.chkSave->isVisible());
                typeTrack(&e, makeTrack("T13"));
            });
            EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(makeTracks(13)));
            EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n13\r\n"));
            EXPECT_EQ(p.main().rows->lblTitle[12]->text(), "T13");
            EXPECT_TRUE(p.main().rows->lblTitle[12]->isVisible());
        }
}

TEST(TrackEntry, FormatCodes)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    frmNewt* entry = newDisc(p, "Mix", "3");
    ASSERT_NE(entry, nullptr);
    const auto type = [&](const QString& typed) {
        while (entry->Timer1->isActive()) // the flash after a stored track
            entry->Timer1_Timer();
        giveFocus(entry->cmbFormat);
        entry->cmbFormat->setEditText(typed);
    };
    // Leaving the box turns a code into its format; other texts are refused
    // and the focus stays.
    const QList<std::pair<QString, QString>> codes = {
        {"l", "LP"},     {"lp", "LP"}, {"e", "EP"},  {"ep", "EP"},       {"p", "Promo"},
        {"s", "Single"}, {"c", "CD"},  {"cd", "CD"}, {"Promo", "Promo"}, {"L", ""},
        {"lP", ""},      {"LP ", ""},  {"", ""}};
    for (const auto& [typed, format] : codes) {
        SCOPED_TRACE(typed.toStdString());
        p.hooks().messagesShown.clear();
        type(typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCoreApplication::processEvents();
        const QStringList refused = {"3 You must choose from the list."};
        EXPECT_EQ(messagesWithKinds(p), format.isEmpty() ? refused : QStringList{});
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(format.isEmpty()
                        ? focus == entry->cmbFormat || entry->cmbFormat->isAncestorOf(focus)
                        : focus == entry->txtComments);
        EXPECT_EQ(entry->cmbFormat->currentText(), format.isEmpty() ? typed : format);
    }
    // Enter with the focus in the box stores the text as typed; a click on
    // Save takes the focus from the box, so the box's check comes first.
    p.hooks().messagesShown.clear();
    for (const auto& [typed, byClick] : std::initializer_list<std::pair<const char*, bool>>{
             {"l", false}, {"xyz", true}, {"l", true}}) {
        entry->txtTitle->setText("Song");
        type(typed);
        if (byClick)
            QTest::mouseClick(entry->picSave, Qt::LeftButton, {}, QPoint(5, 5));
        else
            keyTo(entry, Qt::Key_Return);
    }
    EXPECT_EQ(p.messageTexts(), QStringList{"You must choose from the list."});
    EXPECT_EQ(p.bytes("Mix.txt"), catalogue::discBytes({{"", "", "Song", "", "", "l", ""},
                                                        {"", "", "Song", "", "", "LP", ""}}));
}

// Where the song typed is already: after a pause in the typing, or when the
// title box is left; the track being edited does not count.
TEST(TrackEntry, TheLineSaysWhereTheSongIsAlready)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}, {"Jazz", makeTracks(1)}}));
    chooseDisc(p.main(), 0);
    inDialog<frmNewt>(p.main().picNewt, [](frmNewt& add) {
        QTest::keyClicks(add.txtProducer, "T1 ARTIST");
        QTest::keyClicks(add.txtTitle, "t1");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !add.lblAlso->text().isEmpty(); }, 5000));
        EXPECT_EQ(add.lblAlso->text(), "Also on Rock, track 1 and 1 more");
        EXPECT_EQ(add.lblAlso->toolTip(), "Rock, track 1\nJazz, track 1");
        EXPECT_TRUE(add.lblAlso->geometry().bottom() < add.picSave->geometry().top());
        add.txtTitle->setText("Nowhere");
        emit add.txtTitle->editingFinished();
        EXPECT_EQ(add.lblAlso->text(), "");
    });
    for (const auto& [row, line] : {std::pair{1, ""}, {0, "Also on Jazz, track 1"}}) {
        removeDialog(p, p.main().picEdit, row);
        frmNewt* edit = p.main().trackEntry();
        emit edit->txtTitle->editingFinished();
        EXPECT_EQ(edit->lblAlso->text(), line);
        click(edit->picCancel);
    }
}
