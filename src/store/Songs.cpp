#include "store/Songs.h"

#include "store/TimeText.h"

#include <QHash>
#include <QMap>

#include <algorithm>

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

void Index::build(const QList<catalogue::DiscTracks>& discs)
{
    clear();
    m_built = true;
    for (const catalogue::DiscTracks& disc : discs)
        setDisc(disc.name, disc.tracks);
}

void Index::setDisc(const QString& name, const QList<catalogue::Track>& tracks)
{
    removeDisc(name);
    QStringList& keys = m_songs[name];
    for (qsizetype t = 0; t < tracks.size(); ++t) {
        keys.append(key(tracks[t]));
        m_hits[keys.last()].append({name, int(t)});
    }
}

void Index::removeDisc(const QString& name)
{
    const QStringList keys = m_songs.take(name);
    for (const QString& song : keys) {
        const auto found = m_hits.find(song);
        if (found == m_hits.end())
            continue;
        found->removeIf([&name](const Hit& hit) { return hit.disc == name; });
        if (found->isEmpty())
            m_hits.erase(found);
    }
}

void Index::clear()
{
    m_hits.clear();
    m_songs.clear();
    m_built = false;
}

namespace {

// h:mm:ss, hours beyond a day too; a minus sign before a time below zero.
QString hours(qint64 seconds)
{
    const qint64 whole = seconds < 0 ? -seconds : seconds;
    return QStringLiteral("%1%2:%3:%4")
        .arg(seconds < 0 ? QStringLiteral("-") : QString())
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QStringList statisticsLines(const QList<catalogue::DiscTracks>& discs, const QList<int>& lengths)
{
    qint64 tracks = 0, playing = 0, free = 0;
    QMap<QString, qint64> formats;
    QMap<QString, qint64> decades;
    QHash<QString, qsizetype> artistAt;        // by the folded name
    QList<std::pair<QString, qint64>> artists; // as first written, with the count
    for (qsizetype d = 0; d < discs.size(); ++d) {
        tracks += discs[d].tracks.size();
        if (const std::optional<qint64> total = timetext::totalLength(discs[d].tracks)) {
            playing += *total;
            free += lengths.value(d) - *total;
        }
        for (const catalogue::Track& track : discs[d].tracks) {
            const QString format = track[5].isEmpty() ? QStringLiteral("none")
                                   : catalogue::Formats.contains(track[5])
                                       ? track[5]
                                       : QStringLiteral("other");
            ++formats[format];
            const QString year = track[3].trimmed();
            const bool digits =
                year.size() == 4 && std::all_of(year.cbegin(), year.cend(),
                                                [](QChar c) { return c >= u'0' && c <= u'9'; });
            ++decades[digits ? year.first(3) + QStringLiteral("0s") : QStringLiteral("unknown")];
            const QString artist = fold(track[1], true);
            if (artist.isEmpty())
                continue;
            const auto found = artistAt.constFind(artist);
            if (found == artistAt.cend()) {
                artistAt.insert(artist, artists.size());
                artists.append({track[1].trimmed(), 1});
            } else {
                ++artists[*found].second;
            }
        }
    }
    QStringList lines = {
        QStringLiteral("Discs: %1").arg(discs.size()),
        QStringLiteral("Tracks: %1").arg(tracks),
        QStringLiteral("Playing time: %1").arg(hours(playing)),
        QStringLiteral("Average disc: %1").arg(hours(discs.isEmpty() ? 0 : playing / discs.size())),
        QStringLiteral("Time still free: %1").arg(hours(free)),
        QStringLiteral("Tracks by format:")};
    for (const QString& format : catalogue::Formats + QStringList{"other", "none"})
        lines.append(QStringLiteral("  %1: %2").arg(format).arg(formats.value(format)));
    lines.append(QStringLiteral("Tracks by decade:"));
    for (auto it = decades.cbegin(); it != decades.cend(); ++it)
        if (it.key() != QLatin1String("unknown"))
            lines.append(QStringLiteral("  %1: %2").arg(it.key()).arg(it.value()));
    if (decades.contains(QStringLiteral("unknown")))
        lines.append(QStringLiteral("  unknown: %1").arg(decades.value(QStringLiteral("unknown"))));
    lines.append(QStringLiteral("Most tracks by artist:"));
    std::stable_sort(artists.begin(), artists.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    for (qsizetype k = 0; k < std::min<qsizetype>(10, artists.size()); ++k)
        lines.append(QStringLiteral("  %1: %2").arg(artists[k].first).arg(artists[k].second));
    return lines;
}

} // namespace songs
