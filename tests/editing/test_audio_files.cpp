// Tracks from audio files in the track window: dropped on it or chosen with
// its button, each file's tags fill the boxes, Save stores one and fills the
// boxes from the next; and the print window's inlay and spreadsheet choices.
#include "printing/Inlay.h"
#include "support/TestProgram.h"

using catalogue::Track;

namespace {

// A second of silence as an audio file, tagged by its encoder.
QString audioFile(const QTemporaryDir& dir, const QString& name, const QStringList& tags)
{
    const QString raw = dir.filePath(name + ".raw"), path = dir.filePath(name);
    QFile file(raw);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(16000, '\0')) == 16000);
    file.close();
    const bool mp3 = name.endsWith(".mp3");
    QProcess encoder; // 16-bit mono at 8 kHz
    encoder.start(mp3 ? "lame" : "flac",
                  mp3 ? QStringList{"--quiet", "-r", "-s", "8", "-m", "m", "--bitwidth", "16"} +
                            tags + QStringList{raw, path}
                      : QStringList{"-s", "-f", "--force-raw-format", "--endian=little",
                                    "--sign=signed", "--channels=1", "--bps=16",
                                    "--sample-rate=8000"} +
                            tags + QStringList{"-o", path, raw});
    EXPECT_TRUE(encoder.waitForFinished(20000) && encoder.exitCode() == 0) << name.toStdString();
    return path;
}

void drop(QWidget* window, const QStringList& files)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& f : files)
        urls.append(QUrl::fromLocalFile(f));
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent dropped(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window, &dropped);
}

} // namespace

TEST(AudioFiles, DroppedFilesFillTheBoxesOneTrackAtATime)
{
    if (QStandardPaths::findExecutable("flac").isEmpty())
        GTEST_SKIP() << "the encoders are not here";
    QTemporaryDir dir;
    const QString first = audioFile(dir, "first.flac",
                                    {"-T", "ARTIST=Mireille Dubois", "-T", "TITLE=Café du Port",
                                     "-T", "DATE=1974", "-T", "LABEL=Kestrel Sound"});
    const QString second = audioFile(dir, "second.mp3", {"--ta", "Kenji Aoyama", "--ty", "1981"});
    const QString foreign = audioFile(dir, "foreign.flac", {"-T", "ARTIST=\u65e5\u672c"});
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    frmNewt* entry = newDisc(p, "Mix", "2");
    ASSERT_NE(entry, nullptr);
    drop(entry, {first, second, foreign}); // one more than the disc takes
    EXPECT_EQ(p.lastKind(), 2);
    EXPECT_TRUE(p.lastMessage().contains("'foreign.flac'")) << p.lastMessage().toStdString();
    EXPECT_EQ(shown(entry),
              (Track{"Kestrel Sound", "Mireille Dubois", "Café du Port", "1974", "0:01", "", ""}));
    entry->cmbFormat->setEditText("CD");
    click(entry->picSave);
    // The next file's tags; its title is its name.
    EXPECT_EQ(shown(entry), (Track{"", "Kenji Aoyama", "second", "1981", "0:01", "", ""}));
    entry->cmbFormat->setEditText("LP");
    click(entry->picSave);
    EXPECT_EQ(p.bytes("Mix.txt"),
              catalogue::discBytes(
                  {{"Kestrel Sound", "Mireille Dubois", "Café du Port", "1974", "0:01", "CD", ""},
                   {"", "Kenji Aoyama", "second", "1981", "0:01", "LP", ""}}));

    // Tags the catalogue cannot hold: the file is named, the text waits in
    // its box to be corrected.
    p.answer({});
    inDialog<frmNewt>(p.main().picNewt, [&](frmNewt& add) {
        add.chooseAudioFiles = [&] { return QStringList{foreign}; };
        click(add.picFromFiles);
        EXPECT_TRUE(p.lastMessage().contains("'foreign.flac'")) << p.lastMessage().toStdString();
        EXPECT_EQ(add.txtProducer->text(), "\u65e5\u672c");
        click(add.picSave);
        EXPECT_TRUE(add.isVisible());
    });
    EXPECT_EQ(p.state().TrackCount, 2);
}

