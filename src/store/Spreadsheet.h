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

} // namespace spreadsheet
