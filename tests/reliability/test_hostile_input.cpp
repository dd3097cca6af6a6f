// Hostile input, table-driven: every disc name, field text, index file and
// disc file below gets its clear message or its documented reading, and no
// file outside Data is ever read, written or deleted.
#include "editing/EditingHelpers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QTest>

#include <gtest/gtest.h>

using catalogue::Track;

namespace {

// Everything in the program folder but Data and the settings: names, sizes
// and contents. The neighbours are put there to be tempting targets.
QMap<QString, QByteArray> outsideData(const QString& programDir)
{
    QMap<QString, QByteArray> snapshot;
    QDirIterator it(programDir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(programDir).relativeFilePath(path);
        if (relative.startsWith("Data") || relative == "settings.ini")
            continue;
        QFile file(path);
        snapshot[relative] =
            file.open(QIODevice::ReadOnly)
                ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                : QByteArray("<dir>");
    }
    return snapshot;
}

void plantNeighbours(const QString& programDir)
{
    QDir(programDir).mkpath("Neighbour");
    for (const char* name :
         {"Neighbour/x.txt", "evil.txt", "index.txt", "x.txt", "Neighbour/index.txt"}) {
        QFile file(programDir + "/" + QString::fromUtf8(name));
        file.open(QIODevice::WriteOnly);
        file.write("keep me\r\n");
    }
}

int g_tried = 0; // hostile inputs tried, for the figures

// Tells, after the tests of this run, how many hostile inputs they tried.
class TriedCount : public ::testing::Environment
{
public:
    void TearDown() override
    {
        if (g_tried > 0)
            std::printf("hostile inputs tried: %d\n", g_tried);
    }
};
[[maybe_unused]] const auto* const g_count = ::testing::AddGlobalTestEnvironment(new TriedCount);

} // namespace

