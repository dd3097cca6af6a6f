#include "support/TestProgram.h"

using catalogue::Track;

namespace {

QByteArray withComment(QList<Track> tracks, int row, const QString& comment)
{
    tracks[row][6] = comment;
    return catalogue::discBytes(tracks);
}

// A cell marked as a search hit.
bool marked(QWidget* cell)
{
    return cell->property("marked").toBool();
}

enum Route { Click, Key, KeyInAComment, KeyInTheNavigator };

// A command by its button, or by its Ctrl key typed into the main window, a
// comment box or the navigator, each modal window it opens left as its user
// would: the windows opened, the messages shown, "navigator" when that shows.
QString outcome(TestProgram& p, PictureButton* button, Qt::Key key, Route route)
{
    QStringList seen;
    QPointer<QWidget> last;
    QTimer leave;
    QObject::connect(&leave, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == last)
            return;
        seen << (last = modal)->objectName();
        if (auto* options = qobject_cast<frmOption*>(modal))
            click(options->picCancel); // the options take no keys
        else                           // the about box closes on Enter only
            keyTo(modal, qobject_cast<frmDialog*>(modal) ? Qt::Key_Return : Qt::Key_Escape);
    });
    leave.start(5);
    p.hooks().messagesShown.clear();
    frmNavi* navi = p.main().navigator();
    if (navi)
        navi->setVisible(route == KeyInTheNavigator);
    QWidget* target = route == KeyInAComment       ? p.main().rows->txtComments[0]
                      : route == KeyInTheNavigator ? static_cast<QWidget*>(navi->lstNavi)
                                                   : &p.main();
    if (route == Click) {
        click(button);
    } else {
        giveFocus(target);
        QTest::keyClick(target, key, Qt::ControlModifier);
    }
    seen << messagesWithKinds(p);
    if (navi && navi->isVisible() && route != KeyInTheNavigator)
        seen << "navigator";
    return seen.join(" | ");
}

} // namespace

TEST(Commands, EachRouteOfEachCommandWithItsPreconditions)
{
    // The discs (name, tracks in the file, count in the index) and the one shown.
    const QList<std::tuple<QString, QList<std::tuple<QString, int, int>>, int>> states = {
        {"an empty catalogue", {}, -1},
        {"no disc chosen", {{"Rock", 2, 2}}, -1},
        {"24 tracks shown", {{"Rock", 2, 2}, {"Almost", 24, 24}}, 1},
        {"25 tracks shown", {{"Full", 25, 25}}, 0},
        {"a short file shown", {{"Cut", 2, 3}}, 0},
    };
    const QString create = "1 You must first create a disc.";
    const QString choose = "1 You must first choose a disc.";
    const QString cut = "1 The file of the disc 'Cut' holds fewer tracks than the catalogue "
                        "lists, so its tracks cannot be changed.";
    const auto all = [](const QString& does) { return QStringList(5, does); };
    const QList<std::tuple<PictureButton * frmMain::*, Qt::Key, QStringList>> commands = {
        {&frmMain::picNewd, Qt::Key_D, all("frmNewd")},
        {&frmMain::picNewt,
         Qt::Key_N,
         {create, choose, "frmNewt", "3 Discs with more than 25 tracks are unsupported.", cut}},
        {&frmMain::picEdit, Qt::Key_E, {create, choose, "frmRemove", "frmRemove", cut}},
        {&frmMain::picRemd, Qt::Key_R, all("frmRemove")},
        {&frmMain::picRemt, Qt::Key_T, {create, choose, "frmRemove", "frmRemove", cut}},
        {&frmMain::picPrint, Qt::Key_P, all("frmPrint")},
        {&frmMain::picSearch, Qt::Key_S, all("6 Search for what?")},
        {&frmMain::picNavi, Qt::Key_C, {"", "navigator", "navigator", "navigator", "navigator"}},
        {&frmMain::picOption, Qt::Key_unknown, all("frmOption")},
        {&frmMain::picInfo, Qt::Key_unknown, all("frmDialog")},
    };
    for (int s = 0; s < states.size(); ++s) {
        const auto& [state, discs, chosen] = states[s];
        TestProgram p;
        QList<catalogue::DiscRow> index;
        for (const auto& [name, tracks, count] : discs) {
            p.putDisc(name, makeTracks(tracks));
            index.append({name, QString::number(count)});
        }
        p.putIndex(index);
        p.answer({"no"}); // a short file stays as it is
        ASSERT_TRUE(p.start());
        chooseDisc(p.main(), chosen);
        p.answer({});
        const QString view = mainView(p);
        for (const auto& [button, key, does] : commands)
            for (const Route route : {Click, Key, KeyInAComment, KeyInTheNavigator}) {
                if ((route != Click && key == Qt::Key_unknown) ||
                    (route == KeyInAComment && s < 2) ||
                    (route == KeyInTheNavigator && (s == 0 || key == Qt::Key_C)))
                    continue;
                EXPECT_EQ(outcome(p, p.main().*button, key, route), does[s])
                    << (p.main().*button)->accessibleName().toStdString() << " by route " << route
                    << " with " << state.toStdString();
                EXPECT_EQ(mainView(p), view);
            }
    }
}

