#include "store/Songs.h"

#include <QHash>

namespace songs {

QString fold(const QString& text, bool artist)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    bool blank = true; // no blank at the start, nor two in a row
    const auto put = [&folded, &blank](QStringView letters) {
        folded += letters;
        blank = false;
    };
    for (const QChar c : decomposed) {
        switch (c.unicode()) {
        case 0x00DF: // ß
            put(u"ss");
            continue;
        case 0x00C6: // Æ æ
        case 0x00E6:
            put(u"ae");
            continue;
        case 0x0152: // Œ œ
        case 0x0153:
            put(u"oe");
            continue;
        case 0x00D8: // Ø ø
        case 0x00F8:
            put(u"o");
            continue;
        case 0x00D0: // Ð ð
        case 0x00F0:
        case 0x0110: // Đ đ
        case 0x0111:
            put(u"d");
            continue;
        case 0x0141: // Ł ł
        case 0x0142:
            put(u"l");
            continue;
        case 0x00DE: // Þ þ
        case 0x00FE:
            put(u"th");
            continue;
        case u'&':
            if (!blank)
                folded += u' ';
            put(u"and");
            folded += u' ';
            blank = true;
            continue;
        default:
            break;
        }
        if (c.isLetterOrNumber()) {
            put(QString(c).toCaseFolded());
        } else if (c.isSpace() && !blank) {
            folded += u' ';
            blank = true;
        }
        // Marks, punctuation and symbols go.
    }
    if (folded.endsWith(u' '))
        folded.chop(1);
    if (artist && folded.startsWith(QLatin1String("the ")))
        folded.remove(0, 4);
    return folded;
}

QString key(const catalogue::Track& track)
{
    return fold(track[1], true) + u'\x1f' + fold(track[2], false);
}

QList<QList<Place>> duplicates(const QList<catalogue::DiscTracks>& discs)
{
    QHash<QString, qsizetype> group; // a song's group, by its key
    QList<QList<Place>> groups;
    for (qsizetype d = 0; d < discs.size(); ++d)
        for (qsizetype t = 0; t < discs[d].tracks.size(); ++t) {
            const QString song = key(discs[d].tracks[t]);
            const auto found = group.constFind(song);
            const qsizetype g = found == group.cend() ? groups.size() : *found;
            if (g == groups.size()) {
                group.insert(song, g);
                groups.append(QList<Place>());
            }
            groups[g].append({int(d), int(t)});
        }
    QList<QList<Place>> twice;
    for (const QList<Place>& places : groups)
        if (places.size() > 1)
            twice.append(places);
    return twice;
}

QStringList duplicateLines(const QList<catalogue::DiscTracks>& discs)
{
    QStringList lines;
    for (const QList<Place>& places : duplicates(discs)) {
        if (!lines.isEmpty())
            lines.append(QString());
        for (const Place& place : places) {
            const catalogue::Track& track = discs[place.disc].tracks[place.track];
            lines.append(QStringLiteral("%1, track %2: %3 \u2013 %4 (%5)")
                             .arg(discs[place.disc].name)
                             .arg(place.track + 1)
                             .arg(track[1], track[2], track[4]));
        }
    }
    return lines;
}

} // namespace songs
