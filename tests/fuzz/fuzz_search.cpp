// The search over a file text: every hit it records ends where the search text
// stands, whatever the letter case, and its cell is found.
#include "fuzz/FuzzInput.h"
#include "store/Codepage.h"
#include "store/Search.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto [needleBytes, textBytes] = splitInput(data, size);
    const QString needle = codepage::decode(needleBytes);
    const QString text = codepage::decode(textBytes);
    QList<search::HitRow> hits;
    for (const qint64 p : search::positionsIn(text, needle))
        hits.append({1, p, 0});
    search::fillOffsets(hits, needle.size());
    qint64 previous = 0;
    for (const search::HitRow& hit : hits) {
        const qint64 end = hit[1] + hit[2];
        FUZZ_CHECK(end > previous && end <= text.size());
        FUZZ_CHECK(QStringView(text)
                       .mid(end - needle.size(), needle.size())
                       .compare(needle, Qt::CaseInsensitive) == 0);
        const std::optional<int> cell = search::cellOf(text, end, needle);
        FUZZ_CHECK(cell.has_value() || text.count(u'\n') + text.count(u'\r') >= 1000);
        previous = end;
    }
    return 0;
}