TEST(AudioFiles, ThePrintWindowWritesTheInlayAndTheSpreadsheet)
{
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not here";
    TestProgram p;
    ASSERT_TRUE(p.startWith({{"Rock, Vol. 2", makeTracks(2)}, {"Gone", makeTracks(1)}}));
    chooseDisc(p.main(), 0);
    QTest::keyClicks(p.main().rows->txtComments[0], "typed"); // printed at once, as shown
    ASSERT_TRUE(QFile::remove(p.dataPath("Gone.txt")));
    QTemporaryDir out;
    // A write that fails is told, and the window stays.
    for (const auto& [choice, file] : {std::pair{frmPrint::InlayChoice, QString("/dev/full")},
                                       {frmPrint::InlayChoice, QString()},
                                       {frmPrint::SpreadsheetChoice, QString()}}) {
        inDialog<frmPrint>(p.main().picPrint, [&](frmPrint& print) {
            print.chooseFile = [&](const QString&, const QString& suggested, const QString&) {
                return file.isEmpty() ? out.filePath(suggested) : file;
            };
            print.lstPrint->setCurrentItem(
                print.lstPrint->findItems(choice, Qt::MatchExactly).first());
            click(print.picPrint);
            EXPECT_EQ(print.isVisible(), !file.isEmpty());
        });
    }
    EXPECT_EQ(messagesWithKinds(p).join('|'), // the disc without its file is named
              "1 The inlay could not be written to '/dev/full': No space left on device.|3 The "
              "spreadsheet was written without these tracks:\rThe file '" +
                  p.dataPath("Gone.txt") +
                  "' of the disc 'Gone' cannot be read: the file does not exist.");
    EXPECT_EQ(inlay::trackLine({"", "", "Solo", "", "", "", ""}), "Solo"); // no artist
    QFile pdf(out.filePath("Rock, Vol. 2 inlay.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    QProcess text; // the numbered tracks, as printed
    text.start("pdftotext", {pdf.fileName(), "-"});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains("1. T1 artist – T1") && printed.contains("2. T2 artist – T2"))
        << printed.toStdString();
    QFile csv(out.filePath("Platterbook catalogue.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().split('\n');
    EXPECT_EQ(lines.at(1), "\"Rock, Vol. 2\",1,T1 label,T1 artist,T1,1999,4:05,CD,typed\r");
}

// A playlist dropped on the track window stands for its tracks (missing files
// by its own text); a spreadsheet dropped on the main window adds its discs
// once the user agreed, as one step that Ctrl+Z takes back.
TEST(AudioFiles, APlaylistForItsTracksAndASpreadsheetForItsDiscs)
{
    QTemporaryDir dir;
    const auto put = [&dir](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    };
    const QString list = put("list.m3u", "#EXTINF:61.9,Ana - Uno\n/nowhere/a.flac\n#EXTINF:-1,Dos\n"
                                         "C:\\Music\\b.flac\n");
    TestProgram p;
    ASSERT_TRUE(p.startWith({}));
    frmNewt* entry = newDisc(p, "Mix", "2");
    ASSERT_NE(entry, nullptr);
    drop(entry, {list});
    EXPECT_EQ(shown(entry), (Track{"", "Ana", "Uno", "", "1:01", "", ""}));
    click(entry->picSave);
    EXPECT_EQ(shown(entry), (Track{"", "", "Dos", "", "", "", ""}));
    click(entry->picSave);
    EXPECT_EQ(p.bytes("Mix.txt"), catalogue::discBytes({{"", "Ana", "Uno", "", "1:01", "", ""},
                                                        {"", "", "Dos", "", "", "", ""}}));
    const QString sheet = put("discs.csv", "Disc,Title\r\nA,x\r\nB,y\r\nB,z\r\n");
    for (const QString answer : {"no", "yes"}) {
        p.answer({answer});
        drop(&p.main(), {sheet});
        EXPECT_EQ(messagesWithKinds(p).last(),
                  "5 Add the 2 discs with 3 tracks of 'discs.csv' to the catalogue?");
    }
    EXPECT_EQ(mainView(p), "A | chooser 1 | disc 1 | 1 tracks, 1 rows");
    EXPECT_EQ(p.bytes("B.txt"),
              catalogue::discBytes({{"", "", "y", "", "", "", ""}, {"", "", "z", "", "", "", ""}}));
    QTest::keyClick(&p.main(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(p.bytes("B.txt") + p.bytes("A.txt"), "<missing><missing>");
    EXPECT_EQ(p.main().cmbDisc->count(), 1);
}
