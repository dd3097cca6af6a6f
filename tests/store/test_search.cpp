#include "store/Codepage.h"
#include "store/Search.h"

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
    // Letters beyond ASCII too, also those where the code page differs from
    // Latin-1; a character no file can hold finds nothing.
    const QString accents = QString::fromUtf8("BJÖRK Škoda œuvre ŸES ÿes µ ÉTÉ\r\n");
    for (const char* needle : {"björk", "ŠKODA", "ŒUVRE", "ÿes", "µ", "été", "é日本", "x"})
        EXPECT_EQ(searchAll({accents}, QString::fromUtf8(needle)).size(),
                  QString(needle) == "ÿes"                               ? 2
                  : QString(needle) == "é日本" || QString(needle) == "x" ? 0
                                                                         : 1)
            << needle;
}

// Each hit as its disc, its position (from 1) and the offset to its last
// character: adjacent hits, a hit without a line end after it, one
// character (no offset), a long text, a second disc starting its offsets again.
TEST(SearchCore, PositionsAndOffsets)
{
    const QList<std::tuple<QStringList, QString, QList<HitRow>>> cases = {
        {{"xxabcxxxxxxabcx", "abc"}, "abc", {{1, 3, 2}, {1, 10, 4}, {2, 1, 2}}},
        {{"aaaa"}, "aa", {{1, 1, 1}, {1, 2, 2}}},
        {{"ababab"}, "ab", {{1, 1, 1}, {1, 2, 2}, {1, 3, 3}}},
        {{"a\r\nba\r\n"}, "a", {{1, 1, 0}, {1, 5, 0}}},
        {{"one\r\ntwo\r\nthree"}, "three", {{1, 11, 4}}},
        {{QString(40000, u'x') + "needle"}, "needle", {{1, 40001, 5}}},
    };
    for (const auto& [texts, needle, hits] : cases)
        EXPECT_EQ(searchAll(texts, needle), hits) << needle.toStdString();
}

// The cell of a hit by its line (the lines of a track, line ends of any kind),
// up to line 1000; a text changed since the search is no longer a hit.
TEST(SearchCore, TheCellOfAHit)
{
    QString text;
    for (int line = 1; line <= 21; ++line)
        text += QStringLiteral("L%1\r\n").arg(line, 2, 10, QChar('0'));
    const QString lf = QString(text).replace("\r\n", "\n");
    const QString lines = QString("x\r\n").repeated(999);
    const QList<std::tuple<QString, qint64, QString, std::optional<int>>> cases = {
        {text, 3, "L01", 0},           // track 1, label
        {text, 8 * 5 - 2, "L08", 7},   // track 2, label
        {text, 14 * 5 - 2, "L14", 13}, // track 2, comments
        {lf, 14 * 4 + 3, "L15", 14},   // track 3, label
        {"one\r\ntwo\r\nthree", 15, "three", 2},
        {lines + "hit", lines.size() + 3, "hit", 999},
        {lines + "x\r\nhit", lines.size() + 6, "hit", std::nullopt},
        {"abd\r\n", 3, "abc", std::nullopt},
        {"ab", 3, "abc", std::nullopt},
        {"abc", 0, "", std::nullopt},
    };
    for (const auto& [in, end, needle, cell] : cases)
        EXPECT_EQ(search::cellOf(in, end, needle), cell) << needle.toStdString();
}