// The catalogue's folder as it lies on disk, and the settings key by key.
QMap<QString, QByteArray> allFiles(TestProgram& p)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(p.programDir(), {"*.txt"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files.insert(it.filePath(), file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
    }
    const QSettings settings(p.state().environment().settingsFile, QSettings::IniFormat);
    for (const QString& key : settings.allKeys())
        files.insert("settings: " + key, settings.value(key).toString().toUtf8());
    return files;
}

// Each change shows in the chooser, the navigator and the rows, drawn once;
// Ctrl+Z in the main window takes back every step and Ctrl+Y (then
// Ctrl+Shift+Z) in the navigator does each again: the files as they were, byte for byte, shown
// everywhere.
TEST(Commands, EachChangeIsDrawnOnceWhereverItShows)
{
    const QList<std::tuple<const char*, std::function<void(TestProgram&)>, QString>> changes = {
        {"new disc", [](TestProgram& p) { typeTrack(newDisc(p, "Mix", "1"), makeTrack("M1")); },
         "Rock Jazz Mix / Mix | chooser 2 | disc 2 | 1 tracks, 1 rows / M1"},
        {"new track",
         [](TestProgram& p) {
             inDialog<frmNewt>(p.main().picNewt, [](frmNewt& e) { typeTrack(&e, makeTrack("N")); });
         },
         "Rock Jazz / Rock | chooser 0 | disc 0 | 3 tracks, 3 rows / T1"},
        {"edit track",
         [](TestProgram& p) {
             removeDialog(p, p.main().picEdit, 0);
             typeTrack(p.main().trackEntry(), makeTrack("E"));
         },
         "Rock Jazz / Rock | chooser 0 | disc 0 | 2 tracks, 2 rows / E"},
        {"remove track", [](TestProgram& p) { removeDialog(p, p.main().picRemt, 0); },
         "Rock Jazz / Rock | chooser 0 | disc 0 | 1 tracks, 1 rows / T2"},
        {"remove disc", [](TestProgram& p) { removeDialog(p, p.main().picRemd, 1); },
         "Rock / Rock | chooser 0 | disc 0 | 2 tracks, 2 rows / T1"},
        {"remove both discs",
         [](TestProgram& p) {
             removeDialog(p, p.main().picRemd, 0);
             removeDialog(p, p.main().picRemd, 0);
         },
         " /  | chooser -1 | disc -1 | 0 tracks, 0 rows / T1"},
        {"typed comment",
         [](TestProgram& p) { QTest::keyClicks(p.main().rows->txtComments[1], "typed"); },
         "Rock Jazz / Rock | chooser 0 | disc 0 | 2 tracks, 2 rows / T1 / typed"},
    };
    const QString first = "Rock Jazz / Rock | chooser 0 | disc 0 | 2 tracks, 2 rows / T1";
    for (const auto& [what, change, seen] : changes) {
        TestProgram p;
        ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}, {"Jazz", makeTracks(1)}}));
        chooseDisc(p.main(), 1);
        chooseDisc(p.main(), 0);
        p.main().picNavi_MouseUp(1, 0, 0, 0);
        frmNavi* navi = p.main().navigator();
        const auto view = [&p, navi, what = what] {
            QStringList chooser;
            for (int i = 0; i < p.main().cmbDisc->count(); ++i)
                chooser << p.main().cmbDisc->itemText(i);
            EXPECT_EQ(navi->lstNavi->model()->rowCount(), chooser.size()) << what;
            EXPECT_EQ(navi->height(), 16 * chooser.size() + 82) << what;
            const QString comment = p.main().rows->txtComments[1]->text();
            return chooser.join(' ') + " / " + mainView(p) + " / " +
                   p.main().rows->lblTitle[0]->text() + (comment.isEmpty() ? "" : " / " + comment);
        };
        const auto before = allFiles(p);
        const int redraws = p.main().redraws();
        change(p);
        EXPECT_EQ(view(), seen) << what;
        EXPECT_EQ(p.main().redraws(), redraws + (seen.startsWith(' ')               ? 2
                                                 : QString(what) == "typed comment" ? 0
                                                                                    : 1))
            << what;
        auto after = allFiles(p);
        p.answer({"", "", "", ""}); // none is to be asked
        QWidget* box = p.main().rows->txtComments[1];
        if (QString(what) == "typed comment") // written by Ctrl+Z, before it takes it back
            after[p.dataPath("Rock.txt")] = withComment(makeTracks(2), 1, "typed");
        giveFocus(box->isVisible() ? box : &p.main());
        p.hooks().messagesShown.clear();
        for (int k = 0; k < 3 && (p.state().catalogue().canUndo() || p.state().CommentsDirty); ++k)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(allFiles(p), before) << what;
        EXPECT_EQ(view(), QString(what) == "remove disc"
                              ? "Rock Jazz / Jazz | chooser 1 | disc 1 | 1 tracks, 1 rows / T1"
                              : first)
            << what;
        giveFocus(navi->lstNavi);
        for (int k = 0; k < 3 && p.state().catalogue().canRedo(); ++k)
            QTest::keyClick(navi->lstNavi, k ? Qt::Key_Z : Qt::Key_Y,
                            Qt::ControlModifier | (k ? Qt::ShiftModifier : Qt::NoModifier));
        EXPECT_EQ(allFiles(p), after) << what;
        EXPECT_EQ(view(), seen) << what;
        EXPECT_EQ(p.messageTexts(), QStringList()) << what;
    }
}