TEST(HostileInput, DiscNames)
{
    // Each refused name with the message it gets.
    const QString sep = "A disc name cannot contain / or \\.";
    const QString forbidden = "A disc name cannot contain any of : * ? \" < > |";
    const QString control = "A disc name cannot contain tabs or other control characters.";
    const QString tooLong = "That name is too long for a file name. Please choose a shorter one.";
    const auto index = [](const char* name) {
        return QString("The name '%1' is kept for the catalogue's own index.").arg(name);
    };
    const auto reserved = [](const char* name) {
        return QString("The name '%1' is reserved by Windows and cannot name a file.").arg(name);
    };
    const auto character = [](const char* c) {
        return QString("The character '%1' cannot be stored in the catalogue.")
            .arg(QString::fromUtf8(c));
    };
    const QList<std::pair<QString, QString>> refused = {
        {"../evil", sep},
        {"../../x", sep},
        {"..\\evil", sep},
        {"/etc/passwd", sep},
        {"a/b", sep},
        {"a\\b", sep},
        {"Neighbour/x", sep},
        {"./x", sep},
        {QString("nul") + QChar(0) + "x", sep},
        {"index", index("index")},
        {"INDEX", index("INDEX")},
        {"Index", index("Index")},
        {"iNdEx", index("iNdEx")},
        {"con", reserved("con")},
        {"CON", reserved("CON")},
        {"prn", reserved("prn")},
        {"aux.x", reserved("aux.x")},
        {"nul", reserved("nul")},
        {"COM1", reserved("COM1")},
        {"com9", reserved("com9")},
        {"LPT1", reserved("LPT1")},
        {"lpt9.txt", reserved("lpt9.txt")},
        {"a:b", forbidden},
        {"a*b", forbidden},
        {"what?", forbidden},
        {"say \"hi\"", forbidden},
        {"<tag>", forbidden},
        {"a|b", forbidden},
        {"tab\there", control},
        {"line\nbreak", control},
        {"cr\rhere", control},
        {"bell\x07", control},
        {QString::fromUtf8("日本"), character("日")},
        {QString::fromUtf8("emoji \U0001F3B5"), character("\U0001F3B5")},
        {QString::fromUtf8("Ωmega"), character("Ω")},
        {QString(10000, 'x'), tooLong},
        {QString(241, 'x'), tooLong},
        {QString(121, QChar(0xE9)), tooLong},
        {"rock", "There is already a disc named 'Rock'."},
        {"ROCK", "There is already a disc named 'Rock'."},
        {"left", "The Data folder already holds a file named 'Left.txt'. Please choose another "
                 "name."}};
    const QStringList accepted = {"Vol. 2.",
                                  "Mix ",
                                  "...",
                                  "..",
                                  " lead",
                                  QString::fromUtf8("Motörhead – Best Of"),
                                  QString::fromUtf8("Café €5"),
                                  "COM10",
                                  "Console",
                                  "index.old",
                                  QString(240, 'x'),
                                  "x"};
    ASSERT_GE(refused.size() + accepted.size(), 40);

    // Starts a program with one disc and a file left behind in Data, and
    // tries the name in the new disc dialog.
    auto tryName = [](TestProgram& p, const QString& name) {
        EXPECT_TRUE(p.startWith({{"Rock", {makeTrack("A")}}}));
        p.putFile("Left.txt", "left behind\r\n");
        plantNeighbours(p.programDir());
        const auto before = outsideData(p.programDir());
        newDisc(p, name, "1");
        ++g_tried;
        return before;
    };
    for (const auto& [name, message] : refused) {
        TestProgram p;
        const auto before = tryName(p, name);
        const std::string shown = name.left(60).toStdString();
        EXPECT_EQ(p.main().trackEntry(), nullptr) << shown;
        EXPECT_EQ(p.lastMessage(), message) << shown;
        EXPECT_EQ(p.lastKind(), 1) << shown;
        EXPECT_EQ(p.bytes("index.txt"), QByteArray(" 1 \r\nRock\r\n1\r\n"));
        EXPECT_EQ(p.bytes("Left.txt"), QByteArray("left behind\r\n"));
        EXPECT_EQ(QDir(p.dataPath("")).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                  (QStringList{Catalogue::lockFileName(), "Left.txt", "Rock.txt", "index.txt"}));
        EXPECT_EQ(p.state().settings().discLength(name), QString()) << shown;
        EXPECT_EQ(outsideData(p.programDir()), before) << shown;
    }
    for (const QString& name : accepted) {
        TestProgram p;
        const auto before = tryName(p, name);
        const std::string shown = name.left(60).toStdString();
        ASSERT_NE(p.main().trackEntry(), nullptr) << shown << " " << p.lastMessage().toStdString();
        typeTrack(p.main().trackEntry(), makeTrack("Song"));
        EXPECT_EQ(p.bytes(name + ".txt"), catalogue::discBytes({makeTrack("Song")})) << shown;
        EXPECT_EQ(p.bytes("index.txt"), catalogue::indexBytes({{"Rock", "1"}, {name, "1"}}));
        EXPECT_EQ(p.main().lblDisc->text(), name);
        EXPECT_EQ(outsideData(p.programDir()), before) << shown;
    }
}

TEST(HostileInput, FieldTexts)
{
    struct Case {
        QString text;
        bool stored;
    };
    const QList<Case> cases = {
        {"pasted\r\nbreak", false},
        {"lf\nonly", false},
        {"cr\ronly", false},
        {QString::fromUtf8("日本語"), false},
        {QString::fromUtf8("\U0001F3B5"), false},
        {QString::fromUtf8("Ω"), false},
        {"tab\there", true},
        {QString(100000, 'y'), true},
        {QString::fromUtf8("Motörhead – «Best» ©"), true},
        {"", true},
        {"   ", true},
        {QString(QChar(0x81)) + "undefined byte", true},
    };
    for (int field = 0; field < 7; ++field) {
        for (const Case& c : cases) {
            if (field == 2 && c.text.isEmpty())
                continue; // an empty title has its own message
            ++g_tried;
            TestProgram p;
            ASSERT_TRUE(p.startWith({}));
            newDisc(p, "Mix", "1");
            frmNewt* entry = p.main().trackEntry();
            ASSERT_NE(entry, nullptr);
            Track track = makeTrack("Song");
            track[field] = c.text;
            typeTrack(entry, track);
            if (c.stored) {
                EXPECT_EQ(catalogue::readDiscFile(p.dataPath("Mix.txt"), 1).tracks,
                          QList<Track>{track});
                EXPECT_EQ(p.bytes("Mix.txt"), catalogue::discBytes({track}));
            } else {
                EXPECT_EQ(p.lastKind(), 1);
                EXPECT_EQ(p.bytes("Mix.txt"), QByteArray()) << field;
                EXPECT_TRUE(entry->isVisible());
            }
        }
    }
}

