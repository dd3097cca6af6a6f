#include "support/TestProgram.h"

using catalogue::Track;

namespace {

// Files by their path in the program folder; "Data/" is an empty folder.
using Files = QMap<QString, QByteArray>;

QStringList listed(const Files& files)
{
    QStringList list;
    for (auto it = files.begin(); it != files.end(); ++it)
        list << it.key() + " = " + QString::fromLatin1(it.value().toPercentEncoding(" "));
    return list;
}

// A start on the files with the answers to its questions, then the discs
// chosen in turn: the main window ("ended" when the program ended), the
// messages (the program folder as <dir>) and the files after.
struct Start {
    const char* what;
    Files before;
    QStringList answers;
    QList<int> chosen;
    QString shows;
    QStringList said;
    Files after = {}; // the files before when empty
};

void check(const Start& s)
{
    TestProgram p;
    const QDir dir(p.programDir());
    for (auto it = s.before.begin(); it != s.before.end(); ++it) {
        dir.mkpath(QFileInfo(dir.filePath(it.key())).path());
        QFile file(dir.filePath(it.key()));
        if (!it.key().endsWith('/') && file.open(QIODevice::WriteOnly))
            file.write(it.value());
    }
    p.answer(s.answers);
    const bool started = p.start();
    for (const int row : s.chosen)
        chooseDisc(p.main(), row);
    EXPECT_EQ(started ? mainView(p) : "ended", s.shows) << s.what;
    EXPECT_EQ(messagesWithKinds(p).replaceInStrings(p.programDir(), "<dir>"), s.said) << s.what;
    Files after;
    for (QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        const QString name = dir.relativeFilePath(file.fileName());
        if (it.fileInfo().isDir() && QDir(file.fileName()).isEmpty())
            after[name + "/"];
        else if (it.fileInfo().isFile() && name != "settings.ini" && file.open(QIODevice::ReadOnly))
            after[name] = file.readAll();
    }
    EXPECT_EQ(listed(after), listed(s.after.isEmpty() ? s.before : s.after)) << s.what;
}

} // namespace

TEST(FirstRun, EachAnswerToTheFirstQuestion)
{
    const QString first = "5 Is this the first time you have used this program?";
    const QString madeFolder = "2 The data file named 'Index' will be placed inside a folder named "
                               "'Data' in the same folder as this application.  You can then "
                               "proceed to create your compilations!";
    const QString madeIndex = "2 The data file named 'Index' will be placed inside the folder "
                              "named 'Data'.  You can then proceed to create your compilations!";
    const QString mustFolder = "1 You must ensure the folder named 'Data' is contained within the "
                               "same folder as this application.";
    const QString mustIndex = "1 You must ensure the file named 'Index' can be found within the "
                              "folder named 'Data' in the same folder as this application.";
    const Files none, empty = {{"Data/", ""}}, made = {{"Data/index.txt", ""}};
    const QString shown = " | chooser -1 | disc 0 | 0 tracks, 0 rows";
    for (const Start& start : QList<Start>{
             {"no folder, yes", none, {"yes", ""}, {}, shown, {first, madeFolder}, made},
             {"no index, yes", empty, {"yes", ""}, {}, shown, {first, madeIndex}, made},
             {"no folder, no", none, {"no"}, {}, "ended", {first, mustFolder}, none},
             {"no folder, dismissed", none, {}, {}, "ended", {first, mustFolder}, none},
             {"no index, no", empty, {"no"}, {}, "ended", {first, mustIndex}, empty},
         })
        check(start);
}

