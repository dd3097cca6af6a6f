#include "printing/PrintLayout.h"

namespace printing {

namespace {

const QChar CR = u'\r';

QString blanks(int n)
{
    return QString(n, u' ');
}

QString piece(int field, const QString& value, int method)
{
    switch (field) {
    case 0:
        return value + blanks(8);
    case 1:
        return value + blanks(method == SearchResults ? 10 : 6);
    case 2:
        return value + blanks(8);
    case 3:
        return QStringLiteral("Year: ") + value + blanks(8);
    case 4:
        return QStringLiteral("Length: ") + value + blanks(8);
    case 5:
        return QStringLiteral("Format: ") + value + blanks(8);
    case 6:
        return CR + value;
    default:
        return {};
    }
}

} // namespace

QString trackFields(const catalogue::Track& track, const QStringList& fields, int method)
{
    QString text;
    const bool single = fields.size() == 1;
    for (qsizetype k = 0; k < fields.size(); ++k) {
        if (k == 3)
            text += CR;
        if (method == SearchResults && single)
            text += fields.at(k) + QStringLiteral(":   ");
        const int field = int(FieldNames.indexOf(fields.at(k)));
        if (field >= 0)
            text += piece(field, track[field], method);
        if (method == AllDiscs && single)
            text += CR;
    }
    return text;
}

QString currentDisc(const QList<catalogue::Track>& tracks, const QStringList& fields)
{
    QString text;
    for (qsizetype r = 0; r < tracks.size(); ++r) {
        text += QString(2, CR) + QStringLiteral("Track ") + QString::number(r + 1) + CR;
        text += trackFields(tracks.at(r), fields, CurrentDisc);
    }
    return text;
}

QString allDiscs(const QList<Disc>& discs, const QStringList& fields)
{
    // Room for it all at once: the text grows in step with the catalogue.
    qsizetype room = 0;
    for (const Disc& disc : discs) {
        room += disc.name.size() + 4;
        for (const catalogue::Track& track : disc.tracks)
            for (const QString& value : track)
                room += value.size() + 10;
    }
    QString text;
    text.reserve(room);
    for (const Disc& disc : discs) {
        text += QString(2, CR) + disc.name + QString(2, CR);
        for (const catalogue::Track& track : disc.tracks)
            text += trackFields(track, fields, AllDiscs);
    }
    return text;
}

QString searchResults(const QString& searchText, const QList<Hit>& hits, const QStringList& fields)
{
    QString text;
    int previous = 0;
    for (const Hit& hit : hits) {
        if (hit.disc != previous)
            text += QString(3, CR) + QStringLiteral("Disc Name:    ") + hit.discName + CR;
        text += CR + QStringLiteral("Track ") + QString::number(hit.track) + CR;
        text += trackFields(hit.fields.value_or(catalogue::Track{}), fields, SearchResults);
        previous = hit.disc;
    }
    return QStringLiteral("<< Search for:   '") + searchText + QStringLiteral("' >>") + text;
}

} // namespace printing
