#pragma once

#include "store/CatalogueFiles.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// Playlists (M3U, M3U8, PLS, XSPF) and cue sheets as the tracks of a disc:
// each entry names an audio file and may describe it in the list's own text.
namespace playlist {

enum class Kind { None, M3u, M3u8, Pls, Xspf, Cue };
// The kind of list a file is, by its name's extension; None for any other file.
Kind kindOf(const QString& path);

struct Entry {
    QString written; // the path as the list writes it
    QString file;    // the audio file found for it; empty when none is there
    // What the list's text says: artist, title, year and length; a title
    // means the entry is described.
    catalogue::Track track = {};
    // A cue sheet's track: its fields come from the sheet, never from the
    // tags of the audio image it lies in.
    bool fromSheet = false;
};

struct List {
    QList<Entry> entries;
    QString problem = {}; // why the list cannot be read, as a sentence
};

// Where the audio file an entry names lies: the path as written when it is
// there, else an empty text.
using Finder = std::function<QString(const QString& written)>;
// The length of an audio file in milliseconds, or -1 when it cannot be read.
using Length = std::function<qint64(const QString& file)>;

// Reads the list at path: entries are looked for beside it, and a cue
// sheet's last track of a file takes its length from that file.
List read(const QString& path, const Length& lengthOf);
// The same from the list's bytes.
List parse(const QByteArray& bytes, Kind kind, const QString& name, const Finder& find,
           const Length& lengthOf);

// The audio file a list in folder means by a path as written: the path
// itself (relative to folder when it is relative), a file: URL decoded, and
// a Windows path that is not there by its part below the drive, then by its
// file name, in folder. Empty when none of them is there.
QString findIn(const QString& folder, const QString& written);

} // namespace playlist