// The program ends without writing when its catalogue is damaged; a chosen
// disc that cannot be shown says so and leaves the view as it was; a short
// file is kept, with its count corrected, only on "yes".
TEST(StartUp, DamagedCataloguesAndDiscsThatCannotBeShown)
{
    const auto files = [](const QByteArray& count, const QByteArray& odd) {
        return Files{{"Data/index.txt", " 2 \r\nRock\r\n2\r\nOdd\r\n" + count + "\r\n"},
                     {"Data/Rock.txt", catalogue::discBytes(makeTracks(2))},
                     {"Data/Odd.txt", odd}};
    };
    const QByteArray two = catalogue::discBytes(makeTracks(2)), cut = two + "Z label\r\n";
    const Files damaged = {{"Data/index.txt", " 1 \r\n../Rock\r\n1\r\n"}};
    Files counted = files("5", cut);
    counted["Data/index.txt"].replace(" 2 ", " 1 ");
    const Files gone = {{"Data/index.txt", " 1 \r\nGone\r\n2\r\n"}};
    const QString badIndex = "1 The catalogue index '<dir>/Data/index.txt' is damaged at line 2: "
                             "the disc name '../Rock' cannot be a file in the Data folder. "
                             "Platterbook will close without changing it.";
    const QString countWrong = "3 The catalogue index '<dir>/Data/index.txt' says on its first "
                               "line that it holds 1 discs, but it lists 2. All 2 are shown, and "
                               "the index gets the right count with the next change.";
    const QString aFile = "1 '<dir>/Data' is a file, but Platterbook keeps its catalogue in a "
                          "folder of that name. Please move the file away.";
    const QString badCount = "1 The disc 'Odd' cannot be shown: its number of tracks, '%1', is "
                             "not a number from 0 to 25.";
    const QString noFile = "1 The disc 'Gone' cannot be shown: its file '<dir>/Data/Gone.txt' "
                           "could not be read (the file does not exist).";
    const QString keep = "5 Do you want to make a disc from the data you have entered this far?";
    const QString rock = "Rock | chooser 0 | disc 0 | 2 tracks, 2 rows";
    const QString none = " | chooser -1 | disc -1 | 0 tracks, 0 rows";
    const QString odd = "Odd | chooser 1 | disc 1 | %1 tracks, %1 rows%2";
    for (const Start& start : QList<Start>{
             {"damaged index", damaged, {}, {}, "ended", {badIndex}},
             {"count one pair short",
              counted,
              {"", "yes"},
              {1},
              odd.arg(2).arg(""),
              {countWrong, keep},
              files("2", cut)},
             {"Data a file", {{"Data", "not a folder"}}, {}, {}, "ended", {aFile}},
             {"26 tracks", files("26", two), {}, {0, 1}, rock, {badCount.arg(26)}},
             {"65540 tracks", files("65540", two), {}, {0, 1}, rock, {badCount.arg(65540)}},
             {"no file", gone, {}, {0}, none, {noFile}},
             {"no tracks", files("0", ""), {}, {1}, odd.arg(0).arg(""), {}},
             {"short, no",
              files("5", cut),
              {"no"},
              {1},
              odd.arg(2).arg(", read-only: The disc's file holds fewer tracks than the catalogue "
                             "lists, so nothing of it can be changed. Show the disc again and "
                             "keep the tracks it holds to change it."),
              {keep}},
         })
        check(start);
}

// Run by CTest once per screen configuration of the offscreen platform: the
// screen's width chooses the track limit and the note at start-up, and the
// window comes up at its place (4005, 1800 twips), moved in as far as the
// screen needs.
TEST(ScreenFromPlatform, TheRealScreenWidthChoosesTheProfileAndThePlace)
{
    const QString best = "2 This program runs best in 1152x864 or higher.\r";
    const std::map<int, std::pair<int, QString>> profiles = {
        {640, {0, best + "The program will not run in 640x480 and will now quit."}},
        {800, {19, best + "Your compilations have been limited to 19 tracks each."}},
        {960, {22, best + "Your compilations have been limited to 22 tracks each."}},
        {1024, {25, {}}},
        {1280, {25, {}}},
    };
    const int width = primaryScreenWidth();
    const auto& [limit, note] = profiles.at(width);
    TestProgram p(width);
    p.putIndex({{"Rock", "1"}});
    EXPECT_EQ(p.start(), limit != 0) << width;
    EXPECT_EQ(messagesWithKinds(p), note.isEmpty() ? QStringList{} : QStringList{note});
    EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n1\r\n"));
    if (p.ended())
        return;
    EXPECT_EQ(p.state().TrackLimit, limit);
    QWidget& w = p.main();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QRect screen = w.screen()->availableGeometry();
    const QPoint place(std::min(267, screen.right() + 1 - w.width()),
                       std::min(120, screen.bottom() + 1 - w.height()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.frameGeometry().topLeft() == place; }, 5000))
        << w.frameGeometry().x() << "," << w.frameGeometry().y();
    EXPECT_TRUE(screen.contains(w.frameGeometry()));
}

