#include "printing/PrintOut.h"
#include "store/PrintLayout.h"
#include "support/TestProgram.h"

using catalogue::Track;

namespace {

QStringList items(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// Chooses a line of a list and presses a button.
void chooseAndClick(QListWidget* list, const QString& line, PictureButton* button)
{
    list->setCurrentItem(list->findItems(line, Qt::MatchExactly).value(0));
    if (button)
        click(button);
}

void printFields(frmPrint& d, const QStringList& fields)
{
    for (const QString& field : fields)
        chooseAndClick(d.lstOption, field, d.picRight);
}

} // namespace

TEST(PrintWindow, MovingFields)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    inDialog<frmPrint>(p.main().picPrint, [](frmPrint& d) {
        printFields(d, {"Title", "Artist", "Date", "Label"});
        click(d.picRight); // nothing chosen: nothing moves
        EXPECT_EQ(items(d.lstOption), (QStringList{"Length", "Format", "Comments"}));
        // Up and down, but not beyond either end.
        chooseAndClick(d.lstSelect, "Date", d.picUp);
        chooseAndClick(d.lstSelect, "Title", d.picUp);
        chooseAndClick(d.lstSelect, "Label", d.picDown);
        chooseAndClick(d.lstSelect, "Title", d.picDown);
        EXPECT_EQ(items(d.lstSelect), (QStringList{"Date", "Title", "Artist", "Label"}));
        EXPECT_EQ(d.lstSelect->currentItem()->text(), "Title");
        // Fields come back at the end, in the order they came back.
        for (const char* field : {"Artist", "Label", "Date", "Title"})
            chooseAndClick(d.lstSelect, field, d.picLeft);
        EXPECT_EQ(items(d.lstOption), (QStringList{"Length", "Format", "Comments", "Artist",
                                                   "Label", "Date", "Title"}));
        chooseAndClick(d.lstOption, "Title", nullptr);
        click(d.picRight, QPoint(d.picRight->width() + 1, 5)); // released outside it
        EXPECT_EQ(d.lstSelect->count(), 0);
    });
}

TEST(PrintWindow, RefusalsAndWhetherTheWindowStays)
{
    // The method chosen, whether a field is, the catalogue (2 its disc shown,
    // 1 none shown, 0 no discs); the message after its kind, and whether the
    // window stays. The printer is asked (and cancelled) only without a message.
    const QList<std::tuple<QString, bool, int, QString, bool>> cases = {
        {"", true, 2, "1 You must choose a print method.", false},
        {"Current disc", true, 1, "1 You must first choose a disc.", false},
        {"Current disc", false, 2, "1 You must choose what data you want to print", true},
        {"Search results", true, 2, "6 Search for what?", true},
        {"Current disc", true, 2, "", true},
        {"All discs", true, 0, "3 You first need to create some discs to print!", false},
        {"Catalogue statistics", false, 0, "3 You first need to create some discs to print!",
         false},
        {"Catalogue statistics", false, 2, "", true}, // needs no field
        {"Duplicate tracks", false, 2, "3 No two tracks of the catalogue are the same song.", true},
    };
    for (const auto& [method, field, discs, message, stays] : cases) {
        SCOPED_TRACE(message.toStdString());
        TestProgram p;
        ASSERT_TRUE(discs > 0 ? p.startWith({{"Rock", makeTracks(2)}}) : p.startWith({}));
        if (discs == 2)
            chooseDisc(p.main(), 0);
        bool open = false, asked = false;
        inDialog<frmPrint>(p.main().picPrint, [&](frmPrint& d) {
            d.choosePrinter = [&asked](QPrinter&) {
                asked = true;
                return false;
            };
            chooseAndClick(d.lstPrint, method, nullptr);
            printFields(d, field ? QStringList{"Title"} : QStringList{});
            click(d.picPrint);
            open = d.isVisible();
        });
        EXPECT_EQ(messagesWithKinds(p), message.isEmpty() ? QStringList{} : QStringList{message});
        EXPECT_EQ(open, stays);
        EXPECT_EQ(asked, message.isEmpty());
    }
}

