// When two tracks are the same song, and the duplicates of a catalogue.
#include "store/Codepage.h"
#include "store/Songs.h"

#include <gtest/gtest.h>

TEST(Songs, FoldingMatchesWhatIsWrittenAlikeOnly)
{
    // artist, title; artist, title; the same song
    const QList<std::tuple<QString, QString, QString, QString, bool>> pairs = {
        {"Mireille Dubois", "Café du Port", "MIREILLE DUBOIS", "Cafe du port", true},
        {"Die Ärzte", "Straße", "Die Arzte", "Strasse", true},
        {"Sigur Rós", "Ægir", "Sigur Ros", "AEgir", true},
        {"AC/DC", "T.N.T.", "ACDC", "TNT", true},
        {"Simon & Garfunkel", "Don't Know", "Simon and Garfunkel", "Dont Know", true},
        {"The Beatles", "Help!", "Beatles", "\"Help\"", true},
        {"  Ana   Prado ", "Verano\tSin Fin", "Ana Prado", "Verano Sin Fin", true},
        {"Bløf", "Łódź", "Blof", "Lodz", true},
        {"Sun set", "X", "Sunset", "X", false},
        {"Artist", "Song (Live)", "Artist", "Song", false},
        {"Other", "Song", "Artist", "Song", false},
        {"Theatre", "Song", "atre", "Song", false},
        {"A", "The Song", "A", "Song", false}, // only the artist loses its "The"
    };
    for (const auto& [artist1, title1, artist2, title2, same] : pairs) {
        const catalogue::Track one = {"L1", artist1, title1, "1999", "4:05", "CD", "c"};
        const catalogue::Track two = {"L2", artist2, title2, "", "", "", ""};
        EXPECT_EQ(songs::songOf(artist1, title1) == songs::songOf(artist2, title2), same)
            << artist1.toStdString() << " / " << title1.toStdString();
        // Read from a disc file's bytes, each is the same song as typed.
        if (codepage::representable(artist1 + title1 + artist2 + title2)) {
            EXPECT_EQ(songs::songsIn(catalogue::discBytes({one, two}), 2),
                      (QList<songs::Song>{songs::songOf(artist1, title1),
                                          songs::songOf(artist2, title2)}));
        }
    }
}

namespace {

// Discs as their files hold them.
QList<songs::DiscFile> files(const QList<catalogue::DiscTracks>& discs)
{
    QList<songs::DiscFile> made;
    for (const catalogue::DiscTracks& disc : discs)
        made.append({disc.name, catalogue::discBytes(disc.tracks), int(disc.tracks.size())});
    return made;
}

} // namespace

TEST(Songs, DuplicatesInCatalogueOrder)
{
    const QList<catalogue::DiscTracks> discs = {
        {"Rock", {{"", "Ana", "Uno", "", "3:00", "", ""}, {"", "Bo", "Dos", "", "2:00", "", ""}}},
        {"Jazz", {{"", "Bo", "DOS", "", "2:01", "", ""}}},
        {"Mix", {{"", "ana", "uno!", "", "", "", ""}, {"", "Bo", "Dos", "", "2:00", "", ""}}},
    };
    EXPECT_EQ(songs::duplicatesText(files(discs)).join(QString()),
              "Rock, track 1: Ana \u2013 Uno (3:00)\nMix, track 1: ana \u2013 uno! ()\n\n"
              "Rock, track 2: Bo \u2013 Dos (2:00)\nJazz, track 1: Bo \u2013 DOS (2:01)\n"
              "Mix, track 2: Bo \u2013 Dos (2:00)\n");
    EXPECT_EQ(songs::duplicatesText(files({discs.at(0)})), QStringList());
    // Only the records a disc's count takes, and no part of a record.
    QList<songs::DiscFile> counted = files(discs);
    counted[2].records = 1;
    counted[1].bytes.chop(8);
    EXPECT_EQ(songs::duplicatesText(counted).join(QString()),
              "Rock, track 1: Ana \u2013 Uno (3:00)\nMix, track 1: ana \u2013 uno! ()\n");

    // Thousands of songs, each on a disc of the first half and again on one
    // of the second; and one song on 30 discs, more than a disc's tracks.
    QList<catalogue::DiscTracks> many;
    QString expected;
    const int half = 3000;
    for (int d = 0; d < 2 * half; ++d) {
        const QString song = QString::number(d % half);
        many.append({QString::number(d), {{"", "x", song, "", "", "", ""}}});
        if (d < 30)
            many.last().tracks.append({"", "All", "Same", "", "1:00", "", ""});
    }
    for (int d = 0; d < half; ++d) {
        expected += QStringLiteral("%1%2, track 1: x \u2013 %2 ()\n%3, track 1: x \u2013 %2 ()\n")
                        .arg(d ? "\n" : "")
                        .arg(d)
                        .arg(d + half);
        if (d == 0) {
            expected += "\n";
            for (int same = 0; same < 30; ++same)
                expected += QStringLiteral("%1, track 2: All \u2013 Same (1:00)\n").arg(same);
        }
    }
    EXPECT_EQ(songs::duplicatesText(files(many)).join(QString()), expected);
}

TEST(Songs, TheCataloguesFigures)
{
    const QList<catalogue::DiscTracks> discs = {
        {"Full",
         {{"", "The Bo", "a", "1975", "40:00", "LP", ""},
          {"", "bo", "b", "1979", "39:59", "Tape", ""}}}, // 1 s over
        {"Odd",
         {{"", "Ana", "c", "79", "4:05", "", ""},
          {"", "", "d", "9999", "x", "CD", ""}}}, // no total
        {"Short", {{"", "Ána", "e", "2001", "1:01", "CD", ""}}},
    };
    EXPECT_EQ(
        songs::statisticsText(files(discs), {79 * 60, 60 * 60, 60 * 60}),
        "Discs: 3\nTracks: 5\nPlaying time: 1:21:00\nAverage disc: 0:27:00\n"
        "Time still free: 0:58:00\nTracks by format:\n  CD: 2\n  EP: 0\n  LP: 1\n"
        "  Promo: 0\n  Single: 0\n  other: 1\n  none: 1\nTracks by decade:\n  1970s: 2\n"
        "  2000s: 1\n  9990s: 1\n  unknown: 1\nMost tracks by artist:\n  The Bo: 2\n  Ana: 2\n");
    EXPECT_EQ(songs::statisticsText(files({{"Over", {{"", "", "t", "", "59:59", "", ""}}}}), {3000})
                  .split('\n')
                  .at(4),
              QString("Time still free: -0:09:59"));
}
