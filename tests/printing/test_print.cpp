#include "dialogs/PictureButton.h"
#include "printing/PrintOut.h"
#include "printing/frmPrint.h"
#include "support/TestProgram.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

using catalogue::Track;

namespace {

QStringList items(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void choose(QListWidget* list, const QString& text)
{
    list->setCurrentItem(list->findItems(text, Qt::MatchExactly).value(0));
}

// Opens the print window from the main window and runs act in it; returns
// whether the window was still open after act.
bool inPrintWindow(TestProgram& p, std::function<void(frmPrint*)> act)
{
    bool open = false;
    const auto wait = onNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<frmPrint*>(modal);
        ASSERT_NE(dialog, nullptr);
        act(dialog);
        open = dialog->isVisible();
        if (open)
            keyTo(dialog, Qt::Key_Escape);
    });
    click(p.main().picPrint);
    return open;
}

// Prints to a PDF file instead of asking for a printer.
void toPdf(frmPrint* dialog, const QString& file, bool* asked = nullptr)
{
    dialog->choosePrinter = [file, asked](QPrinter& printer) {
        if (asked)
            *asked = true;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        return true;
    };
}

QString run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

TEST(PrintWindow, MovingFields)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    inPrintWindow(p, [](frmPrint* d) {
        EXPECT_EQ(items(d->lstPrint), (QStringList{"Current disc", "All discs", "Search results"}));
        for (const char* field : {"Title", "Artist", "Date", "Label"}) {
            choose(d->lstOption, field);
            click(d->picRight);
        }
        EXPECT_EQ(items(d->lstSelect), (QStringList{"Title", "Artist", "Date", "Label"}));
        EXPECT_EQ(items(d->lstOption), (QStringList{"Length", "Format", "Comments"}));
        click(d->picRight); // nothing chosen: nothing moves
        EXPECT_EQ(d->lstSelect->count(), 4);
        choose(d->lstSelect, "Date");
        click(d->picUp);
        EXPECT_EQ(items(d->lstSelect), (QStringList{"Title", "Date", "Artist", "Label"}));
        EXPECT_EQ(d->lstSelect->currentItem()->text(), "Date");
        d->lstSelect->setCurrentRow(0);
        click(d->picUp);
        d->lstSelect->setCurrentRow(3);
        click(d->picDown);
        EXPECT_EQ(items(d->lstSelect), (QStringList{"Title", "Date", "Artist", "Label"}));
        choose(d->lstSelect, "Title");
        click(d->picDown);
        EXPECT_EQ(items(d->lstSelect), (QStringList{"Date", "Title", "Artist", "Label"}));
        // Fields come back at the end, in the order they came back.
        for (const char* field : {"Artist", "Label", "Date", "Title"}) {
            choose(d->lstSelect, field);
            click(d->picLeft);
        }
        EXPECT_EQ(items(d->lstOption), (QStringList{"Length", "Format", "Comments", "Artist",
                                                    "Label", "Date", "Title"}));
        clickAt(d->picRight, QPoint(33, 5)); // outside its 32 x 25 area
        EXPECT_EQ(d->lstSelect->count(), 0);
    });
}

TEST(PrintWindow, MessagesAndWhetherTheWindowStays)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}}));
    // No method chosen.
    EXPECT_FALSE(inPrintWindow(p, [](frmPrint* d) { keyTo(d, Qt::Key_Return); }));
    EXPECT_EQ(p.lastMessage(), "You must choose a print method.");
    // The shown disc while none is shown.
    EXPECT_FALSE(inPrintWindow(p, [](frmPrint* d) {
        choose(d->lstPrint, "Current disc");
        click(d->picPrint);
    }));
    EXPECT_EQ(p.lastMessage(), "You must first choose a disc.");
    // No field chosen: the window stays.
    p.main().cmbDisc->setCurrentIndex(0);
    EXPECT_TRUE(inPrintWindow(p, [](frmPrint* d) {
        choose(d->lstPrint, "Current disc");
        click(d->picPrint);
    }));
    EXPECT_EQ(p.lastMessage(), "You must choose what data you want to print");
    EXPECT_EQ(p.lastKind(), 1);
    // A cancelled search prompt: nothing printed, the window stays.
    p.state().messagesShown.clear();
    bool asked = false;
    EXPECT_TRUE(inPrintWindow(p, [&](frmPrint* d) {
        toPdf(d, QDir::temp().filePath("never.pdf"), &asked);
        choose(d->lstPrint, "Search results");
        choose(d->lstOption, "Title");
        click(d->picRight);
        click(d->picPrint);
    }));
    EXPECT_EQ(p.messageTexts(), QStringList{"Search for what?"});
    EXPECT_FALSE(asked);
    // A cancelled printer dialog: the window stays.
    EXPECT_TRUE(inPrintWindow(p, [](frmPrint* d) {
        d->choosePrinter = [](QPrinter&) { return false; };
        choose(d->lstPrint, "Current disc");
        choose(d->lstOption, "Title");
        click(d->picRight);
        keyTo(d, Qt::Key_Return);
    }));
}

