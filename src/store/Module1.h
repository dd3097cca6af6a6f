#pragma once

#include "store/Catalogue.h"
#include "store/CatalogueFiles.h"
#include "store/Settings.h"
#include "store/TestHooks.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// What the program is handed from outside; the real program takes its own
// folder, the user's settings store and the primary screen's width, a test
// takes a temporary folder, a settings file and any width it likes.
struct Environment {
    QString programDir;   // the folder that holds Data
    QString settingsFile; // an INI file; empty for the user's own settings store
    int screenWidth = 1024;
    QString dataDir = {};       // the catalogue's folder when it is not programDir/Data
    TestHooks* hooks = nullptr; // what a test scripts and watches; none in the program
};

// Where the catalogue of a program in programDir lives: Data beside the
// program when that folder can take it (a portable copy), otherwise Data in
// the user's own data folder (an installed program, in installedIn).
QString catalogueFolder(const QString& programDir, const QString& installedIn);

// The address the about box's link writes to.
inline const QString MaintainersMail = QStringLiteral("maintainers@platterbook.org");

// The catalogue's state under the names every window knows it by. The
// catalogue alone writes it; the windows read it through Module1.
struct SharedState {
    QList<catalogue::DiscRow> Discs;
    int DiscCount = 0;
    int CurrentDisc = 0;            // the disc on show; -1 once the index was read and none is
    QList<catalogue::Track> Tracks; // the shown disc's tracks
    int TrackCount = 0;
    int TrackLimit = catalogue::MaxTracks;
    QString IndexPath;
    QString DiscPath;   // the shown disc's file
    int DiscLength = 0; // the shown disc's length, seconds of the day
    // The shown disc's file holds fewer whole records than its count: nothing
    // may be written to it until it reads whole.
    bool DiscIncomplete = false;
    // The track of a new disc being typed, from 1; 0 when none is.
    int EntryTrack = 0;
    // Comments typed in the rows wait to be written.
    bool CommentsDirty = false;
    // The last search: SearchHits[k - 1] is hit k (disc number from 1,
    // position, offset), with the name its disc had then.
    QList<std::array<qint64, 3>> SearchHits;
    QStringList SearchHitDiscs;
    QString SearchText;
    int HitCount = 0;
};

// The shared program state, one object handed to every window: the
// environment, the settings, the catalogue with its operations, and the
// catalogue's state read-only under its own names.
class Module1
{
    SharedState m_shared; // first: the names below refer to it

public:
    explicit Module1(Environment env);
    Module1(const Module1&) = delete;
    Module1& operator=(const Module1&) = delete;

    const Environment& environment() const { return m_env; }
    TestHooks* hooks() const { return m_env.hooks; }
    Settings& settings() { return m_settings; }

    QString dataDir() const { return m_dataDir; }   // the Data folder, with a trailing '/'
    QString discPathFor(const QString& name) const; // Data/ + name + ".txt"

    // Every change of the catalogue goes through it.
    Catalogue& catalogue() { return m_catalogue; }
    const Catalogue& catalogue() const { return m_catalogue; }

    // The message for a catalogue file that could not be written.
    static QString writeFailureText(const QString& path, const QString& reason);

    const QList<catalogue::DiscRow>& Discs = m_shared.Discs;
    const int& DiscCount = m_shared.DiscCount;
    const int& CurrentDisc = m_shared.CurrentDisc;
    const QList<catalogue::Track>& Tracks = m_shared.Tracks;
    const int& TrackCount = m_shared.TrackCount;
    const int& TrackLimit = m_shared.TrackLimit;
    const QString& IndexPath = m_shared.IndexPath;
    const QString& DiscPath = m_shared.DiscPath;
    const int& DiscLength = m_shared.DiscLength;
    const bool& DiscIncomplete = m_shared.DiscIncomplete;
    const int& EntryTrack = m_shared.EntryTrack;
    const bool& CommentsDirty = m_shared.CommentsDirty;
    const QList<std::array<qint64, 3>>& SearchHits = m_shared.SearchHits;
    const QStringList& SearchHitDiscs = m_shared.SearchHitDiscs;
    const QString& SearchText = m_shared.SearchText;
    const int& HitCount = m_shared.HitCount;

private:
    friend class Catalogue;
    Environment m_env;
    QString m_dataDir;
    Settings m_settings;
    Catalogue m_catalogue;
};
