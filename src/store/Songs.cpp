#include "store/Songs.h"

#include "store/Codepage.h"
#include "store/Parallel.h"
#include "store/TimeText.h"

#include <QHash>
#include <QMap>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <memory>
#include <tuple>
#include <vector>

namespace songs {

namespace {

// Each character below U+3000 as it decomposes (empty where it stays as it
// is): a text's decomposition is that of its characters one after another,
// up to the order of the marks, which folding drops anyway.
const std::array<QString, 0x3000>& decompositions()
{
    static const std::array<QString, 0x3000> table = [] {
        std::array<QString, 0x3000> made;
        for (char16_t c = 0x80; c < 0x3000; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            const QString one(QChar{c});
            if (QString decomposed = one.normalized(QString::NormalizationForm_KD);
                decomposed != one)
                made[c] = std::move(decomposed);
        }
        return made;
    }();
    return table;
}

// Each ASCII character as folding takes it: a letter or digit as its small
// letter, or one of these.
enum : char16_t { Gone, Blank, Ampersand };
constexpr std::array<char16_t, 0x80> asciiFoldedTable()
{
    std::array<char16_t, 0x80> table{};
    for (char16_t u = 0; u < 0x80; ++u)
        table[u] = (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') ? u
                   : u >= u'A' && u <= u'Z'                             ? char16_t(u + 32)
                   : u == u'&'                                          ? char16_t(Ampersand)
                   : u == u' ' || (u >= u'\t' && u <= u'\r')            ? char16_t(Blank)
                                                                        : char16_t(Gone);
    return table;
}
constexpr std::array<char16_t, 0x80> asciiFolded = asciiFoldedTable();

// Folds characters one by one and hands the folded ones to out: a blank
// only between two words, and of an artist a leading "the " held back and
// dropped.
template <class Out> class Folding
{
public:
    Folding(Out& out, bool artist) : m_out(out), m_headOpen(artist) {}

    // One character as it is written (it is decomposed here).
    void take(QChar c)
    {
        if (c.unicode() < 0x80) {
            takeDecomposed(c);
            return;
        }
        const QString& decomposed = decompositions()[c.unicode()];
        if (decomposed.isEmpty()) {
            takeDecomposed(c);
            return;
        }
        for (const QChar d : decomposed)
            takeDecomposed(d);
    }
    // A character of a decomposed text.
    void takeDecomposed(QChar c)
    {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            switch (const char16_t folded = asciiFolded[u]) {
            case Gone: // punctuation and symbols
                return;
            case Blank:
                m_blank = true;
                return;
            case Ampersand:
                ampersand();
                return;
            default:
                letter(QChar(folded));
                return;
            }
        }
        switch (u) {
        case 0x00DF: // ß
            return letters(u"ss");
        case 0x00C6: // Æ æ
        case 0x00E6:
            return letters(u"ae");
        case 0x0152: // Œ œ
        case 0x0153:
            return letters(u"oe");
        case 0x00D8: // Ø ø
        case 0x00F8:
            return letters(u"o");
        case 0x00D0: // Ð ð
        case 0x00F0:
        case 0x0110: // Đ đ
        case 0x0111:
            return letters(u"d");
        case 0x0141: // Ł ł
        case 0x0142:
            return letters(u"l");
        case 0x00DE: // Þ þ
        case 0x00FE:
            return letters(u"th");
        default:
            break;
        }
        if (c.isLetterOrNumber())
            letter(c.toCaseFolded());
        else if (c.isSpace())
            m_blank = true;
        // Marks, punctuation and symbols go.
    }
    void finish()
    {
        if (m_headOpen)
            closeHead();
    }

private:
    void letter(QChar c)
    {
        if (m_blank && m_any)
            send(u' ');
        m_blank = false;
        m_any = true;
        send(c);
    }
    void letters(QStringView text)
    {
        for (const QChar c : text)
            letter(c);
    }
    void ampersand()
    {
        m_blank = true;
        letters(u"and");
        m_blank = true;
    }
    void send(QChar c)
    {
        if (!m_headOpen) {
            m_out(c);
            return;
        }
        m_head[m_headSize++] = c;
        if (m_headSize == 4)
            closeHead();
    }
    void closeHead()
    {
        m_headOpen = false;
        if (QStringView(m_head, m_headSize) != u"the ")
            for (int k = 0; k < m_headSize; ++k)
                m_out(m_head[k]);
    }

    Out& m_out;
    bool m_headOpen;
    QChar m_head[4];
    int m_headSize = 0;
    bool m_blank = false;
    bool m_any = false;
};

template <class Out> void foldInto(QStringView text, bool artist, Out& out)
{
    Folding<Out> folding(out, artist);
    // Beyond the table (and for characters in two halves), the whole text
    // is decomposed at once.
    if (std::any_of(text.cbegin(), text.cend(),
                    [](QChar c) { return c.isSurrogate() || c.unicode() >= 0x3000; })) {
        for (const QChar c : text.toString().normalized(QString::NormalizationForm_KD))
            folding.takeDecomposed(c);
    } else {
        for (const QChar c : text)
            folding.take(c);
    }
    folding.finish();
}

// Two independent 64-bit hashes of the folded characters.
struct Hasher {
    quint64 a = 0xcbf29ce484222325ULL;
    quint64 b = 0x9e3779b97f4a7c15ULL;
    void operator()(QChar c)
    {
        a = (a ^ c.unicode()) * 0x100000001b3ULL;
        b = b * 0xd6e8feb86659fd93ULL + c.unicode() + 1;
    }
    static quint64 mixed(quint64 x)
    {
        x ^= x >> 30;
        x *= 0xbf58476d1ce4e5b9ULL;
        x ^= x >> 27;
        x *= 0x94d049bb133111ebULL;
        return x ^ (x >> 31);
    }
    Song song() const { return {mixed(a), mixed(b)}; }
};

} // namespace

Song songOf(const QString& artist, const QString& title)
{
    // The folded artist, a separator no folded text holds, the folded title.
    Hasher hasher;
    foldInto(artist, true, hasher);
    hasher(QChar(u'\x1f'));
    foldInto(title, false, hasher);
    return hasher.song();
}

namespace {

// The seven lines of each whole record of a disc file's bytes, at most
// records of them, handed to take with the record's number from 0.
template <class Take> void forEachRecord(QByteArrayView bytes, int records, Take&& take)
{
    std::array<QByteArrayView, catalogue::FieldCount> fields;
    qsizetype line = 0;
    codepage::forEachLine(bytes, [&](QByteArrayView text) {
        if (line / catalogue::FieldCount >= records)
            return false;
        fields[size_t(line % catalogue::FieldCount)] = text;
        if (line % catalogue::FieldCount == catalogue::FieldCount - 1)
            take(int(line / catalogue::FieldCount), fields);
        ++line;
        return true;
    });
}

// A field folded from its bytes as they are, with nothing decoded into a
// text of its own.
void foldBytes(QByteArrayView line, bool artist, Hasher& hasher)
{
    Folding<Hasher> folding(hasher, artist);
    for (const char b : line)
        folding.take(QChar(codepage::unicodeOf(uchar(b))));
    folding.finish();
}

Song songOf(const std::array<QByteArrayView, catalogue::FieldCount>& fields)
{
    Hasher hasher;
    foldBytes(fields[1], true, hasher);
    hasher(QChar(u'\x1f'));
    foldBytes(fields[2], false, hasher);
    return hasher.song();
}

} // namespace

QList<Song> songsIn(QByteArrayView bytes, int count)
{
    QList<Song> found;
    found.reserve(std::clamp(count, 0, catalogue::MaxTracks));
    forEachRecord(bytes, count, [&](int, const auto& fields) { found.append(songOf(fields)); });
    return found;
}

namespace {

// A track as the duplicates are found: its song, where it is in the
// catalogue and where its record starts in its disc's bytes. Left as it is
// made, with nothing written to it beforehand.
struct Entry {
    quint64 a, b; // the song
    int disc;     // -1 for a place no track took
    int track;
    qsizetype at;
};

// The songs on two tracks or more, each as the run of entries that are its
// tracks in catalogue order, the runs by their first track.
std::vector<std::pair<size_t, size_t>> groupsIn(Entry* all, size_t count)
{
    // The entries shared out in place by their song's first bits into
    // buckets small enough to sort in a core's cache (the places no track
    // took in one more at the end), the buckets sorted by the cores.
    constexpr int bits = 10;
    constexpr size_t buckets = size_t(1) << bits;
    const auto bucketOf = [](const Entry& entry) {
        return entry.disc < 0 ? buckets : size_t(entry.a >> (64 - bits));
    };
    std::vector<size_t> start(buckets + 2, 0);
    for (size_t k = 0; k < count; ++k)
        ++start[bucketOf(all[k]) + 1];
    for (size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    std::vector<size_t> next(start.begin(), start.end() - 1);
    for (size_t bucket = 0; bucket <= buckets; ++bucket)
        while (next[bucket] < start[bucket + 1]) {
            Entry entry = all[next[bucket]];
            for (size_t to; (to = bucketOf(entry)) != bucket;)
                std::swap(entry, all[next[to]++]);
            all[next[bucket]++] = entry;
        }
    std::vector<std::vector<std::pair<size_t, size_t>>> found(buckets);
    parallel::forEveryRow(int(buckets), [&](int bucket) {
        const size_t first = start[size_t(bucket)], end = start[size_t(bucket) + 1];
        std::sort(all + first, all + end, [](const Entry& x, const Entry& y) {
            return std::tie(x.a, x.b, x.disc, x.track) < std::tie(y.a, y.b, y.disc, y.track);
        });
        for (size_t k = first, stop; k < end; k = stop) {
            for (stop = k + 1; stop < end && all[stop].a == all[k].a && all[stop].b == all[k].b;)
                ++stop;
            if (stop - k > 1)
                found[size_t(bucket)].emplace_back(k, stop);
        }
    });
    std::vector<std::pair<size_t, size_t>> groups;
    for (const auto& some : found)
        groups.insert(groups.end(), some.begin(), some.end());
    std::sort(groups.begin(), groups.end(), [all](const auto& x, const auto& y) {
        const Entry &a = all[x.first], &b = all[y.first];
        return a.disc != b.disc ? a.disc < b.disc : a.track < b.track;
    });
    return groups;
}

} // namespace

QStringList duplicatesText(const QList<DiscFile>& discs)
{
    // Each disc's tracks, folded by the computer's cores, each disc into
    // its own places of one array.
    std::vector<size_t> first(size_t(discs.size()) + 1, 0);
    for (qsizetype d = 0; d < discs.size(); ++d)
        first[size_t(d) + 1] =
            first[size_t(d)] + size_t(std::clamp(discs[d].records, 0, catalogue::MaxTracks));
    const size_t count = first.back();
    const std::unique_ptr<Entry[]> all(new Entry[count]);
    parallel::forEveryRow(int(discs.size()), [&](int d) {
        Entry* const places = all.get() + first[size_t(d)];
        const QByteArray& bytes = discs[d].bytes;
        int held = 0;
        forEachRecord(bytes, discs[d].records, [&](int t, const auto& lines) {
            const Song song = songOf(lines);
            places[t] = {song.a, song.b, d, t, lines[0].data() - bytes.constData()};
            held = t + 1;
        });
        for (size_t t = size_t(held); t < first[size_t(d) + 1] - first[size_t(d)]; ++t)
            places[t].disc = -1;
    });
    const std::vector<std::pair<size_t, size_t>> groups = groupsIn(all.get(), count);

    // Each group's lines made by the cores, each group's text at once: each
    // line's length is known beforehand (a byte is one character). An empty
    // line before each group but the first.
    struct Line {
        QByteArrayView artist, title, length;
    };
    const auto lineOf = [&](const Entry& entry) {
        const QByteArray& bytes = discs[entry.disc].bytes;
        Line line;
        int field = 0;
        codepage::forEachLine(QByteArrayView(bytes).sliced(entry.at), [&](QByteArrayView text) {
            if (field == 1)
                line.artist = text;
            else if (field == 2)
                line.title = text;
            else if (field == 4)
                line.length = text;
            return ++field < 5;
        });
        return line;
    };
    const auto digits = [](int number) { return number < 10 ? 1 : number < 100 ? 2 : 3; };
    QStringList texts(qsizetype(groups.size()));
    QString* const out = texts.data();
    parallel::forEveryRow(int(groups.size()), [&](int g) {
        const auto [begin, end] = groups[size_t(g)];
        QVarLengthArray<Line, catalogue::MaxTracks> lines(qsizetype(end - begin));
        qsizetype size = g > 0;
        for (size_t k = begin; k < end; ++k) {
            const Line& line = lines[k - begin] = lineOf(all[k]);
            size += discs[all[k].disc].name.size() + digits(all[k].track + 1) + line.artist.size() +
                    line.title.size() + line.length.size() + 17;
        }
        QString& text = out[g];
        text.resize(size);
        char16_t* at = reinterpret_cast<char16_t*>(text.data());
        const auto put = [&at](QStringView part) {
            at = std::copy(part.utf16(), part.utf16() + part.size(), at);
        };
        const auto putBytes = [&at](QByteArrayView part) {
            at = std::transform(part.cbegin(), part.cend(), at,
                                [](char b) { return codepage::unicodeOf(uchar(b)); });
        };
        if (g > 0)
            *at++ = u'\n';
        for (size_t k = begin; k < end; ++k) {
            const Entry& entry = all[k];
            const Line& line = lines[k - begin];
            put(discs[entry.disc].name);
            put(u", track ");
            const int number = entry.track + 1;
            for (int d = digits(number), place = d == 3   ? 100
                                                 : d == 2 ? 10
                                                          : 1;
                 d > 0; --d, place /= 10)
                *at++ = char16_t(u'0' + number / place % 10);
            put(u": ");
            putBytes(line.artist);
            put(u" \u2013 ");
            putBytes(line.title);
            put(u" (");
            putBytes(line.length);
            put(u")\n");
        }
    });
    return texts;
}

void Index::build(const QList<std::pair<QString, QList<Song>>>& discs)
{
    m_songs.clear();
    m_songs.reserve(discs.size());
    for (const auto& [name, songs] : discs)
        m_songs.insert(name, songs);
    m_built = true;
}

void Index::clear()
{
    m_songs.clear();
    m_built = false;
}

QList<Index::Hit> Index::find(const Song& song) const
{
    QList<Hit> hits;
    for (auto disc = m_songs.cbegin(); disc != m_songs.cend(); ++disc)
        for (qsizetype t = 0; t < disc->size(); ++t)
            if (disc->at(t) == song)
                hits.append({disc.key(), int(t)});
    return hits;
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

namespace {

// The figures of a run of discs, added to those of the runs before it.
struct Tally {
    qint64 tracks = 0, playing = 0, free = 0;
    std::array<qint64, 7> formats{};           // the five formats, "other", "none"
    std::array<qint64, 1001> decades{};        // by the decade's first year / 10; the last unknown
    QHash<Song, qsizetype> artistAt;           // by the folded name
    QList<std::pair<QString, qint64>> artists; // as first written, with the count
    QList<Song> artistSongs;                   // the same, folded

    // An artist's tracks; written gives the name as first written.
    template <class Written>
    void addArtist(const Song& artist, const Written& written, qint64 count)
    {
        if (const auto at = artistAt.constFind(artist); at != artistAt.cend()) {
            artists[*at].second += count;
            return;
        }
        artistAt.insert(artist, artists.size());
        artists.append({written(), count});
        artistSongs.append(artist);
    }
    void add(const Tally& later)
    {
        tracks += later.tracks;
        playing += later.playing;
        free += later.free;
        for (size_t f = 0; f < formats.size(); ++f)
            formats[f] += later.formats[f];
        for (size_t k = 0; k < decades.size(); ++k)
            decades[k] += later.decades[k];
        for (qsizetype k = 0; k < later.artists.size(); ++k)
            addArtist(
                later.artistSongs[k], [&] { return later.artists[k].first; },
                later.artists[k].second);
    }
};

// The figures of the discs from first to end.
Tally tallyOf(const QList<DiscFile>& discs, const QList<int>& lengths, qsizetype first,
              qsizetype end)
{
    static const QByteArrayList formats = [] {
        QByteArrayList encoded;
        for (const QString& format : catalogue::Formats)
            encoded.append(codepage::encode(format));
        return encoded;
    }();
    Hasher none;
    none(QChar(u'\x1f'));
    const Song nobody = none.song(); // an artist that folds to nothing
    Tally tally;
    for (qsizetype d = first; d < end; ++d) {
        qint64 total = 0;
        bool timed = true; // every length reads
        forEachRecord(discs[d].bytes, discs[d].records, [&](int, const auto& fields) {
            ++tally.tracks;
            if (timed) {
                const std::optional<int> length =
                    timetext::trackLength(codepage::decode(fields[4]));
                timed = length.has_value();
                total += length.value_or(0);
            }
            const qsizetype format = formats.indexOf(fields[5]);
            ++tally.formats[fields[5].isEmpty() ? 6 : format < 0 ? 5 : size_t(format)];
            // The year as written, without the blanks around it.
            QByteArrayView year = fields[3];
            const auto blank = [](char b) { return QChar::isSpace(codepage::unicodeOf(uchar(b))); };
            while (!year.isEmpty() && blank(year.front()))
                year = year.sliced(1);
            while (!year.isEmpty() && blank(year.back()))
                year.chop(1);
            const bool digits =
                year.size() == 4 && std::all_of(year.cbegin(), year.cend(),
                                                [](char c) { return c >= '0' && c <= '9'; });
            ++tally.decades[digits ? size_t(year.toInt() / 10) : tally.decades.size() - 1];
            Hasher hasher;
            foldBytes(fields[1], true, hasher);
            hasher(QChar(u'\x1f'));
            if (const Song artist = hasher.song(); artist != nobody)
                tally.addArtist(
                    artist, [&] { return codepage::decode(fields[1]).trimmed(); }, 1);
        });
        if (timed) {
            tally.playing += total;
            tally.free += lengths.value(d) - total;
        }
    }
    return tally;
}

} // namespace

QString statisticsText(const QList<DiscFile>& discs, const QList<int>& lengths)
{
    // Runs of discs counted by the computer's cores, added up in order, so
    // that an artist is named as first written in the catalogue.
    const qsizetype runs = std::min<qsizetype>(64, discs.size());
    QList<Tally> tallies(runs);
    Tally* const out = tallies.data();
    parallel::forEveryRow(int(runs), [&](int run) {
        out[run] =
            tallyOf(discs, lengths, discs.size() * run / runs, discs.size() * (run + 1) / runs);
    });
    Tally all;
    for (const Tally& tally : tallies)
        all.add(tally);
    QStringList lines = {QStringLiteral("Discs: %1").arg(discs.size()),
                         QStringLiteral("Tracks: %1").arg(all.tracks),
                         QStringLiteral("Playing time: %1").arg(hours(all.playing)),
                         QStringLiteral("Average disc: %1")
                             .arg(hours(discs.isEmpty() ? 0 : all.playing / discs.size())),
                         QStringLiteral("Time still free: %1").arg(hours(all.free)),
                         QStringLiteral("Tracks by format:")};
    const QStringList formats = catalogue::Formats + QStringList{"other", "none"};
    for (qsizetype f = 0; f < formats.size(); ++f)
        lines.append(QStringLiteral("  %1: %2").arg(formats[f]).arg(all.formats[size_t(f)]));
    lines.append(QStringLiteral("Tracks by decade:"));
    for (size_t k = 0; k + 1 < all.decades.size(); ++k)
        if (all.decades[k] > 0)
            lines.append(QStringLiteral("  %1: %2")
                             .arg(QStringLiteral("%1").arg(k, 3, 10, QLatin1Char('0')) +
                                  QStringLiteral("0s"))
                             .arg(all.decades[k]));
    if (all.decades.back() > 0)
        lines.append(QStringLiteral("  unknown: %1").arg(all.decades.back()));
    lines.append(QStringLiteral("Most tracks by artist:"));
    std::stable_sort(all.artists.begin(), all.artists.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    for (qsizetype k = 0; k < std::min<qsizetype>(10, all.artists.size()); ++k)
        lines.append(
            QStringLiteral("  %1: %2").arg(all.artists[k].first).arg(all.artists[k].second));
    return lines.join(u'\n') + u'\n';
}

} // namespace songs