// A second start on a catalogue says so and ends having written nothing; a
// lock from another computer opens only on "yes".
TEST(StartUp, OneProgramPerCatalogue)
{
    TestProgram first;
    ASSERT_TRUE(first.startWith({{"Rock", makeTracks(1)}}));
    const QByteArray index = first.bytes("index.txt");
    TestProgram second(first);
    EXPECT_FALSE(second.start());
    EXPECT_FALSE(second.main().isVisible());
    EXPECT_EQ(messagesWithKinds(second),
              QStringList{"1 This catalogue is already open in another Platterbook window."});
    EXPECT_EQ(first.bytes("index.txt"), index);
    for (const QString& answer : {QString("no"), QString("yes")}) {
        TestProgram p;
        p.putIndex({});
        const QByteArray foreign = "4242\nplatterbook\nstudio-pc\n";
        p.putFile(Catalogue::lockFileName(), foreign);
        p.answer({answer});
        EXPECT_EQ(p.start(), answer == "yes");
        EXPECT_EQ(messagesWithKinds(p),
                  QStringList{"5 This catalogue is open in Platterbook on the computer "
                              "'studio-pc', or was when it stopped. Open it here anyway?"});
        EXPECT_EQ(p.bytes(Catalogue::lockFileName()) == foreign, answer == "no");
    }
}

// The discs fill the chooser and the navigator, shown as its setting says,
// and none is loaded. Each disc chosen shows each track in its row, and the
// window fits the rows; names ending in blanks and dots open.
TEST(DiscView, EveryRowShowsItsTrackAndTheWindowFitsTheRows)
{
    TestProgram p;
    p.state().settings().setNavi("1");
    const QStringList names = {"One ", "Twelve.", "Full", "None"};
    ASSERT_TRUE(p.startWith({{names[0], makeTracks(1)},
                             {names[1], makeTracks(12)},
                             {names[2], makeTracks(25)},
                             {names[3], {}}}));
    frmMain& w = p.main();
    EXPECT_EQ(mainView(p), " | chooser -1 | disc -1 | 0 tracks, 0 rows");
    EXPECT_EQ(w.redraws(), 0);
    EXPECT_TRUE(w.navigator()->isVisible());
    EXPECT_EQ(w.navigator()->lstNavi->model()->rowCount(), 4);
    const std::array<std::array<QLabel*, frmMain::Rows>*, 6> columns = {
        &w.rows->lblLabel, &w.rows->lblProducer, &w.rows->lblTitle,
        &w.rows->lblDate,  &w.rows->lblLength,   &w.rows->lblFormat};
    std::map<int, int> heights; // by the number of tracks
    for (const int row : {0, 1, 2, 3}) {
        chooseDisc(w, row);
        const int shown = p.state().TrackCount;
        heights[shown] = w.height();
        EXPECT_EQ(mainView(p), QStringLiteral("%1 | chooser %2 | disc %2 | %3 tracks, %3 rows")
                                   .arg(names[row])
                                   .arg(row)
                                   .arg(shown));
        // Each cell shows its own field, whole in its tooltip.
        for (int i = 0; i < shown; ++i)
            for (int field = 0; field < 6; ++field) {
                const QLabel* cell = (*columns[field])[i];
                const QString text = makeTrack(QStringLiteral("T%1").arg(i + 1))[field];
                EXPECT_TRUE(cell->isVisible());
                EXPECT_EQ(cell->text() + " / " + cell->toolTip(), text + " / " + text)
                    << "row " << i << " field " << field;
            }
    }
    EXPECT_TRUE(heights[0] < heights[1] && heights[1] < heights[12] && heights[12] < heights[25]);
    // A four-digit year and the longest format show whole, clear of the next column.
    for (const auto& [cell, next, text] :
         {std::tuple<QLabel*, QWidget*, const char*>{w.rows->lblDate[0], w.rows->lblLength[0],
                                                     "1973"},
          {w.rows->lblFormat[0], w.rows->txtComments[0], "Single"}}) {
        EXPECT_LT(cell->fontMetrics().horizontalAdvance(text), cell->contentsRect().width());
        EXPECT_LE(cell->geometry().right(), next->geometry().left());
    }
    // The empty catalogue keeps the window's height.
    TestProgram empty;
    ASSERT_TRUE(empty.startWith({}));
    const int height = empty.main().height();
    empty.main().cmdUpdate(); // as after a search cancelled
    EXPECT_EQ(empty.main().height(), height);
}