// Typed comments are written first by each way to quit and by choosing another
// disc. A write that fails keeps the comment, the disc and the program.
TEST(Comments, WrittenAtQuitCloseAndDiscChangeAndKeptWhenTheWriteFails)
{
    const QList<std::pair<QString, std::function<void(TestProgram&)>>> ways = {
        {"Quit", [](TestProgram& p) { click(p.main().picQuit); }},
        {"Ctrl+W", [](TestProgram& p) { keyTo(&p.main(), Qt::Key_W, Qt::ControlModifier); }},
        {"window system", [](TestProgram& p) { closeByWindowSystem(&p.main()); }},
        {"another disc", [](TestProgram& p) { chooseDisc(p.main(), 1); }},
    };
    for (const auto& [way, act] : ways)
        for (const bool typed : {false, true}) {
            TestProgram p;
            ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}, {"Jazz", makeTracks(3)}}));
            const QByteArray jazz = p.bytes("Jazz.txt");
            chooseDisc(p.main(), 0);
            const QString rock = mainView(p);
            QSignalSpy ended(&p.main(), &frmMain::programEnded);
            QLineEdit* box = p.main().rows->txtComments[1];
            giveFocus(box);
            if (typed) {
                QTest::keyClicks(box, "nice one");
                p.hooks().writeFaultAfterBytes = 3;
                act(p);
                EXPECT_TRUE(ended.isEmpty() && p.main().isVisible()) << way.toStdString();
                EXPECT_EQ(QStringList({mainView(p), box->text()}), QStringList({rock, "nice one"}));
                EXPECT_EQ(messagesWithKinds(p).replaceInStrings(p.programDir(), "<dir>"),
                          QStringList{"1 Could not save '<dir>/Data/Rock.txt': the disk is full. "
                                      "The file was left as it was."});
                EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(makeTracks(2)));
                p.hooks().writeFaultAfterBytes = -1;
                p.hooks().messagesShown.clear();
            }
            act(p);
            EXPECT_EQ(ended.count(), int(way != "another disc")) << way.toStdString();
            EXPECT_TRUE(p.hooks().messagesShown.isEmpty());
            EXPECT_EQ(p.bytes("Rock.txt"), withComment(makeTracks(2), 1, typed ? "nice one" : ""));
            EXPECT_EQ(p.bytes("Jazz.txt"), jazz);
            EXPECT_EQ(p.state().CommentsDirty, 0);
            if (ended.isEmpty()) { // the box, still with the focus, shows Jazz's comment
                EXPECT_EQ(mainView(p) + box->text(),
                          "Jazz | chooser 1 | disc 1 | 3 tracks, 3 rows");
                box->clearFocus();
                EXPECT_EQ(p.state().CommentsDirty, 0);
            }
        }
}

