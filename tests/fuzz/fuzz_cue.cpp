// The cue sheet reader: one entry a TRACK, fields one line each, and no
// length below zero, whatever the INDEX times and the file's own length.
#include "fuzz/FuzzInput.h"
#include "store/Codepage.h"
#include "store/Playlist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const qint64 fileLength = qint64(int8_t(data[0])) * 5000; // negative: unreadable
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const playlist::List list = playlist::parse(
        bytes, playlist::Kind::Cue, QStringLiteral("fuzz.cue"),
        [](const QString& written) { return written; },
        [fileLength](const QString&) { return fileLength; });
    FUZZ_CHECK(list.entries.size() <=
               bytes.count("TRACK") + bytes.count("track") + bytes.size() / 6);
    for (const playlist::Entry& entry : list.entries) {
        FUZZ_CHECK(entry.fromSheet);
        for (const QString& field : entry.track)
            FUZZ_CHECK(codepage::oneLine(field) == field);
        FUZZ_CHECK(!entry.track[4].startsWith(u'-'));
    }
    return 0;
}
