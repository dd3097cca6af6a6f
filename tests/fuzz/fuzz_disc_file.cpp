// The disc file reader: never more records than the count, and the records it
// reads write back to the same records.
#include "fuzz/FuzzInput.h"
#include "store/CatalogueFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int count = int(int8_t(data[0])); // -128 .. 127, out of range ones too
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const catalogue::DiscRead read = catalogue::parseDiscFile(bytes, count);
    FUZZ_CHECK(read.tracks.size() <= std::max(count, 0));
    FUZZ_CHECK((read.status == catalogue::DiscRead::Whole) ==
               (read.tracks.size() == std::max(count, 0)));
    const catalogue::DiscRead again =
        catalogue::parseDiscFile(catalogue::discBytes(read.tracks), int(read.tracks.size()));
    FUZZ_CHECK(again.status == catalogue::DiscRead::Whole);
    FUZZ_CHECK(again.tracks == read.tracks);
    return 0;
}
