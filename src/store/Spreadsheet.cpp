#include "store/Spreadsheet.h"

#include <QStringList>

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

} // namespace spreadsheet
