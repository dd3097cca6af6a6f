#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The catalogue on disk: Data/index.txt lists the discs, and one file per disc
// holds its tracks, seven lines a track. Windows-1252 text with CR LF line ends.
namespace catalogue {

constexpr int FieldCount = 7;
constexpr int MaxTracks = 25;

// One line of the disc table: the name and the track count as it is written
// in the index (the count the user typed for a new disc, digits otherwise).
struct DiscRow {
    QString name;
    QString count;
    bool operator==(const DiscRow&) const = default;
};

// One track: label, artist, title, date, length, format, comments.
using Track = std::array<QString, FieldCount>;

// The number at the start of a text: leading blanks skipped, an optional sign,
// digits and an optional fraction. found is false when the text does not begin
// with a number.
struct LeadingNumber {
    bool found = false;
    double value = 0.0;
};
LeadingNumber leadingNumber(const QString& text);

// Rounds half to even, as the catalogue's counts have always been rounded.
// Empty when the result lies outside the 16-bit range: such a number is out of
// every range the program accepts, never wrapped.
std::optional<int> roundToInt16(double value);

// The track count a count text stands for: its leading number rounded, 0 when
// the text does not begin with a number ("12 songs" is 12), empty when the
// number lies beyond 16 bits.
std::optional<int> countOf(const QString& countText);

// A name as read from the index: it must not lead outside Data nor onto the
// index itself. Anything else reads as it is.
bool isReadableName(const QString& name);

// Why a name cannot be given to a new disc; None when it can.
enum class NameProblem {
    None,
    Separator,     // '/', '\' or NUL
    IndexName,     // "index" in any letter case
    ForbiddenChar, // one of : * ? " < > |
    ControlChar,
    ReservedName, // CON, PRN, AUX, NUL, COM1..9, LPT1..9
    NotInCodepage,
    TooLong, // more than MaxNameBytes in UTF-8, as Linux names files
};
constexpr int MaxNameBytes = 240;
NameProblem newNameProblem(const QString& name);

// The source formats a track may have, in the order of their list.
inline const QStringList Formats = {QStringLiteral("CD"), QStringLiteral("EP"),
                                    QStringLiteral("LP"), QStringLiteral("Promo"),
                                    QStringLiteral("Single")};
// The format a typed text stands for: a code ("l", "lp", "e", "ep", "p", "s",
// "c", "cd", in exactly that case) or an entry itself; none for anything else.
std::optional<QString> formatFor(const QString& typed);

// The exact bytes of the index for a disc table: " N " then name and count lines.
QByteArray indexBytes(const QList<DiscRow>& discs);
// The exact bytes of a disc file: seven lines a track, an empty field an empty line.
QByteArray discBytes(const QList<Track>& tracks);

// Replaces the file at path with bytes atomically: the new content is written
// beside it and renamed over it, so the file holds its old content or the new
// one, never part of either. Returns an empty string on success, otherwise the
// reason. failAfterBytes >= 0 makes the write stop after that many bytes, as a
// full disk would (used to prove that a short write never lands).
// Why a file could not be read or written, to stand inside a sentence: the
// system's words without the full stop Windows ends them with.
QString reasonOf(const QFileDevice& file);

QString writeAtomically(const QString& path, const QByteArray& bytes, qint64 failAfterBytes = -1);

// Writes a file the user asked for (a spreadsheet, an inlay, a print-out to
// a file). A regular file, or a new one, is replaced atomically as above;
// links are followed as a shell's redirection follows them. Anything else (a
// device, a pipe, the program's own output under /dev or /proc) is written
// to as it stands, never replaced. Empty on success, otherwise the reason.
QString writeForUser(const QString& path, const QByteArray& bytes);

// Creates an empty file; never touches a file that exists. Empty string on success.
QString createEmptyFile(const QString& path);

struct IndexRead {
    enum Status { Ok, Missing, Unreadable, Damaged };
    Status status = Ok;
    QList<DiscRow> discs;
    int line = 0;    // the line at fault when Damaged
    QString problem; // what is wrong, for the message
    // The count the first line gave, when it is not the number of discs the
    // index lists: every whole pair is read, and the next write of the index
    // puts the right count.
    std::optional<int> wrongCount = {};
};
// Reads the whole index. A zero-byte index is an empty catalogue. The first
// line must be a count from 0 to 32767 and every name must be readable;
// otherwise the index is Damaged and nothing of it is to be trusted. Every
// whole pair of lines is a disc, also past the count (a pair whose name is
// empty ends the list): a count that differs from the pairs is noted in
// wrongCount.
IndexRead readIndex(const QString& path);
// The same reading of an index's bytes.
IndexRead parseIndex(const QByteArray& bytes);

struct DiscRead {
    enum Status { Whole, Short, Missing, Unreadable };
    Status status = Whole;
    QList<Track> tracks; // the whole records read, at most the count
    QString problem;
};
// Reads count records of a disc file. Short when the file holds fewer whole
// records than the count; lines after the counted records are ignored.
DiscRead readDiscFile(const QString& path, int count);
// The same reading of a disc file's bytes.
DiscRead parseDiscFile(const QByteArray& bytes, int count);

// A disc's tracks as printing, the spreadsheet, the inlay and the command
// line take them: the counted records, or for a count outside 1 to 25 the
// whole records its file holds, at most 25. problem tells (naming the disc
// and its file) when they are not all there.
struct DiscTracks {
    QString name;
    QList<Track> tracks;
    QString problem = {};
};

// The bytes of a whole file, read with as few calls to the system as it
// takes (the search reads every disc's file); empty when it cannot be read,
// and problem then says why.
std::optional<QByteArray> readFileBytes(const QString& path, QString* problem = nullptr);
// How many whole records of a disc file's bytes there are, at most most.
int wholeRecords(QByteArrayView bytes, int most);

// A whole file as one text, line ends included; empty when it cannot be read.
std::optional<QString> readWholeText(const QString& path);

} // namespace catalogue
