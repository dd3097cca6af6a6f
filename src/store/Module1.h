#pragma once

#include "store/Catalogue.h"
#include "store/CatalogueFiles.h"
#include "store/Settings.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

// What the program is handed from outside; the real program takes its own
// folder, the user's settings store and the primary screen's width, a test
// takes a temporary folder, a settings file and any width it likes.
struct Environment {
    QString programDir;   // the folder that holds Data
    QString settingsFile; // an INI file; empty for the user's own settings store
    int screenWidth = 1024;
    QString dataDir = {}; // the catalogue's folder when it is not programDir/Data
};

// Where the catalogue of a program in programDir lives: Data beside the
// program when that folder can take it (a portable copy), otherwise Data in
// the user's own data folder (an installed program, in installedIn).
QString catalogueFolder(const QString& programDir, const QString& installedIn);

// The address the about box's link writes to.
inline const QString MaintainersMail = QStringLiteral("maintainers@platterbook.org");

// A message box as it was shown: kind and text (kind 6 has its own text).
struct ShownMessage {
    int kind = 0;
    QString text;
};

// The shared program state: everything the windows share, one object handed to
// every window. Flags hold 1 or 0.
class Module1
{
public:
    explicit Module1(Environment env);

    const Environment& environment() const { return m_env; }
    Settings& settings() { return m_settings; }

    QString dataDir() const;                        // the Data folder, with a trailing '/'
    QString discPathFor(const QString& name) const; // Data/ + name + ".txt"

    // Every change of the catalogue's files goes through it.
    Catalogue& catalogue() { return m_catalogue; }

    // The message for a catalogue file that could not be written.
    static QString writeFailureText(const QString& path, const QString& reason);

    // Catalogue state
    QList<catalogue::DiscRow> Discs;
    int DiscCount = 0;
    int CurrentDisc = 0; // row shown in the main window; -1 once start-up read the index
    QList<catalogue::Track> Tracks;
    int TrackCount = 0;
    int TrackLimit = 0;
    int MainHeight = 0; // twips
    QString IndexPath;
    QString DiscPath;
    int DiscLength = 0; // seconds of the day
    QString NaviSetting;
    QString MonoSetting;
    // The shown disc's file holds fewer whole records than its count: nothing
    // may be written to it until it reads whole.
    bool DiscIncomplete = false;

    // Messages between windows
    int MsgKind = 0;
    QString MsgText;
    QString MsgAnswer;
    int ErrorNumber = 0; // 53 or 76 while the first-run notes are shown

    // Requests
    int CommentsDirty = 0;
    int RemoveMode = 0;
    int EditRow = 0;
    int EditPending = 0;
    int EntryTrack = 0;
    int AddingTracks = 0;
    int NewDiscPending = 0;
    int RemoveDiscPending = 0;
    int DiscRemoved = 0;
    int RemovedDisc = 0;
    bool ShowRemaining = false;

    // Search results: SearchHits[k - 1] is hit k: disc number from 1, position, offset.
    QList<std::array<qint64, 3>> SearchHits;
    QStringList SearchHitDiscs; // the name of each hit's disc at the time of the search
    QString SearchText;         // the text of the last search
    int HitCount = 0;
    int HitPending = 0; // a hit is to be shown: the next cmdUpdate loads its disc
    int SearchFailed = 0;
    int HitIndex = 0;
    int HitField = -1;
    int HitRow = 0;

    // Every message box shown, in order.
    QList<ShownMessage> messagesShown;
    // When set, a message box is not shown: this answers it instead (it may
    // set MsgAnswer). Tests use it to script the answers.
    std::function<void(Module1&)> answerMessage;
    // When 0 or more, catalogue writes stop after that many bytes, as on a
    // full disk.
    qint64 writeFaultAfterBytes = -1;
    // Where set, asked before each catalogue write (and each new file): the
    // number of bytes after which that write stops, or -1 to let it through.
    std::function<qint64(const QString& path)> writeFault;
    // Every catalogue file written, in order.
    QStringList filesWritten;

private:
    Environment m_env;
    Settings m_settings;
    Catalogue m_catalogue{*this};
};
