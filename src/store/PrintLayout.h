#pragma once

#include "store/CatalogueFiles.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The text that is printed: plain text with CR as the only line break and runs
// of blanks after each value. Built from the chosen fields in their order.
namespace printing {

enum Method { CurrentDisc = 1, SearchResults = 2, AllDiscs = 3 };

inline const QStringList FieldNames = {QStringLiteral("Label"),   QStringLiteral("Artist"),
                                       QStringLiteral("Title"),   QStringLiteral("Date"),
                                       QStringLiteral("Length"),  QStringLiteral("Format"),
                                       QStringLiteral("Comments")};

// The fields of one track in the chosen order.
QString trackFields(const catalogue::Track& track, const QStringList& fields, int method);

// Method 1: every track of the shown disc under its "Track n" heading.
QString currentDisc(const QList<catalogue::Track>& tracks, const QStringList& fields);

// Method 3: every disc's name and the tracks its file holds (a disc whose
// file cannot be read prints its heading alone).
QString allDiscs(const QList<catalogue::DiscTracks>& discs, const QStringList& fields);

// One hit as printed with method 2: its disc (number from 1 and name) and the
// track that holds it (from 1), with that track's fields when it exists.
struct Hit {
    int disc = 0;
    QString discName;
    int track = 0;
    std::optional<catalogue::Track> fields;
};
QString searchResults(const QString& searchText, const QList<Hit>& hits, const QStringList& fields);

} // namespace printing