// The search results hold every hit, each disc's file read once.
TEST(PrintWindow, SearchResultsHoldEveryHit)
{
    TestProgram p;
    QList<Track> rock = makeTracks(2), jazz = makeTracks(1);
    rock[0][6] = jazz[0][6] = "findme";
    ASSERT_TRUE(p.startWith({{"Rock", rock}, {"Jazz", jazz}}));
    p.answer({"findme"});
    frmPrint print(p.state(), &p.main());
    print.Searchsub = [&p] { return p.main().Searchsub(); };
    printFields(print, {"Comments"});
    print.Psetting(printing::SearchResults);
    EXPECT_TRUE(print.PrintText.contains("Disc Name:    Rock\r\rTrack 1") &&
                print.PrintText.contains("Disc Name:    Jazz\r\rTrack 1"))
        << print.PrintText.toStdString();
}

TEST(PrintOut, LongLinesWrapAtABlank)
{
    const auto measure = [](const QString& s) { return qreal(s.size()); };
    EXPECT_EQ(wrapLines("aaa bbb ccc\rdd", 8, measure), (QStringList{"aaa bbb ", "ccc", "dd"}));
    EXPECT_EQ(wrapLines("abcdefghij", 4, measure), (QStringList{"abcd", "efgh", "ij"}));
    EXPECT_EQ(wrapLines("\r\rx", 4, measure), (QStringList{"", "", "x"}));
}

TEST(PrintOut, APdfHoldsTheLinesInOrderOnA4Pages)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    TestProgram p;
    QList<Track> many = makeTracks(25);
    many[24][6] = "Motörhead";
    many[24][1] = "THE T1 Artist"; // the same song as track 1
    many[24][2] = "T1";
    ASSERT_TRUE(p.startWith({{"Rock", many}}));
    chooseDisc(p.main(), 0);
    const QString pdf = p.programDir() + "/out.pdf";
    const auto run = [](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(20000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const auto printed = [&](const QString& choice, const QStringList& fields) {
        inDialog<frmPrint>(p.main().picPrint, [&](frmPrint& d) {
            d.choosePrinter = [&pdf](QPrinter& printer) {
                EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4); // as offered
                printer.setOutputFileName(pdf);
                return true;
            };
            chooseAndClick(d.lstPrint, choice, nullptr);
            printFields(d, fields);
            keyTo(&d, Qt::Key_Return);
            EXPECT_FALSE(d.isVisible());
        });
        return run("pdftotext", {"-layout", pdf, "-"});
    };
    const QString text = printed("Current disc", {"Title", "Comments"});
    qsizetype at = 0;
    for (int i = 1; i <= 25; ++i) {
        at = text.indexOf(QString("Track %1").arg(i), at);
        ASSERT_GE(at, 0) << "in order: " << i;
    }
    EXPECT_TRUE(text.contains("Motörhead"));
    EXPECT_GE(text.count('\f'), 2) << "25 tracks fill more than one page";
    EXPECT_TRUE(run("pdfinfo", {pdf}).contains("(A4)"));
    EXPECT_EQ(printed("Duplicate tracks", {}).simplified(),
              "Duplicate tracks Rock, track 1: T1 artist – T1 (4:05) Rock, track 25: THE T1 Artist "
              "– T1 (4:05)");
    EXPECT_TRUE(printed("Catalogue statistics", {}).contains("Tracks: 25"));
    EXPECT_TRUE(messagesWithKinds(p).isEmpty());

    // To a device that takes nothing: the failure is told, and the device stays.
    inDialog<frmPrint>(p.main().picPrint, [&](frmPrint& d) {
        d.choosePrinter = [](QPrinter& printer) {
            printer.setOutputFileName("/dev/full");
            return true;
        };
        chooseAndClick(d.lstPrint, "Current disc", nullptr);
        printFields(d, {"Title"});
        keyTo(&d, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
    });
    EXPECT_EQ(messagesWithKinds(p).last(), "1 Printing failed: '/dev/full' could not be written: "
                                           "No space left on device.");
    EXPECT_FALSE(QFileInfo("/dev/full").isFile());
}
