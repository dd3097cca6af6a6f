// Hostile input, table-driven: every disc name, count, field text and disc
// file below gets its clear message or its documented reading, and no file
// outside Data is ever read, written or deleted. (Index files: the core's
// index reading and the start-up's damaged catalogues.)
#include "support/TestProgram.h"

using catalogue::Track;

namespace {

// Everything in the program folder but Data and the settings.
QMap<QString, QByteArray> outsideData(const QString& programDir)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(programDir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile file(it.next());
        const QString relative = QDir(programDir).relativeFilePath(file.fileName());
        if (!relative.startsWith("Data") && relative != "settings.ini")
            files[relative] = file.open(QIODevice::ReadOnly) ? file.readAll() : "<dir>";
    }
    return files;
}

// Puts tempting targets beside Data; returns what is outside Data then.
QMap<QString, QByteArray> plantNeighbours(const QString& programDir)
{
    QDir(programDir).mkpath("Neighbour");
    for (const char* name :
         {"Neighbour/x.txt", "evil.txt", "index.txt", "x.txt", "Neighbour/index.txt"}) {
        QFile file(programDir + "/" + name);
        if (file.open(QIODevice::WriteOnly))
            file.write("keep me\r\n");
    }
    return outsideData(programDir);
}

} // namespace

TEST(HostileInput, DiscNamesAndCounts)
{
    const QString character = "The character '%1' (U+%2) cannot be stored in the catalogue.";
    const QString tooMany = "Discs with more than %1 tracks are unsupported.";
    // Names and counts with the message they get (%1 the name), none when the
    // disc is made.
    struct Case {
        QString message;
        QStringList names, counts = {"1"};
        int kind = 1, width = 1024;
    };
    const QList<Case> cases = {
        {"A disc name cannot contain / or \\.",
         {"../evil", "../../x", "..\\evil", "/etc/passwd", "a/b", "a\\b", "Neighbour/x", "./x",
          QString("nul") + QChar(0) + "x"}},
        {"The name '%1' is kept for the catalogue's own index.",
         {"index", "INDEX", "Index", "iNdEx"}},
        {"The name '%1' is reserved by Windows and cannot name a file.",
         {"con", "CON", "prn", "aux.x", "nul", "COM1", "com9", "LPT1", "lpt9.txt"}},
        {"A disc name cannot contain any of : * ? \" < > |",
         {"a:b", "a*b", "what?", "say \"hi\"", "<tag>", "a|b"}},
        {"A disc name cannot contain tabs or other control characters.",
         {"tab\there", "line\nbreak", "cr\rhere", "bell\x07"}},
        {character.arg("日", "65E5"), {"日本"}},
        {character.arg("\U0001F3B5", "1F3B5"), {"emoji \U0001F3B5"}},
        {character.arg("Ω", "03A9"), {"Ωmega"}},
        {"That name is too long for a file name. Please choose a shorter one.",
         {QString(10000, 'x'), QString(241, 'x'), QString(121, QChar(0xE9))}},
        {"There is already a disc named 'Rock'.", {"rock", "ROCK"}},
        {"The Data folder already holds a file named 'Left.txt'. Please choose another name.",
         {"left"}},
        {"You must give your disc a name!", {""}, {"3"}, 2},
        {"You must specify the number of tracks!", {"Mix"}, {""}, 2},
        {"Enter the number of tracks.", {"Mix"}, {"songs", "0", "-3", "-99999", "0.4"}},
        {tooMany.arg(25), {"Mix"}, {"26", "65540"}, 2},
        {tooMany.arg(19), {"Mix"}, {"20"}, 2, 800},
        {character.arg("★", "2605"), {"Mix"}, {"3 ★"}},
        {"The tab (U+0009) cannot be stored in the catalogue.", {"Mix"}, {"3\t"}},
        {"", {"Mix"}, {"19"}, 1, 800},
        {"",
         {"Vol. 2.", "Mix ", "...", "..", " lead", "Motörhead – Best Of", "Café €5", "COM10",
          "Console", "index.old", QString(240, 'x'), "x"}}};
    for (const Case& c : cases)
        for (const QString& name : c.names)
            for (const QString& count : c.counts) {
                SCOPED_TRACE(name.left(60).toStdString() + " / " + count.toStdString());
                TestProgram p(c.width);
                ASSERT_TRUE(p.startWith({{"Rock", {makeTrack("A")}}}));
                p.putFile("Left.txt", "left behind\r\n");
                const auto planted = plantNeighbours(p.programDir());
                const QByteArray index = p.bytes("index.txt");
                p.hooks().messagesShown.clear();
                inDialog<frmNewd>(p.main().picNewd, [&](frmNewd& d) {
                    // A refusal gives the focus to the box at fault.
                    QLineEdit* box = name.isEmpty() || count == "1" ? d.txtDisc : d.txtTracks;
                    d.txtDisc->setText(name);
                    d.txtTracks->setText(count);
                    (box == d.txtDisc ? d.txtTracks : d.txtDisc)->setFocus();
                    click(d.picSave);
                    if (!c.message.isEmpty()) {
                        EXPECT_EQ(d.focusWidget(), box);
                    }
                });
                EXPECT_EQ(outsideData(p.programDir()), planted);
                if (c.message.isEmpty()) {
                    ASSERT_NE(p.main().trackEntry(), nullptr) << p.lastMessage().toStdString();
                    typeTrack(p.main().trackEntry(), makeTrack("Song"));
                    EXPECT_EQ(p.bytes(name + ".txt"), catalogue::discBytes({makeTrack("Song")}));
                    EXPECT_EQ(p.bytes("index.txt"),
                              catalogue::indexBytes({{"Rock", "1"}, {name, count}}));
                    continue;
                }
                EXPECT_EQ(p.messageTexts(), QStringList{QString(c.message).replace("%1", name)});
                EXPECT_EQ(p.lastKind(), c.kind);
                EXPECT_EQ(p.main().trackEntry(), nullptr);
                // Nothing is written or made in Data.
                EXPECT_EQ(p.bytes("index.txt") + p.bytes("Left.txt"), index + "left behind\r\n");
                EXPECT_EQ(QDir(p.dataPath("")).entryList(QDir::Files | QDir::Hidden).size(), 4);
            }
}

