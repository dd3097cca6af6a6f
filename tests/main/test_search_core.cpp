#include "main/CatalogueSearch.h"
#include "store/Codepage.h"

#include <gtest/gtest.h>

using search::HitRow;

namespace {

// The end of every hit (P + D) over a set of disc texts, as the search records
// it; the search over the files' bytes must find the very same.
QList<HitRow> searchAll(const QStringList& texts, const QString& needle)
{
    QList<HitRow> hits;
    for (int d = 0; d < texts.size(); ++d) {
        const QList<qint64> found = search::positionsIn(texts.at(d), needle);
        EXPECT_EQ(search::Needle(needle).positionsIn(codepage::encode(texts.at(d))), found)
            << needle.toStdString();
        for (qint64 p : found)
            hits.append({d + 1, p, 0});
    }
    search::fillOffsets(hits, needle.size());
    return hits;
}

} // namespace

TEST(SearchCore, LetterCaseDoesNotMatter)
{
    const QString text = "Rock\r\nROCK\r\nrock\r\nbj\u00F6rk\r\n";
    const QList<HitRow> hits = searchAll({text}, "rock");
    ASSERT_EQ(hits.size(), 3);
    for (const HitRow& hit : hits)
        EXPECT_EQ(text.mid(hit[1] + hit[2] - 4, 4).toLower(), "rock");
    // Letters beyond ASCII, also those where the code page differs from
    // Latin-1; a character no file can hold finds nothing.
    const QString accents = QString::fromUtf8("BJÖRK Škoda œuvre ŸES µ ÉTÉ\r\n");
    for (const char* needle : {"björk", "ŠKODA", "ŒUVRE", "ÿes", "µ", "été", "日本", "x"})
        EXPECT_EQ(searchAll({accents}, QString::fromUtf8(needle)).size(),
                  QString::fromUtf8(needle) == "日本" || QString(needle) == "x" ? 0 : 1)
            << needle;
}

TEST(SearchCore, PositionsAndOffsetsFollowTheCuts)
{
    // Hits at file positions 3 and 12 (from 1) of a three-letter text.
    const QString text = "xxabcxxxxxxabcx";
    const QList<HitRow> hits = searchAll({text}, "abc");
    ASSERT_EQ(hits.size(), 2);
    EXPECT_EQ(hits[0][1], 3);
    EXPECT_EQ(hits[0][2], 2);
    EXPECT_EQ(hits[0][1] + hits[0][2], 5); // "c" of the first hit
    EXPECT_EQ(hits[1][1] + hits[1][2], 14);
    EXPECT_EQ(hits[1][2], 4);
    // A new disc starts its offsets again.
    const QList<HitRow> two = searchAll({text, "abc"}, "abc");
    ASSERT_EQ(two.size(), 3);
    EXPECT_EQ(two[2][0], 2);
    EXPECT_EQ(two[2][2], 2);
    EXPECT_EQ(two[2][1] + two[2][2], 3);
}

TEST(SearchCore, OneCharacterHasNoOffset)
{
    const QList<HitRow> hits = searchAll({"a\r\nba\r\n"}, "a");
    ASSERT_EQ(hits.size(), 2);
    EXPECT_EQ(hits[0][1], 1);
    EXPECT_EQ(hits[1][1], 5);
    EXPECT_EQ(hits[0][2], 0);
    EXPECT_EQ(hits[1][2], 0);
}

TEST(SearchCore, EveryAdjacentHitIsRecorded)
{
    EXPECT_EQ(searchAll({"aaaa"}, "aa").size(), 2);
    EXPECT_EQ(searchAll({"abab"}, "ab").size(), 2);
}

TEST(SearchCore, AHitInTheLastLineWithoutALineEnd)
{
    const QString text = "one\r\ntwo\r\nthree";
    const QList<HitRow> hits = searchAll({text}, "three");
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(search::cellOf(text, hits[0][1] + hits[0][2], "three"), 2);
}

TEST(SearchCore, TheCellOfAHitCountsLineEnds)
{
    QString text;
    for (int line = 1; line <= 21; ++line)
        text += QStringLiteral("L%1\r\n").arg(line, 2, 10, QChar('0'));
    auto cell = [&](int line) {
        const QString needle = QStringLiteral("L%1").arg(line, 2, 10, QChar('0'));
        const qint64 end = text.indexOf(needle) + needle.size();
        return search::cellOf(text, end, needle);
    };
    EXPECT_EQ(cell(1), 0);   // track 1, label
    EXPECT_EQ(cell(8), 7);   // track 2, label
    EXPECT_EQ(cell(14), 13); // track 2, comments
    EXPECT_EQ(cell(15), 14); // track 3, label
    // Other line ends count the same.
    QString lf = text;
    lf.replace("\r\n", "\n");
    EXPECT_EQ(search::cellOf(lf, lf.indexOf("L15") + 3, "L15"), 14);
}

TEST(SearchCore, OnlyTheFirstThousandLinesHaveCells)
{
    const QString lines = QString("x\r\n").repeated(999);
    EXPECT_EQ(search::cellOf(lines + "hit", lines.size() + 3, "hit"), 999); // line 1000
    EXPECT_EQ(search::cellOf(lines + "x\r\nhit", lines.size() + 6, "hit"), std::nullopt);
}

TEST(SearchCore, AChangedTextIsNoLongerAHit)
{
    EXPECT_EQ(search::cellOf("abc\r\n", 3, "abc"), 0);
    EXPECT_EQ(search::cellOf("abd\r\n", 3, "abc"), std::nullopt);
    EXPECT_EQ(search::cellOf("ab", 3, "abc"), std::nullopt);
    EXPECT_EQ(search::cellOf("abc", 0, ""), std::nullopt);
}

TEST(SearchCore, LongTextsKeepTheirPositions)
{
    QString text(40000, u'x');
    text += "needle";
    const QList<HitRow> hits = searchAll({text}, "needle");
    ASSERT_EQ(hits.size(), 1);
    EXPECT_EQ(hits[0][1], 40001);
    EXPECT_EQ(hits[0][1] + hits[0][2], 40006);
}
