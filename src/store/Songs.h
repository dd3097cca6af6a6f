#pragma once

#include "store/CatalogueFiles.h"

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

// The catalogue's figures, a line each: discs and tracks, the playing time
// of all discs and of the average one, the time still free over all discs
// (each disc's length, in seconds in lengths, less its tracks), the tracks by
// format and by decade, and the ten artists with most tracks. A disc whose
// tracks' lengths do not all read, as its total is not shown, adds no time.
QStringList statisticsLines(const QList<catalogue::DiscTracks>& discs, const QList<int>& lengths);

} // namespace songs
