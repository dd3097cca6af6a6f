#include "store/PrintLayout.h"

#include <gtest/gtest.h>

using catalogue::Track;
using namespace printing;

namespace {

const QString CR = "\r";
QString sp(int n)
{
    return QString(n, ' ');
}
Track track(const QString& n)
{
    return {"lab" + n, "art" + n, "tit" + n, "19" + n, "3:0" + n, "LP", "com" + n};
}

} // namespace

TEST(PrintLayout, ShownDisc)
{
    EXPECT_EQ(currentDisc({track("1"), track("2")}, {"Title", "Artist"}),
              CR + CR + "Track 1" + CR + "tit1" + sp(8) + "art1" + sp(6) + CR + CR + "Track 2" +
                  CR + "tit2" + sp(8) + "art2" + sp(6));
    // The fourth field starts a new line.
    EXPECT_EQ(currentDisc({track("1")}, {"Label", "Artist", "Title", "Date", "Length", "Format"}),
              CR + CR + "Track 1" + CR + "lab1" + sp(8) + "art1" + sp(6) + "tit1" + sp(8) + CR +
                  "Year: 191" + sp(8) + "Length: 3:01" + sp(8) + "Format: LP" + sp(8));
}

TEST(PrintLayout, CommentsAloneInEveryMethod)
{
    EXPECT_EQ(currentDisc({track("1")}, {"Comments"}), CR + CR + "Track 1" + CR + CR + "com1");
    EXPECT_EQ(allDiscs({{"Mix", {track("1"), track("2")}}}, {"Comments"}),
              CR + CR + "Mix" + CR + CR + CR + "com1" + CR + CR + "com2" + CR);
    EXPECT_EQ(searchResults("x", {{1, "Mix", 1, track("1")}}, {"Comments"}),
              "<< Search for:   'x' >>" + CR + CR + CR + "Disc Name:    Mix" + CR + CR + "Track 1" +
                  CR + "Comments:   " + CR + "com1");
}

TEST(PrintLayout, SearchResultsWithOneFieldAndTwoHitsOnADisc)
{
    const QString text = searchResults(
        "Blue", {{2, "Jazz", 1, track("1")}, {2, "Jazz", 3, track("3")}, {3, "Mix", 2, track("2")}},
        {"Title"});
    EXPECT_TRUE(
        text.startsWith("<< Search for:   'Blue' >>" + CR + CR + CR + "Disc Name:    Jazz"));
    EXPECT_EQ(text.count("Disc Name:    "), 2);
    EXPECT_EQ(text.count("Track "), 3);
    EXPECT_TRUE(text.contains(CR + "Track 3" + CR + "Title:   tit3" + sp(8)));
    // Two fields: the artist has 10 blanks after it in the search results.
    EXPECT_TRUE(searchResults("x", {{1, "A", 1, track("1")}}, {"Artist", "Title"})
                    .endsWith("art1" + sp(10) + "tit1" + sp(8)));
}

TEST(PrintLayout, AllDiscsWithOneField)
{
    EXPECT_EQ(allDiscs({{"Rock", {track("1"), track("2")}}, {"Empty", {}}}, {"Title"}),
              CR + CR + "Rock" + CR + CR + "tit1" + sp(8) + CR + "tit2" + sp(8) + CR + CR + CR +
                  "Empty" + CR + CR);
    // Two fields: the tracks of a disc follow each other on one line.
    EXPECT_EQ(allDiscs({{"Rock", {track("1"), track("2")}}}, {"Title", "Label"}),
              CR + CR + "Rock" + CR + CR + "tit1" + sp(8) + "lab1" + sp(8) + "tit2" + sp(8) +
                  "lab2" + sp(8));
    // A hit without its track prints empty fields.
    EXPECT_EQ(searchResults("x", {{1, "A", 9, std::nullopt}}, {"Title"}),
              "<< Search for:   'x' >>" + CR + CR + CR + "Disc Name:    A" + CR + CR + "Track 9" +
                  CR + "Title:   " + sp(8));
}
