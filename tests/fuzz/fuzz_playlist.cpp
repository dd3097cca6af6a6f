// The playlist readers (M3U, M3U8, PLS and XSPF, picked by the first byte):
// every entry's fields are one line each, and a length is m:ss.
#include "fuzz/FuzzInput.h"
#include "store/Codepage.h"
#include "store/Playlist.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    using playlist::Kind;
    const Kind kind = std::array{Kind::M3u, Kind::M3u8, Kind::Pls, Kind::Xspf}[data[0] % 4];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    // No file system: every other path counts as there.
    const playlist::List list = playlist::parse(
        bytes, kind, QStringLiteral("fuzz"),
        [](const QString& written) { return written.size() % 2 ? written : QString(); }, {});
    for (const playlist::Entry& entry : list.entries) {
        for (const QString& field : entry.track)
            FUZZ_CHECK(codepage::oneLine(field) == field);
        FUZZ_CHECK(entry.track[4].isEmpty() || entry.track[4].contains(u':'));
        FUZZ_CHECK(!entry.fromSheet);
    }
    return 0;
}
