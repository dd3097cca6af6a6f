#include "store/Search.h"

#include "store/Codepage.h"

#include <algorithm>
#include <string>
#include <string_view>

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

namespace {

// Every byte folded to one byte of its letter-case class: the smallest byte
// whose character folds to the same character as its own.
const std::array<uchar, 256>& byteFolds()
{
    static const std::array<uchar, 256> folds = [] {
        std::array<QChar, 256> folded;
        const QString all = codepage::decode([] {
            QByteArray bytes(256, '\0');
            for (int b = 0; b < 256; ++b)
                bytes[b] = char(b);
            return bytes;
        }());
        for (int b = 0; b < 256; ++b)
            folded[b] = all.at(b).toCaseFolded();
        std::array<uchar, 256> table{};
        for (int b = 0; b < 256; ++b) {
            int first = b;
            for (int o = 0; o < b; ++o) {
                if (folded[o] == folded[b]) {
                    first = o;
                    break;
                }
            }
            table[b] = uchar(first);
        }
        return table;
    }();
    return folds;
}

} // namespace

Needle::Needle(const QString& text)
{
    const QString all = codepage::decode([] {
        QByteArray bytes(256, '\0');
        for (int b = 0; b < 256; ++b)
            bytes[b] = char(b);
        return bytes;
    }());
    const auto& folds = byteFolds();
    for (const QChar c : text) {
        const QChar folded = c.toCaseFolded();
        int match = -1;
        for (int b = 0; b < 256 && match < 0; ++b)
            if (all.at(b).toCaseFolded() == folded)
                match = b;
        if (match < 0) {
            m_impossible = true; // nothing in a file can be this character
            return;
        }
        m_folded.append(char(folds[match]));
    }
}

QList<qint64> Needle::positionsIn(const QByteArray& bytes) const
{
    QList<qint64> found;
    const qsizetype L = m_folded.size();
    if (L == 0 || m_impossible || bytes.size() < L)
        return found;
    const auto& folds = byteFolds();
    m_file.resize(size_t(bytes.size()));
    std::transform(bytes.cbegin(), bytes.cend(), m_file.begin(),
                   [&folds](char c) { return char(folds[uchar(c)]); });
    const std::string_view haystack(m_file);
    const std::string_view needle(m_folded.constData(), size_t(L));
    qint64 offset = 0;
    size_t start = 0;
    while (true) {
        const size_t at = haystack.find(needle, start);
        if (at == std::string_view::npos)
            break;
        const qint64 p = qint64(at - start) + 1;
        offset += p;
        found.append(offset);
        start += size_t(p - 1 + L);
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
