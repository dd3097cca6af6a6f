#include "main/CatalogueSearch.h"

namespace search {

QList<qint64> positionsIn(const QString& text, const QString& needle)
{
    QList<qint64> found;
    const qsizetype L = needle.size();
    if (L == 0)
        return found;
    qint64 offset = 0;   // O: the sum of the positions found so far
    qsizetype start = 0; // where the rest of the text begins after the cuts
    while (start <= text.size()) {
        const qsizetype at = text.indexOf(needle, start, Qt::CaseInsensitive);
        if (at < 0)
            break;
        const qint64 p = at - start + 1; // position in the rest, from 1
        offset += p;
        found.append(offset);
        start += p - 1 + L; // cut everything up to and including the hit
    }
    return found;
}

void fillOffsets(QList<HitRow>& hits, qsizetype L)
{
    for (qsizetype k = 0; k < hits.size(); ++k) {
        if (k > 0 && hits[k][0] <= hits[k - 1][0])
            hits[k][2] = (L - 1) + hits[k - 1][2];
        else
            hits[k][2] = L - 1;
    }
}

std::optional<int> cellOf(const QString& fileText, qint64 end, const QString& needle)
{
    const qint64 L = needle.size();
    if (L == 0 || end < L || end > fileText.size())
        return std::nullopt;
    if (QStringView(fileText).mid(end - L, L).compare(needle, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    // Line ends wholly before the hit's last character: CR LF, LF or CR.
    qint64 line = 0;
    for (qint64 i = 0; i < end; ++i) {
        const QChar c = fileText.at(i);
        if (c == u'\n')
            ++line;
        else if (c == u'\r' && !(i + 1 < fileText.size() && fileText.at(i + 1) == u'\n'))
            ++line;
    }
    if (line + 1 > 1000) // lines counted from 1: the first 1000 only
        return std::nullopt;
    return int(line);
}

} // namespace search
