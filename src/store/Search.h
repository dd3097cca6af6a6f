#pragma once

#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <string>

// The catalogue search over the raw text of disc files, without regard to
// letter case. A hit is recorded as the disc number (from 1), a position P and
// an offset D: P + D is the position, counted from 1, of the hit's last
// character in the file text.
namespace search {

using HitRow = std::array<qint64, 3>;

// The positions P of every hit in one text, in order. The text is scanned from
// the front; after each hit the search goes on behind it.
QList<qint64> positionsIn(const QString& text, const QString& needle);

// A search text made ready for disc files as they lie on disk (Windows-1252,
// one byte a character): each character stands for every byte that equals
// it without regard to letter case, so the files need no decoding.
class Needle
{
public:
    explicit Needle(const QString& text);
    // The positions P of every hit in a file's bytes; the same as
    // positionsIn() finds in the file's text.
    QList<qint64> positionsIn(const QByteArray& bytes) const;

private:
    QByteArray m_folded;        // the text as the bytes it matches, folded
    bool m_impossible = false;  // a character that no byte of the file can equal
    mutable std::string m_file; // the file being searched, folded (kept for the next)
};

// Fills column 2 (D) of a finished hit table for a search text of length L.
void fillOffsets(QList<HitRow>& hits, qsizetype L);

// The cell of a hit whose last character is at position end (from 1) of a file
// text: 7 x row + field, counting line ends before it. Empty when the text
// there is no longer the search text (the disc changed since the search).
std::optional<int> cellOf(const QString& fileText, qint64 end, const QString& needle);

} // namespace search
