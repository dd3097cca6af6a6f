#pragma once

#include "store/CatalogueFiles.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Songs across the catalogue: when two tracks are the same song, the
// duplicates of the whole catalogue, and its figures.
namespace songs {

// A text folded as songs are compared: letter case, accents and other marks
// ignored (é as e, ß as ss, æ as ae), punctuation and symbols removed
// ("AC/DC" as "acdc"), "&" read as "and", a run of blanks one blank, none at
// either end; of an artist, a leading "The " dropped.
QString fold(const QString& text, bool artist);
// Two tracks are the same song when their artists and titles fold alike.
QString key(const catalogue::Track& track);

// A track by its place: the disc's row in the catalogue, the track's from 0.
struct Place {
    int disc;
    int track;
};
// Every group of two or more tracks that are the same song, each in
// catalogue order, the groups by their first track.
QList<QList<Place>> duplicates(const QList<catalogue::DiscTracks>& discs);
// The groups as the command line prints them: "<disc>, track <n>: <artist> –
// <title> (<length>)" a line, an empty line between groups.
QStringList duplicateLines(const QList<catalogue::DiscTracks>& discs);

// Where each song of the catalogue is, kept up to date disc by disc.
class Index
{
public:
    struct Hit {
        QString disc;
        int track; // from 0
    };
    bool built() const { return m_built; }
    void build(const QList<catalogue::DiscTracks>& discs);
    void setDisc(const QString& name, const QList<catalogue::Track>& tracks);
    void removeDisc(const QString& name);
    // Forgets everything: the next question reads the catalogue again.
    void clear();
    QList<Hit> find(const QString& key) const { return m_hits.value(key); }

private:
    QHash<QString, QList<Hit>> m_hits;   // by the song's key
    QHash<QString, QStringList> m_songs; // each disc's keys
    bool m_built = false;
};

// The catalogue's figures, a line each: discs and tracks, the playing time
// of all discs and of the average one, the time still free over all discs
// (each disc's length, in seconds in lengths, less its tracks), the tracks by
// format and by decade, and the ten artists with most tracks. A disc whose
// tracks' lengths do not all read, as its total is not shown, adds no time.
QStringList statisticsLines(const QList<catalogue::DiscTracks>& discs, const QList<int>& lengths);

} // namespace songs
