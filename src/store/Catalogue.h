#pragma once

#include "store/CatalogueFiles.h"
#include "store/History.h"
#include "store/Songs.h"
#include "store/Spreadsheet.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class Module1;
struct SharedState;
class QLockFile;

// What a change of the catalogue came to.
struct Change {
    // Empty when the change is on disk; otherwise the message for the user.
    QString problem;
    // The change is in the files. A change can be done and still bring a
    // message: a removed disc's file that could not be deleted.
    bool done = false;
    // A file was changed outside the program: nothing was written, and the
    // catalogue is to be read again (reload()) before the user repeats it.
    bool changedOutside = false;
};

// Why a text typed for a change is refused: the message, its kind, and
// whether it is about the count (else the name).
struct Refusal {
    int kind = 1;
    QString text;
    bool inCount = false;
};

// The catalogue: the one writer of the shared state and of the catalogue's
// files. Every change is one operation: it writes its files in a fixed order,
// each replaced atomically, and only after checking that the file is still as
// the program last read or wrote it. The state changes only once the files
// are written; when a write fails, the files written before it are put back
// (and where even that fails, the state is read from the files). What
// changed is told by the signals, after the state holds it.
class Catalogue : public QObject
{
    Q_OBJECT
public:
    Catalogue(Module1& program, SharedState& state);
    ~Catalogue() override;

    // ---- opening
    struct Opening {
        enum Status {
            Opened,        // the catalogue is open (notice: a count line that was wrong)
            NoFolder,      // a first run: no Data folder
            NoIndex,       // a first run: Data without its index
            HeldHere,      // another Platterbook on this computer has it open
            HeldElsewhere, // a lock from the computer host (a shared or synced folder)
            Refused,       // text says why it cannot be opened; nothing was written
        };
        Status status = Opened;
        QString text = {};
        QString host = {};
        QString notice = {};
    };
    // Takes the lock on Data and reads the index, deciding what a missing or
    // damaged catalogue means. A folder that cannot hold a lock (read-only
    // media) opens without one: nothing can be written there either.
    Opening open();
    // A first run, once the user agreed: the Data folder, the lock and the
    // empty index. An empty text, or the message.
    QString createCatalogue();
    // Takes over a lock that another computer left, once the user agreed;
    // open() then goes on.
    bool takeOverLock();
    void unlock();
    static QString lockFileName() { return QStringLiteral(".platterbook.lock"); }
    // The most tracks a new disc may plan on this screen.
    void setTrackLimit(int limit);

    // ---- showing and reading
    // Shows the disc in row: its tracks, count and length (a disc shown for
    // the first time gets the default length). Comments typed on the disc
    // shown so far are written first. A disc whose count is no number from 0
    // to 25, or whose file cannot be read, stays unshown with the message.
    Change showDisc(int row);
    // Why the comments of the shown disc cannot be changed (its file is
    // short, or a link out of Data); empty when they can.
    QString readOnlyReason() const;
    // The tracks of the disc in row as printing and the spreadsheet take them.
    catalogue::DiscTracks discTracks(int row) const;
    QList<catalogue::DiscTracks> allDiscs() const;
    // Every hit of the text in the catalogue's files, as they lie on disk,
    // into SearchHits; the number of hits.
    int search(const QString& text);
    // Every track of the catalogue that is the same song as the artist and
    // title given, in catalogue order. The first question reads every disc;
    // each change keeps the answer up to date after that.
    QList<songs::Index::Hit> sameSong(const QString& artist, const QString& title);
    // The duplicate tracks of the whole catalogue, or its figures, a line
    // each, each ending in LF, in pieces to be put one after another;
    // problems names the discs whose files could not be read whole.
    struct Report {
        QStringList text;
        QStringList problems;
    };
    enum class ReportKind { Duplicates, Statistics };
    Report report(ReportKind kind) const;
    // After a change from outside: the index and the shown disc are read
    // again; typed comments wait on. An empty text, or the message when the
    // index no longer reads (the state then stays as it was).
    QString reload();
    // The file that the comments and changes of tracks go to.
    QString tracksPath() const { return m_tracksPath; }