// A moved focus or a letter taken back changes nothing, a character the file
// cannot hold is refused, a line break becomes a blank, an update (Okay in the
// options) keeps the typed comment, and a pause in the typing writes it.
TEST(Comments, WhatTheBoxesTakeAndWhenItIsWritten)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    chooseDisc(p.main(), 0);
    p.main().commentTimer()->setInterval(3600 * 1000); // until the pause below
    QLineEdit* box = p.main().rows->txtComments[1];
    giveFocus(p.main().rows->txtComments[0]);
    giveFocus(box);
    QTest::keyClicks(box, "x");
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_TRUE(p.main().cmdComments());
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(makeTracks(2)));
    QTest::keyClicks(box, "caf");
    for (const char* typed : {"é", "日"})
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString::fromUtf8(typed), {});
    EXPECT_EQ(messagesWithKinds(p),
              QStringList{QString::fromUtf8(
                  "1 The character '日' (U+65E5) cannot be stored in the catalogue.")});
    box->insert("\nbreak"); // as a paste would
    inDialog<frmOption>(p.main().picOption, [](frmOption& d) { click(d.picOkay); });
    EXPECT_EQ(box->text(), QString::fromUtf8("café break"));
    EXPECT_EQ(p.state().CommentsDirty, 1);
    p.main().commentTimer()->setInterval(20);
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClicks(box, "!");
    const QByteArray written = withComment(makeTracks(2), 1, QString::fromUtf8("café break!"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.bytes("Rock.txt") == written; }, 5000));
    EXPECT_EQ(p.state().CommentsDirty, 0);
}

// Changed by another program under a typed comment, the disc is read again
// with the comment waiting in its box; the next write keeps both changes.
TEST(Comments, AFileChangedOutsideKeepsTheTypedComment)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    chooseDisc(p.main(), 0);
    QTest::keyClicks(p.main().rows->txtComments[0], "mine");
    QList<Track> theirs = makeTracks(2);
    theirs[1][2] = "Retitled";
    p.putDisc("Rock", theirs);
    EXPECT_FALSE(p.main().cmdComments());
    EXPECT_TRUE(p.lastMessage().contains("Rock.txt' was changed outside Platterbook"));
    EXPECT_EQ(p.bytes("Rock.txt"), catalogue::discBytes(theirs));
    EXPECT_EQ(p.main().rows->lblTitle[1]->text(), "Retitled");
    EXPECT_TRUE(p.main().cmdComments());
    EXPECT_EQ(p.bytes("Rock.txt"), withComment(theirs, 0, "mine"));
}

