#pragma once

#include "store/CatalogueFiles.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The catalogue as a spreadsheet: one row per track, discs in index order,
// the columns Disc, Track, Label, Artist, Title, Year, Length, Format,
// Comments under a header row; quoted as RFC 4180 asks, in UTF-8 with a
// byte-order mark (so spreadsheets read accented names right), CR LF line ends.
namespace spreadsheet {

QByteArray catalogueCsv(const QList<catalogue::DiscTracks>& discs);

// A spreadsheet read back as new discs: the header names the columns (in
// any letter case, any order; others are ignored, missing ones empty), the
// rows of a disc are its tracks in file order (or in the order of the Track
// column when there is one), and discs come in the order they first appear.
// Every field is made one line. Quoted as RFC 4180 asks; UTF-8, with or
// without a byte-order mark, or Windows-1252; CR LF, LF or CR line ends.
struct SheetDisc {
    QString name;
    QList<catalogue::Track> tracks;
    QList<int> rows; // each track's row, counted from 1 after the header
};
struct Sheet {
    QList<SheetDisc> discs;
    qsizetype tracks = 0;
    QString problem = {}; // why the spreadsheet cannot be read
};
Sheet readCatalogueCsv(const QByteArray& bytes);
// The same of a file; a device or a pipe is not read, and a file that cannot
// be read is the sheet's problem.
Sheet readCatalogueCsvFile(const QString& path);
// "1 track", "12 tracks"; "2 discs with 12 tracks".
QString tracksText(qsizetype tracks);
QString discsAndTracks(const Sheet& sheet);

} // namespace spreadsheet
