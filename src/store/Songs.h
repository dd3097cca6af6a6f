#pragma once

#include "store/CatalogueFiles.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Songs across the catalogue: when two tracks are the same song, the
// duplicates of the whole catalogue, and its figures.
namespace songs {

// A song: its folded artist and title, known by two independent 64-bit
// hashes of them (two different songs share both with a chance of one in
// 2^128).
struct Song {
    quint64 a = 0;
    quint64 b = 0;
    friend bool operator==(const Song&, const Song&) = default;
};
inline size_t qHash(const Song& song, size_t seed = 0)
{
    return size_t(song.a) ^ seed;
}
// Two tracks are the same song when their artists and titles fold alike:
// letter case, accents and other marks ignored (é as e, ß as ss, æ as ae),
// punctuation and symbols removed ("AC/DC" as "acdc"), "&" read as "and", a
// run of blanks one blank, none at either end; of an artist, a leading "The "
// dropped.
Song songOf(const QString& artist, const QString& title);
// The songs of the whole records of a disc file's bytes, at most count of
// them: what songOf() gives for the tracks the file reads as.
QList<Song> songsIn(QByteArrayView bytes, int count);

// A disc as its duplicates and figures are read: its name, its file's bytes
// (none when the file cannot be read) and how many records of them count.
struct DiscFile {
    QString name;
    QByteArray bytes;
    int records = 0;
};
// Every group of two or more tracks that are the same song, as the command
// line prints them: "<disc>, track <n>: <artist> – <title> (<length>)" a
// line (each ending in LF), each group in catalogue order, the groups by
// their first track, an empty line between groups; nothing when there are
// none. The text comes in pieces (a group's lines each), to be put one
// after another: a catalogue's may run to megabytes.
QStringList duplicatesText(const QList<DiscFile>& discs);

// The songs of each disc of the catalogue, kept up to date disc by disc.
// A question goes through every disc's songs: comparing a few hundred
// thousand songs takes about a millisecond.
class Index
{
public:
    struct Hit {
        QString disc;
        int track; // from 0
    };
    bool built() const { return m_built; }
    // Every disc's songs, by its name.
    void build(const QList<std::pair<QString, QList<Song>>>& discs);
    void setDisc(const QString& name, const QList<Song>& songs) { m_songs.insert(name, songs); }
    void removeDisc(const QString& name) { m_songs.remove(name); }
    // Forgets everything: the next question reads the catalogue again.
    void clear();
    // Every track that is the song, in no particular order.
    QList<Hit> find(const Song& song) const;

private:
    QHash<QString, QList<Song>> m_songs;
    bool m_built = false;
};

// The catalogue's figures, a line each (each ending in LF): discs and tracks, the playing time
// of all discs and of the average one, the time still free over all discs
// (each disc's length, in seconds in lengths, less its tracks), the tracks by
// format and by decade, and the ten artists with most tracks. A disc whose
// tracks' lengths do not all read, as its total is not shown, adds no time.
QString statisticsText(const QList<DiscFile>& discs, const QList<int>& lengths);

} // namespace songs
