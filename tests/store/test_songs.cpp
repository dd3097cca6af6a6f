// When two tracks are the same song, and the duplicates of a catalogue.
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
    for (const auto& [artist1, title1, artist2, title2, same] : pairs)
        EXPECT_EQ(songs::key({"L1", artist1, title1, "1999", "4:05", "CD", "c"}) ==
                      songs::key({"L2", artist2, title2, "", "", "", ""}),
                  same)
            << artist1.toStdString() << " / " << title1.toStdString();
}

TEST(Songs, DuplicatesInCatalogueOrder)
{
    const QList<catalogue::DiscTracks> discs = {
        {"Rock", {{"", "Ana", "Uno", "", "3:00", "", ""}, {"", "Bo", "Dos", "", "2:00", "", ""}}},
        {"Jazz", {{"", "Bo", "DOS", "", "2:01", "", ""}}},
        {"Mix", {{"", "ana", "uno!", "", "", "", ""}, {"", "Bo", "Dos", "", "2:00", "", ""}}},
    };
    EXPECT_EQ(
        songs::duplicateLines(discs),
        (QStringList{"Rock, track 1: Ana \u2013 Uno (3:00)", "Mix, track 1: ana \u2013 uno! ()", "",
                     "Rock, track 2: Bo \u2013 Dos (2:00)", "Jazz, track 1: Bo \u2013 DOS (2:01)",
                     "Mix, track 2: Bo \u2013 Dos (2:00)"}));
    EXPECT_EQ(songs::duplicateLines({discs.at(0)}), QStringList());
}
