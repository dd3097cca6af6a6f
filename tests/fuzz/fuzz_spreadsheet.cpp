// The spreadsheet reader: every track counted once with its row, every
// field one line, and what it read writes out and reads back the same.
#include "fuzz/FuzzInput.h"
#include "store/Codepage.h"
#include "store/Spreadsheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const spreadsheet::Sheet sheet = spreadsheet::readCatalogueCsv(bytes);
    qsizetype tracks = 0;
    QList<catalogue::DiscTracks> discs;
    for (const spreadsheet::SheetDisc& disc : sheet.discs) {
        FUZZ_CHECK(disc.rows.size() == disc.tracks.size() && !disc.tracks.isEmpty());
        FUZZ_CHECK(codepage::oneLine(disc.name) == disc.name);
        for (const catalogue::Track& track : disc.tracks)
            for (const QString& field : track)
                FUZZ_CHECK(codepage::oneLine(field) == field);
        tracks += disc.tracks.size();
        discs.append({disc.name, disc.tracks});
    }
    FUZZ_CHECK(tracks == sheet.tracks);
    if (!sheet.problem.isEmpty())
        return 0;
    const spreadsheet::Sheet again =
        spreadsheet::readCatalogueCsv(spreadsheet::catalogueCsv(discs));
    FUZZ_CHECK(again.tracks <= sheet.tracks);
    for (qsizetype d = 0; d < again.discs.size() && again.tracks == sheet.tracks; ++d)
        FUZZ_CHECK(again.discs[d].tracks == sheet.discs[d].tracks);
    return 0;
}
