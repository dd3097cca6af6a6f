#include "store/Spreadsheet.h"

#include "store/Codepage.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <numeric>

namespace spreadsheet {

namespace {

QString field(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') &&
        !text.contains(u'\n'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

QByteArray catalogueCsv(const QList<catalogue::DiscTracks>& discs)
{
    QString text = QStringLiteral("Disc,Track,Label,Artist,Title,Year,Length,Format,Comments\r\n");
    for (const catalogue::DiscTracks& disc : discs) {
        for (qsizetype t = 0; t < disc.tracks.size(); ++t) {
            QStringList row = {field(disc.name), QString::number(t + 1)};
            for (const QString& value : disc.tracks.at(t))
                row.append(field(value));
            text += row.join(u',') + QStringLiteral("\r\n");
        }
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

namespace {

// The records of a spreadsheet's text, each a list of its fields.
QList<QStringList> records(const QString& text)
{
    QList<QStringList> all;
    QStringList record;
    QString value;
    bool quoted = false;
    bool any = false; // the record has a field, even an empty one
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != u'"')
                value += c;
            else if (i + 1 < text.size() && text.at(i + 1) == u'"')
                value += text.at(++i);
            else
                quoted = false;
        } else if (c == u'"') {
            quoted = any = true;
        } else if (c == u',') {
            record.append(std::exchange(value, {}));
            any = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            if (any || !value.isEmpty()) {
                record.append(std::exchange(value, {}));
                all.append(std::exchange(record, {}));
            }
            any = false;
        } else {
            value += c;
        }
    }
    if (any || !value.isEmpty()) {
        record.append(value);
        all.append(record);
    }
    return all;
}

} // namespace

Sheet readCatalogueCsvFile(const QString& path)
{
    const std::optional<QByteArray> bytes =
        QFileInfo(path).isFile() ? catalogue::readFileBytes(path) : std::nullopt;
    if (!bytes)
        return {{},
                0,
                QStringLiteral("The spreadsheet '%1' cannot be read.")
                    .arg(QDir::toNativeSeparators(path))};
    return readCatalogueCsv(*bytes);
}

QString tracksText(qsizetype tracks)
{
    return tracks == 1 ? QStringLiteral("1 track") : QStringLiteral("%1 tracks").arg(tracks);
}

QString discsAndTracks(const Sheet& sheet)
{
    return (sheet.discs.size() == 1 ? QStringLiteral("1 disc")
                                    : QStringLiteral("%1 discs").arg(sheet.discs.size())) +
           QStringLiteral(" with ") + tracksText(sheet.tracks);
}

Sheet readCatalogueCsv(const QByteArray& bytes)
{
    Sheet sheet;
    const QList<QStringList> rows = records(codepage::decodeText(bytes, false));
    static const QStringList names = {"label",  "artist", "title",   "year",
                                      "length", "format", "comments"};
    int disc = -1;
    int number = -1;
    std::array<int, catalogue::FieldCount> fields;
    fields.fill(-1);
    for (qsizetype c = 0; !rows.isEmpty() && c < rows.first().size(); ++c) {
        const QString column = rows.first().at(c).trimmed().toLower();
        if (const qsizetype f = names.indexOf(column); f >= 0 && fields[f] < 0)
            fields[f] = int(c);
        else if (column == u"disc" && disc < 0)
            disc = int(c);
        else if (column == u"track" && number < 0)
            number = int(c);
    }
    if (disc < 0) {
        sheet.problem = QStringLiteral("The spreadsheet has no Disc column in its first row.");
        return sheet;
    }
    QHash<QString, qsizetype> at; // a disc's place among the discs, by its name
    QList<QList<double>> numbers; // each track's number, for the order
    for (qsizetype r = 1; r < rows.size(); ++r) {
        const QStringList& row = rows.at(r);
        if (std::all_of(row.cbegin(), row.cend(),
                        [](const QString& v) { return v.trimmed().isEmpty(); }))
            continue; // a row left empty, as spreadsheets end
        const QString name = codepage::oneLine(row.value(disc));
        catalogue::Track track;
        for (int f = 0; f < catalogue::FieldCount; ++f)
            track[f] = codepage::oneLine(row.value(fields[f]));
        qsizetype d = at.value(name, -1);
        if (d < 0) {
            d = sheet.discs.size();
            at.insert(name, d);
            sheet.discs.append({name, {}, {}});
            numbers.append(QList<double>());
        }
        sheet.discs[d].tracks.append(track);
        sheet.discs[d].rows.append(int(r));
        const catalogue::LeadingNumber n = catalogue::leadingNumber(row.value(number));
        numbers[d].append(number >= 0 && n.found ? n.value : 1e300);
        ++sheet.tracks;
    }
    // The Track column orders a disc's tracks; rows without a number keep their place after them.
    for (qsizetype d = 0; d < sheet.discs.size() && number >= 0; ++d) {
        SheetDisc& found = sheet.discs[d];
        QList<qsizetype> order(found.tracks.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&numbers, d](qsizetype a, qsizetype b) {
            return numbers[d][a] < numbers[d][b];
        });
        SheetDisc sorted{found.name, {}, {}};
        for (const qsizetype k : order) {
            sorted.tracks.append(found.tracks[k]);
            sorted.rows.append(found.rows[k]);
        }
        found = sorted;
    }
    return sheet;
}

} // namespace spreadsheet
