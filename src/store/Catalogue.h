#pragma once

#include "store/CatalogueFiles.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QMap>
#include <QString>

#include <memory>
#include <optional>

class Module1;
class QLockFile;

// What a change of the catalogue came to.
struct Change {
    // Empty when the change is on disk; otherwise the message for the user.
    QString problem;
    // The change is in the files. A change can be done and still bring a
    // message: a removed disc's file that could not be deleted.
    bool done = false;
    // A file was changed outside the program: nothing was written, and the
    // catalogue is to be read again before the user repeats the change.
    bool changedOutside = false;
};

// Why a text typed for a change is refused: the message, its kind, and
// whether it is about the count (else the name).
struct Refusal {
    int kind = 1;
    QString text;
    bool inCount = false;
};

// Every change of the catalogue, each as one operation. An operation writes
// its files in a fixed order, each replaced atomically, and only after
// checking that the file is still as the program last read or wrote it. It
// changes the shared state only when its files are written; when a write
// fails, the files written before it are put back, so the state and the files
// still agree (and where even that fails, the state is read from the files).
class Catalogue
{
public:
    explicit Catalogue(Module1& state);
    ~Catalogue();

    // ---- one program per catalogue
    enum class Lock {
        Taken,         // this program holds the catalogue
        HeldHere,      // another Platterbook on this computer has it open
        HeldElsewhere, // a lock from another computer (a shared or synced folder)
        Unwritable,    // Data cannot hold a lock: nothing can be written there anyway
    };
    // Takes the lock on the Data folder. A lock left by a program that died on
    // this computer is taken over. host names the other computer.
    Lock lock(QString* host = nullptr);
    // Takes over a lock that another computer left, once the user agreed.
    bool takeOverLock();
    void unlock();
    static QString lockFileName() { return QStringLiteral(".platterbook.lock"); }

    // ---- reading (each read is noted, so that a later write can tell
    // whether the file was changed outside since)
    // A first run: the Data folder, and the empty index. An empty text, or
    // the message.
    QString makeDataFolder();
    QString createIndex();
    // The index; an empty one is the empty catalogue of a first run only
    // while Data holds no disc files, otherwise it is Damaged.
    catalogue::IndexRead readIndex();
    // What is wrong with an index that did not read: "The catalogue index
    // '…' cannot be read: …" or "… is damaged at line N: …", without a
    // closing full stop; empty for an index that read.
    QString indexTrouble(const catalogue::IndexRead& read) const;
    // The notice for an index whose count line is wrong; empty when it is right.
    QString countNotice(const catalogue::IndexRead& read) const;
    // Reads a disc into Tracks, TrackCount and DiscIncomplete, unless the
    // file is missing or unreadable.
    catalogue::DiscRead readDisc(const QString& path, int count);
    // After a change from outside: the index and the disc in Tracks are read
    // again. Typed comments wait on. An empty text, or the message when the
    // index no longer reads (the state then stays as it was).
    QString reload();
    // The file Tracks was read from (or that a new disc's entry fills).
    QString tracksPath() const { return m_tracksPath; }
    // Why the comments of the disc in Tracks cannot be changed (its file is
    // short, or a link out of Data); empty when they can.
    QString readOnlyReason() const;
    // Tracks no longer stands for a file (the disc was removed, or the view
    // keeps no disc).
    void forgetTracks() { m_tracksPath.clear(); }

    // ---- the changes; each returns what it came to
    // Why a new disc of that name and count cannot be made (tested in this
    // order: the name, then the count against TrackLimit); none when it can.
    std::optional<Refusal> refuseNewDisc(const QString& name, const QString& countText) const;
    // A new disc: its empty file, its index entry and its disc length. Then
    // the last row of Discs, DiscPath its file and EntryTrack the planned
    // number of tracks (planned), for the entry of its tracks.
    Change addDisc(const QString& name, const QString& countText, int planned);
    // A whole new disc at once (the command line's disc from files): its
    // file with every track first, then the index, so that a kill at any
    // moment leaves no new disc or the whole one.
    Change addDiscWithTracks(const QString& name, QList<catalogue::Track> tracks);
    // The entry of the new disc's tracks begins: Tracks gets a row for each
    // planned track (EntryTrack hands their number over), EntryTrack is 1.
    void beginEntry();
    // The tracks of a new disc are being entered: Tracks holds them.
    bool entering() const;
    // The track EntryTrack of the new disc being entered. EntryTrack moves on
    // to the next track, or to 0 after the last one.
    Change storeEntryTrack(catalogue::Track track);
    // Ends the entry with the tracks stored so far as the whole disc.
    Change keepEntry();
    // Takes the new disc being entered out of the catalogue, with its file
    // and its settings.
    Change dropNewDisc();
    // Appends a track to the disc in row CurrentDisc (file DiscPath).
    Change addTrack(catalogue::Track track);
    Change editTrack(int row, catalogue::Track track);
    Change removeTrack(int row);
    // Removes a disc with its file and settings. DiscRemoved and RemovedDisc
    // tell the view; Tracks is emptied, since the view shows another disc next.
    Change removeDisc(int row);
    // A short disc (fewer whole records than its count) is kept with the
    // records it holds: its count becomes their number.
    Change keepShortDisc(int row);

    // ---- comments typed in the rows of the shown disc wait here until they
    // are written; the boxes show them.
    // A comment is made one line; false for one the code page cannot store.
    bool setComment(int row, const QString& text);
    bool hasComment(int row) const { return m_comments.contains(row); }
    QString comment(int row) const;
    // Writes the shown disc's file with the typed comments.
    Change saveComments();
    void dropComments();

    // Notes how a file is now (after the program wrote it outside this class).
    void note(const QString& path);

private:
    class Batch;
    Lock taken();
    // What the program last read or wrote of a file.
    struct Seen {
        qint64 size = -1;
        QDateTime modified;
        QByteArray bytes;
    };
    bool changedOutside(const QString& path) const;
    // Why a catalogue file must not be written: a link that leads out of
    // Data, or no regular file; empty when it may.
    QString unsafeToWrite(const QString& path) const;
    // Makes every field one line; the message for a character the code page
    // cannot store, or empty.
    static QString storable(catalogue::Track& track);
    void noteBytes(const QString& path, const QByteArray& bytes);
    // The bytes of a catalogue file, noted; none (and why) when it does not read.
    std::optional<QByteArray> readNoted(const QString& path, QString* problem);
    QString writeFile(const QString& path, const QByteArray& bytes);
    qint64 faultFor(const QString& path);
    QString removeFile(const QString& path);
    QList<catalogue::DiscRow> discs() const;
    int rowOf(const QString& name) const;
    void readBack();

    Module1& m_state;
    std::unique_ptr<QLockFile> m_lock;
    QHash<QString, Seen> m_seen;
    QString m_tracksPath;
    QString m_entryName; // the new disc whose tracks are being entered
    QMap<int, QString> m_comments;
    QString m_commentsPath;
};
