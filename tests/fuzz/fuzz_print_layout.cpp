// The print layout: any tracks and any field choice lay out without fault,
// with one "Track" heading a track for the shown disc.
#include "fuzz/FuzzInput.h"
#include "store/Codepage.h"
#include "store/PrintLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto [choice, rest] = splitInput(data, size);
    QStringList fields;
    for (const char c : choice)
        fields.append(uint8_t(c) % 9 < 7 ? printing::FieldNames.at(uint8_t(c) % 9)
                                         : QStringLiteral("Nothing"));
    const QStringList values = codepage::decode(rest).split(u'\n');
    QList<catalogue::Track> tracks;
    for (qsizetype i = 0; i + 7 <= values.size() && tracks.size() < 25; i += 7) {
        catalogue::Track track;
        for (int f = 0; f < 7; ++f)
            track[f] = values.at(i + f);
        tracks.append(track);
    }
    const QString shown = printing::currentDisc(tracks, fields);
    FUZZ_CHECK(shown.count(QStringLiteral("\r\rTrack ")) >= tracks.size());
    printing::allDiscs({{QStringLiteral("Disc"), tracks}}, fields);
    QList<printing::Hit> hits;
    for (qsizetype i = 0; i < tracks.size(); ++i)
        hits.append({int(i % 3) + 1, QStringLiteral("Disc"), int(i) + 1, tracks.at(i)});
    const QString found = printing::searchResults(QStringLiteral("x"), hits, fields);
    FUZZ_CHECK(found.startsWith(QStringLiteral("<< Search for:   'x' >>")));
    return 0;
}