// The total of the lengths, or after a click the time left on the disc, for
// every disc shown later too. Lengths that are not times give no total; a disc
// without a stored length gets the default, shown from the next update on.
TEST(DiscView, TotalAndRemainingTime)
{
    const QList<std::tuple<QList<Track>, QString, QString, QString>> discs = {
        {{makeTrack("A", "4:05"), makeTrack("B", "3:55")}, "01:14:00", "08:00", "-66:00"},
        {{makeTrack("A", "40:00"), makeTrack("B", "40:00")}, "1:14", "80:00", "-06:00"},
        {makeTracks(25, "T", "59:59"), "01:14:00", "1499:35", "-1425:35"},
        {{makeTrack("A", "1:00"), makeTrack("B", "1:00")}, {}, "02:00", "-72:00"},
        {{makeTrack("A", "3:00"), makeTrack("B", "")}, "01:14:00", "", ""},
        {{makeTrack("A", "3:00"), makeTrack("B", "abc")}, "01:14:00", "", ""},
        {{makeTrack("A", "3:00"), makeTrack("B", "61:00")}, "01:14:00", "", ""},
    };
    QList<std::pair<QString, QList<Track>>> catalogue;
    for (const auto& disc : discs)
        catalogue.append({QString::number(catalogue.size()), std::get<0>(disc)});
    TestProgram p;
    p.state().settings().setNavi("yes"); // only "1" shows the navigator
    ASSERT_TRUE(p.startWith(catalogue));
    EXPECT_FALSE(p.main().navigator()->isVisible());
    bool remaining = false;
    for (int row = 0; row < discs.size(); ++row) {
        const auto& [tracks, length, total, left] = discs[row];
        if (!length.isEmpty())
            p.state().settings().setDiscLength(QString::number(row), length);
        chooseDisc(p.main(), row);
        EXPECT_TRUE(p.main().rows->lblTitle[1]->isVisible());
        // A disc shown for the first time gets the default length and shows
        // its own total at once.
        if (length.isEmpty()) {
            EXPECT_EQ(p.state().settings().discLength(QString::number(row)), "01:14:00");
        }
        EXPECT_EQ(p.main().lblTotlen->text(), remaining ? left : total) << "disc " << row;
        if (!total.isEmpty()) {
            EXPECT_EQ(p.main().lblTotlen->toolTip(),
                      remaining ? "Time still free on the disc" : "Total playing time");
            // More on the disc than it holds: the time still free warns.
            EXPECT_EQ(p.main().lblTotlen->property("overfull").toBool(),
                      remaining && (row == 1 || row == 2));
        }
        if (total.isEmpty())
            continue;
        QTest::mouseClick(p.main().lblTotlen, Qt::LeftButton, {}, QPoint(3, 3));
        remaining = !remaining;
        EXPECT_EQ(p.main().lblTotlen->text(), remaining ? left : total) << "disc " << row;
        EXPECT_EQ(p.main().ShowRemaining, remaining);
    }
}