TEST(HostileInput, IndexFiles)
{
    QByteArray garbage;
    QRandomGenerator random(7);
    for (int i = 0; i < 4096; ++i)
        garbage.append(char(random.bounded(256)));
    struct Case {
        QByteArray bytes;
        QStringList discs; // empty with ok false: refused
        bool ok;
    };
    const QList<Case> cases = {
        {garbage, {}, false},
        {"-1\r\n", {}, false},
        {"32768\r\nA\r\n1\r\n", {}, false},
        {"99999\r\n", {}, false},
        {" 3 \r\nA\r\n1\r\nB\r\n1\r\n", {}, false},
        {" 1 \r\n../Neighbour/x\r\n1\r\n", {}, false},
        {" 1 \r\n..\\evil\r\n1\r\n", {}, false},
        {" 1 \r\nindex\r\n1\r\n", {}, false},
        {"\xEF\xBB\xBF 1 \r\nA\r\n1\r\n", {}, false},
        {"one\r\n", {}, false},
        {" 2 \rA\r1\rB\r1\r", {"A", "B"}, true},
        {"2\nA\n1\nB\n1", {"A", "B"}, true},
        {" 1 \r\n..\r\n1\r\n", {".."}, true},
        {" 0 \r\nleft\r\nover\r\n", {}, true},
        {"", {}, true},
    };
    for (const Case& c : cases) {
        ++g_tried;
        TestProgram p;
        p.makeData();
        plantNeighbours(p.programDir());
        p.putFile("index.txt", c.bytes);
        const auto before = outsideData(p.programDir());
        const bool started = p.start();
        EXPECT_EQ(started, c.ok) << c.bytes.left(40).toStdString();
        if (!c.ok) {
            EXPECT_EQ(p.lastKind(), 1);
            EXPECT_TRUE(p.lastMessage().contains("index.txt"));
        } else {
            QStringList names;
            for (int i = 0; i < p.state().DiscCount; ++i)
                names << p.state().Discs.at(i).name;
            EXPECT_EQ(names, c.discs);
        }
        EXPECT_EQ(p.bytes("index.txt"), c.bytes) << "the index is never rewritten";
        EXPECT_EQ(outsideData(p.programDir()), before);
    }
}

TEST(HostileInput, DiscFiles)
{
    QByteArray binary;
    for (int i = 0; i < 2000; ++i)
        binary.append(char((i * 37) % 256));
    const QByteArray whole = catalogue::discBytes({makeTrack("A"), makeTrack("B")});
    struct Case {
        QByteArray bytes;
        int shown;
        bool asked;
    };
    const QList<Case> cases = {
        {whole.left(whole.size() / 2), 1, true},              // short: the question
        {whole + QByteArray(100000, 'z') + "\r\n", 2, false}, // long: the rest ignored
        {binary, 2, false},                                   // binary: read as text
        {QByteArray(), 0, true},
    };
    for (const Case& c : cases) {
        ++g_tried;
        TestProgram p;
        p.putFile("Odd.txt", c.bytes);
        p.putIndex({{"Odd", "2"}});
        plantNeighbours(p.programDir());
        const auto before = outsideData(p.programDir());
        ASSERT_TRUE(p.start());
        p.answer({"no"});
        p.main().cmbDisc->setCurrentIndex(0);
        EXPECT_EQ(p.state().TrackCount, c.shown);
        EXPECT_EQ(p.lastMessage() == "Do you want to make a disc from the data you have entered "
                                     "this far?",
                  c.asked);
        if (c.shown > 0)
            QTest::keyClicks(p.main().txtComments[0], "x");
        EXPECT_TRUE(p.main().cmdComments());
        if (c.asked) // a file that is not whole is never written
            EXPECT_EQ(p.bytes("Odd.txt"), c.bytes);
        else // a rewrite keeps exactly the counted records, as documented
            EXPECT_EQ(p.bytes("Odd.txt"), catalogue::discBytes(p.state().Tracks));
        EXPECT_EQ(outsideData(p.programDir()), before);
    }
}