TEST(HostileInput, FieldTexts)
{
    const QString character = "The character '%1' (U+%2) cannot be stored in the catalogue.";
    // Texts in any field: what is stored, or the message they get.
    struct Case {
        QString typed, stored, message = {};
    };
    const QList<Case> cases = {
        {"pasted\r\nbreak\r\n", "pasted break "},
        {"lf\nonly\rcr", "lf only cr"},
        {"tab\there", "tab here"},
        {QString("nul") + QChar(0) + "kept", "nul kept"},
        {QString("next") + QChar(0x85) + QChar(0x2028) + "line", "next  line"},
        {"日本語", "", character.arg("日", "65E5")},
        {"\U0001F3B5", "", character.arg("\U0001F3B5", "1F3B5")},
        {"Ω", "", character.arg("Ω", "03A9")},
        {QString("zero") + QChar(0x200B) + "width", "",
         "The invisible character U+200B cannot be stored in the catalogue."},
        {QString(100000, 'y'), QString(100000, 'y')},
        {"Motörhead – «Best» ©", "Motörhead – «Best» ©"},
        {"", ""},
        {"   ", "   "},
        {QChar(0x81) + QString("undefined byte"), QChar(0x81) + QString("undefined byte")}};
    for (int field = 0; field < 7; ++field)
        for (const Case& c : cases) {
            SCOPED_TRACE(QString("field %1: %2").arg(field).arg(c.typed.left(20)).toStdString());
            TestProgram p;
            ASSERT_TRUE(p.startWith({}));
            frmNewt* entry = newDisc(p, "Mix", "1");
            ASSERT_NE(entry, nullptr);
            Track track = makeTrack("Song");
            track[field] = c.typed;
            typeTrack(entry, track);
            const QString said =
                field == 2 && c.typed.isEmpty() ? "You must enter a title." : c.message;
            if (said.isEmpty()) {
                track[field] = c.stored;
                EXPECT_EQ(p.bytes("Mix.txt"), catalogue::discBytes({track}));
                EXPECT_EQ(catalogue::readDiscFile(p.dataPath("Mix.txt"), 1).tracks, QList{track});
                continue;
            }
            EXPECT_EQ(messagesWithKinds(p), QStringList{"1 " + said});
            EXPECT_EQ(p.bytes("Mix.txt"), QByteArray());
            // The entry stays, with the focus in the box at fault.
            EXPECT_TRUE(entry->isVisible());
            const QWidget* box = entry->boxes()[field];
            EXPECT_TRUE(entry->focusWidget() == box || entry->focusWidget() == box->parentWidget());
        }
}