    // ---- the changes
    // Why a new disc of that name and count cannot be made (tested in this
    // order: the name, then the count against TrackLimit); none when it can.
    std::optional<Refusal> refuseNewDisc(const QString& name, const QString& countText) const;
    // A new disc: its empty file, its index entry and its disc length. The
    // entry of its planned tracks begins (EntryTrack 1).
    Change addDisc(const QString& name, const QString& countText);
    // A whole new disc at once (the command line's disc from files): its
    // file with every track first, then the index, so that a kill at any
    // moment leaves no new disc or the whole one.
    Change addDiscWithTracks(const QString& name, QList<catalogue::Track> tracks);
    // New discs from a spreadsheet, all or none: each tested as a new disc
    // with its tracks is (the first refusal names its row), every disc file
    // written before the index that lists them, and one step in the history.
    // The first new disc is shown.
    Change importDiscs(const QList<spreadsheet::SheetDisc>& sheet);
    // The tracks of a new disc are being entered.
    bool entering() const { return !m_entryName.isEmpty(); }
    // How many tracks the disc being entered has still to take, this one included.
    int entryRoom() const;
    // The tracks of the new disc stored so far.
    QList<catalogue::Track> entryTracks() const { return m_entryTracks; }
    // Track EntryTrack of the new disc being entered. EntryTrack moves on to
    // the next track; after the last one the entry ends and the new disc is shown.
    Change storeEntryTrack(catalogue::Track track);
    // Ends the entry with the tracks stored so far as the whole disc, and
    // shows it.
    Change keepEntry();
    // Takes the new disc being entered out of the catalogue, with its file
    // and its settings.
    Change dropNewDisc();
    // Appends a track to the shown disc, edits or removes one of its tracks.
    Change addTrack(catalogue::Track track);
    Change editTrack(int row, catalogue::Track track);
    Change removeTrack(int row);
    // Removes a disc with its file and settings; the first disc is shown next.
    Change removeDisc(int row);
    // The shown disc is short (fewer whole records than its count): it is
    // kept with the records it holds, its count becomes their number.
    Change keepShortDisc();
    // The shown disc's length (a time text as typed) and mono mark.
    Change setDiscOptions(const QString& length, bool mono);

    // ---- the session's history: every change above is a step that can be
    // taken back and done again, each written as a change of its own. Comments
    // typed and not yet written are written first, as a step of their own.
    // Nothing happens while a new disc's tracks are entered, or with no
    // step to take. A file changed outside the program since the step
    // empties the history.
    Change undo();
    Change redo();
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }

    // ---- comments typed in the rows of the shown disc wait here until they
    // are written; the boxes show them. A comment is made one line; false
    // for one the code page cannot store.
    bool setComment(int row, const QString& text);
    QString comment(int row) const;
    // Writes the shown disc's file with the typed comments.
    Change saveComments();
    void dropComments();

signals:
    // The list of discs is new (the catalogue was opened or read again).
    void catalogueReset();
    void discAdded(int row);
    void discRemoved(int row);
    // The disc in row is shown now; -1: none is.
    void discShown(int row);
    // The shown disc's tracks, count or length changed.
    void tracksChanged();

private:
    class Batch;
    // What the program last read or wrote of a file.
    struct Seen {
        qint64 size = -1;
        QDateTime modified;
        QByteArray bytes;
    };
    Opening::Status lock(QString* host);
    Opening::Status taken();
    catalogue::IndexRead readIndex();
    // What is wrong with an index that did not read, without a closing full stop.
    QString indexTrouble(const catalogue::IndexRead& read) const;
    std::optional<QByteArray> readNoted(const QString& path, QString* problem);
    bool changedOutside(const QString& path) const;
    // Why a catalogue file must not be written: a link that leads out of
    // Data, or no regular file; empty when it may.
    QString unsafeToWrite(const QString& path) const;
    // Makes every field one line; the message for a character the code page
    // cannot store, or empty.
    static QString storable(catalogue::Track& track);
    void noteBytes(const QString& path, const QByteArray& bytes);
    QString writeFile(const QString& path, const QByteArray& bytes);
    qint64 faultFor(const QString& path);
    QString removeFile(const QString& path);
    QList<catalogue::DiscRow> discs() const;
    int rowOf(const QString& name) const;
    // The shown disc's tracks, read from its file; false when it cannot be read.
    bool readShown(int row, QString* problem);
    void showNone();
    void endEntry();
    void readBack();
    // The disc on show, by name; empty when none is.
    QString shownName() const;
    // The file as it is now: its bytes, or none when there is no file; false
    // when it cannot be read. The bytes last seen stand for a file whose
    // size and time stamp are as seen (a change checks its files first).
    bool fileNow(const QString& path, std::optional<QByteArray>* bytes);
    // Records a change as a step, with the disc shown after it.
    void record(history::Step step);
    // Empties the history: the files no longer match its steps.
    void forgetSteps();
    Change takeStep(bool back);
    // Tells the views how the list of discs changed from before to what it is now.
    void tellDiscs(const QList<catalogue::DiscRow>& before);

    Module1& m_program;
    SharedState& m_s;
    std::unique_ptr<QLockFile> m_lock;
    QHash<QString, Seen> m_seen;
    QString m_tracksPath;
    QString m_entryName; // the new disc whose tracks are being entered
    int m_entryPlanned = 0;
    QList<catalogue::Track> m_entryTracks;
    history::Step m_entryStep;              // the new disc's step, as it began
    std::optional<QByteArray> m_entryIndex; // the index before the new disc
    history::History m_history;
    songs::Index m_songs;
    // The songs of every disc's file, by the disc's name.
    QList<std::pair<QString, QList<songs::Song>>> songsOfEveryDisc() const;
    // The records a disc's file is read for: its count, or the most a disc
    // holds when its count is no number from 1 to 25.
    int recordsOf(int row) const;
    // What is said of a disc whose file cannot be read, or holds fewer
    // records than its count (empty when it holds them all).
    QString readProblem(int row, const QString& reason) const;
    QString shortProblem(int row, int held) const;
    QMap<int, QString> m_comments;
    QString m_commentsPath;
};