TEST(PrintWindow, AllDiscsOfAnEmptyCatalogue)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    EXPECT_FALSE(inPrintWindow(p, [](frmPrint* d) {
        choose(d->lstPrint, "All discs");
        click(d->picPrint);
    }));
    EXPECT_EQ(p.messageTexts(), QStringList{"You first need to create some discs to print!"});
    EXPECT_EQ(p.lastKind(), 3);
}

TEST(PrintWindow, PrintingOtherDiscsLeavesTheShownDiscAlone)
{
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(2)}, {"Jazz", makeTracks(3, "J")}}));
    p.main().cmbDisc->setCurrentIndex(0);
    const auto before = p.state().Tracks;
    QString laidOut;
    inPrintWindow(p, [&](frmPrint* d) {
        choose(d->lstOption, "Title");
        click(d->picRight);
        d->Psetting(3);
        laidOut = d->PrintText;
    });
    EXPECT_TRUE(laidOut.contains("J3"));
    EXPECT_EQ(p.state().Tracks, before);
    EXPECT_EQ(p.state().TrackCount, 2);
    EXPECT_EQ(p.state().DiscPath, p.dataPath("Rock.txt"));
}

TEST(PrintWindow, SearchResultsLocateTheirTracks)
{
    TestProgram p;
    QList<Track> jazz = makeTracks(3, "J");
    jazz[2][6] = "blue note";
    ASSERT_TRUE(p.startWith({{"Rock", makeTracks(1)}, {"Jazz", jazz}}));
    p.answer({"BLUE"});
    QString laidOut;
    inPrintWindow(p, [&](frmPrint* d) {
        choose(d->lstOption, "Title");
        click(d->picRight);
        d->Psetting(2);
        laidOut = d->PrintText;
    });
    EXPECT_EQ(laidOut,
              "<< Search for:   'BLUE' >>\r\r\rDisc Name:    Jazz\r\rTrack 3\rTitle:   J3" +
                  QString(8, ' '));
}

TEST(PrintOut, LongLinesWrapAtABlank)
{
    const auto measure = [](const QString& s) { return qreal(s.size()); };
    EXPECT_EQ(wrapLines("aaa bbb ccc\rdd", 8, measure), (QStringList{"aaa bbb ", "ccc", "dd"}));
    EXPECT_EQ(wrapLines("abcdefghij", 4, measure), (QStringList{"abcd", "efgh", "ij"}));
    EXPECT_EQ(wrapLines("\r\rx", 4, measure), (QStringList{"", "", "x"}));
}

TEST(PrintOut, APdfHoldsTheLinesInOrderOnA4)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    TestProgram p;
    QList<Track> many;
    for (int i = 0; i < 25; ++i)
        many.append(makeTrack(QStringLiteral("Song%1").arg(i + 1, 2, 10, QChar('0')), "3:00",
                              QString::fromUtf8("Motörhead live ") + QString(30, 'x')));
    ASSERT_TRUE(p.startWith({{"Rock", many}}));
    p.main().cmbDisc->setCurrentIndex(0);
    const QString pdf = p.programDir() + "/out.pdf";
    const bool open = inPrintWindow(p, [&](frmPrint* d) {
        toPdf(d, pdf);
        choose(d->lstPrint, "Current disc");
        for (const char* field : {"Title", "Artist", "Label", "Date", "Comments"}) {
            choose(d->lstOption, field);
            click(d->picRight);
        }
        keyTo(d, Qt::Key_Return);
    });
    EXPECT_FALSE(open);
    ASSERT_TRUE(QFile::exists(pdf));
    const QString text = run("pdftotext", {"-layout", pdf, "-"});
    qsizetype at = 0;
    for (int i = 1; i <= 25; ++i) {
        const QString heading = QStringLiteral("Track %1").arg(i);
        const qsizetype found = text.indexOf(heading, at);
        ASSERT_GE(found, 0) << heading.toStdString();
        at = found;
        EXPECT_GE(text.indexOf(QStringLiteral("Song%1").arg(i, 2, 10, QChar('0')), at), 0);
    }
    EXPECT_TRUE(text.contains(QString::fromUtf8("Motörhead live")));
    EXPECT_TRUE(text.contains("Year: 1999"));
    const QString info = run("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains("(A4)")) << info.toStdString();

    EXPECT_GE(text.count('\f'), 1) << "25 tracks fill more than one page";
    const QString fonts = run("pdffonts", {pdf});
    EXPECT_TRUE(fonts.contains("Arial") || fonts.contains("LiberationSans")) << fonts.toStdString();
}
