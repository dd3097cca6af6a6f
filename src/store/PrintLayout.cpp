#include "store/PrintLayout.h"

namespace printing {

namespace {

const QChar CR = u'\r';

// Appends the fields of one track in the chosen order to text.
void appendFields(QString& text, const catalogue::Track& track, const QStringList& fields,
                  int method)
{
    const bool single = fields.size() == 1;
    for (qsizetype k = 0; k < fields.size(); ++k) {
        if (k == 3)
            text += CR;
        if (method == SearchResults && single)
            text.append(fields.at(k)).append(QLatin1StringView(":   "));
        const int field = int(FieldNames.indexOf(fields.at(k)));
        const QString value = field >= 0 ? track[field] : QString();
        switch (field) {
        case 0:
        case 2:
            text.append(value).append(QString(8, u' '));
            break;
        case 1:
            text.append(value).append(QString(method == SearchResults ? 10 : 6, u' '));
            break;
        case 3:
            text.append(QLatin1StringView("Year: ")).append(value).append(QString(8, u' '));
            break;
        case 4:
            text.append(QLatin1StringView("Length: ")).append(value).append(QString(8, u' '));
            break;
        case 5:
            text.append(QLatin1StringView("Format: ")).append(value).append(QString(8, u' '));
            break;
        case 6:
            text.append(CR).append(value);
            break;
        default:
            break;
        }
        if (method == AllDiscs && single)
            text += CR;
    }
}

} // namespace

QString trackFields(const catalogue::Track& track, const QStringList& fields, int method)
{
    QString text;
    appendFields(text, track, fields, method);
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

QString allDiscs(const QList<catalogue::DiscTracks>& discs, const QStringList& fields)
{
    // Room for it all at once: the text grows in step with the catalogue.
    qsizetype room = 0;
    for (const catalogue::DiscTracks& disc : discs) {
        room += disc.name.size() + 4;
        for (const catalogue::Track& track : disc.tracks)
            for (const QString& value : track)
                room += value.size() + 10;
    }
    QString text;
    text.reserve(room);
    for (const catalogue::DiscTracks& disc : discs) {
        text.append(CR).append(CR).append(disc.name).append(CR).append(CR);
        for (const catalogue::Track& track : disc.tracks)
            appendFields(text, track, fields, AllDiscs);
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
