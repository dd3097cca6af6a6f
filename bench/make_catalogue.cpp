// Writes a realistic catalogue for the benchmarks, the same for the same seed:
// N discs of 1 to 25 tracks with accented names, in the catalogue's exact
// formats (Windows-1252, CR LF), and a settings file in which every disc has
// its disc length, as when each was shown once.
//
//   make_catalogue DATA_DIR SETTINGS_FILE DISCS SEED
#include "store/CatalogueFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QSettings>

#include <cstdio>

namespace {

const QStringList Words = {
    "Summer", "Night",  "Drive",    "Café",      "Blue",  "Rain",     "Soul",  "Beach",
    "Party",  "Winter", "Warmers",  "Road",      "Trip",  "Chansons", "Señor", "Kitchen",
    "Radio",  "Mix",    "Classics", "Motörhead", "Björk", "Déjà",     "Vu",    "Lost",
    "Tapes",  "Golden", "Hour",     "Fiesta",    "Naïve", "Sessions", "Live",  "Archive"};
const QStringList Labels = {"Tidewater", "Meridian",       "Bellwether",       "Kestrel Sound",
                            "Coastline", "Harbour Lights", "Éditions Lumière", "Ørsted Records"};
const QStringList Artists = {"The Low Harbour", "Ana Lucía Prado", "Gus & the Northern Lights",
                             "Mireille Dubois", "Kenji Aoyama",    "Rosa Lindqvist",
                             "Fathom",          "Dune Orchestra",  "Odile & Marcel",
                             "Zoë Ångström"};
const QStringList Formats = {"LP", "EP", "Promo", "Single", "CD"};

QString pick(QRandomGenerator& random, const QStringList& list)
{
    return list.at(int(random.bounded(quint32(list.size()))));
}

QString words(QRandomGenerator& random, int n)
{
    QStringList out;
    for (int i = 0; i < n; ++i)
        out.append(pick(random, Words));
    return out.join(u' ');
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: make_catalogue DATA_DIR SETTINGS_FILE DISCS SEED\n");
        return 2;
    }
    const QString data = QString::fromLocal8Bit(argv[1]);
    const int count = QString::fromLocal8Bit(argv[3]).toInt();
    QRandomGenerator random(QString::fromLocal8Bit(argv[4]).toUInt());
    QDir().mkpath(data);
    QSettings settings(QString::fromLocal8Bit(argv[2]), QSettings::IniFormat);
    QList<catalogue::DiscRow> rows;
    QSet<QString> taken;
    for (int d = 0; d < count; ++d) {
        QString name;
        do
            name = words(random, 2 + int(random.bounded(3))) + u' ' +
                   QString::number(random.bounded(100000));
        while (taken.contains(name.toLower()));
        taken.insert(name.toLower());
        QList<catalogue::Track> tracks;
        const int n = 1 + int(random.bounded(25));
        for (int t = 0; t < n; ++t)
            tracks.append({pick(random, Labels), pick(random, Artists),
                           words(random, 1 + int(random.bounded(4))),
                           QString::number(1950 + random.bounded(75)),
                           QStringLiteral("%1:%2")
                               .arg(1 + random.bounded(7))
                               .arg(random.bounded(60), 2, 10, QChar(u'0')),
                           pick(random, Formats),
                           random.bounded(4) ? QString() : words(random, 2)});
        QFile file(data + u'/' + name + QStringLiteral(".txt"));
        if (!file.open(QIODevice::WriteOnly) || file.write(catalogue::discBytes(tracks)) < 0)
            return 1;
        rows.append({name, QString::number(n)});
        settings.setValue(name + QStringLiteral("/disclen"), QStringLiteral("01:14:00"));
    }
    QFile index(data + QStringLiteral("/index.txt"));
    if (!index.open(QIODevice::WriteOnly) || index.write(catalogue::indexBytes(rows)) < 0)
        return 1;
    settings.sync();
    return settings.status() == QSettings::NoError ? 0 : 1;
}