// Every letter case in every field, in catalogue order (a disc's name is not in
// its file); a disc whose file cannot be read is passed over.
TEST(Search, HitsMessagesAndFailures)
{
    QList<Track> rock = makeTracks(3), jazz = {makeTrack("Blue")};
    rock[0][2] = "Rock Me";
    rock[2][6] = "pure ROCK";
    jazz[0][1] = "rockers";
    TestProgram p;
    p.putDisc("Rock", rock);
    p.putDisc("Jazz", jazz);
    p.putIndex({{"Rock", "3"}, {"Gone", "1"}, {"Jazz", "1"}});
    ASSERT_TRUE(p.start());
    const QString prompt = "6 Search for what?";
    const QList<std::tuple<QStringList, QStringList, QList<qint64>>> searches = {
        {{"rock"}, {prompt}, {1, 1, 3}},
        {{"blue"}, {prompt}, {3, 3}}, // title and label
        {{"anything"}, {prompt, "2 Text not found."}, {}},
        {{}, {prompt}, {}}, // cancelled or left empty
    };
    for (const auto& [answer, messages, hits] : searches) {
        p.hooks().messagesShown.clear();
        p.answer(answer);
        EXPECT_EQ(p.main().Searchsub(), !hits.isEmpty());
        EXPECT_EQ(messagesWithKinds(p), messages);
        QList<qint64> discs;
        for (const auto& hit : p.state().SearchHits)
            discs << hit[0];
        EXPECT_EQ(discs, hits) << answer.value(0).toStdString();
    }
}

TEST(Search, ShowMarksTheHitAndCloseRemovesTheMark)
{
    TestProgram p;
    QList<Track> jazz = makeTracks(3);
    jazz[1][6] = "so blue";
    jazz[2][0] = "Blue Note";
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}, {"Jazz", jazz}}));
    chooseDisc(p.main(), 0);
    p.answer({"BLUE"});
    inDialog<frmRemove>(p.main().picSearch, [&p](frmRemove& dialog) {
        ASSERT_EQ(dialog.lstRemove->count(), 2);
        EXPECT_EQ(dialog.lstRemove->item(0)->text(), frmRemove::hitLine(1, "BLUE", "Jazz"));
        dialog.lstRemove->setCurrentRow(0);
        const int loads = p.main().redraws();
        keyTo(&dialog, Qt::Key_Return);
        EXPECT_EQ(p.main().lblDisc->text() + p.main().cmbDisc->currentText(), "JazzJazz");
        EXPECT_TRUE(marked(p.main().rows->txtComments[1])); // line 14: track 2's comments
        dialog.lstRemove->setCurrentRow(1);
        click(dialog.picShow);
        EXPECT_FALSE(marked(p.main().rows->txtComments[1]));
        EXPECT_TRUE(marked(p.main().rows->lblLabel[2])); // line 15: track 3's label
        EXPECT_EQ(p.main().redraws(), loads + 1) << "the hit's disc is loaded once";
        keyTo(&dialog, Qt::Key_Escape); // Close
    });
    EXPECT_FALSE(marked(p.main().rows->lblLabel[2]));
    EXPECT_EQ(p.main().lblDisc->text(), "Jazz");
}

// A double click or Enter shows the chosen disc, once; Ctrl+C and Escape do
// nothing; Close hides the navigator.
TEST(Navigator, MouseAndKeys)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith(
        {{"Disc 1", makeTracks(1)}, {"Disc 2", makeTracks(1)}, {"Disc 3", makeTracks(1)}}));
    frmNavi* navi = p.main().navigator();
    QListView* list = navi->lstNavi;
    const auto choose = [list](int row) { list->setCurrentIndex(list->model()->index(row, 0)); };
    navi->show();
    giveFocus(list);
    QGuiApplication::clipboard()->setText("kept");
    choose(1);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    EXPECT_EQ(mainView(p), " | chooser -1 | disc -1 | 0 tracks, 0 rows");
    EXPECT_TRUE(navi->isVisible() && p.hooks().messagesShown.isEmpty());

    const auto doubleClick = [list, choose](int row) {
        choose(row);
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };
    doubleClick(1);
    EXPECT_EQ(mainView(p), "Disc 2 | chooser 1 | disc 1 | 1 tracks, 1 rows");
    const int loads = p.main().redraws();
    doubleClick(1); // the disc on show is not loaded again
    EXPECT_EQ(p.main().redraws(), loads);
    choose(0);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(p.main().lblDisc->text(), "Disc 1");
    list->clearSelection();
    list->setCurrentIndex({});
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(p.main().lblDisc->text(), "Disc 1");
    click(navi->picClose);
    EXPECT_FALSE(navi->isVisible());
}
