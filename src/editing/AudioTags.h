#pragma once

#include "store/CatalogueFiles.h"

#include <QString>
#include <QStringList>

// A track as an audio file's tags tell it: artist, title (the file's name
// without its extension when the tag has none), year, label (the label,
// organization or publisher tag where the format has one) and the length
// from the audio itself as m:ss. The format is left to the user.
struct AudioTrack {
    QString file;
    catalogue::Track track;
    QString problem; // why the file could not be read; empty when it could
};

AudioTrack readAudioFile(const QString& path);

// The message for a track whose tags hold a character the catalogue cannot
// store (it names the file), or an empty text.
QString unstorableText(const AudioTrack& audio);

// The tracks that files stand for, in order: an audio file for itself, a
// playlist or cue sheet for its entries (a present file by its tags, a
// missing one, or a cue sheet's track, by the list's own text). A file or
// list that gives no track comes as one with its problem, and a list's
// entries stop at the first one refused.
QList<AudioTrack> audioTracksFrom(const QStringList& files);

// The kinds of audio files offered when files are chosen.
QStringList audioFileFilters();
