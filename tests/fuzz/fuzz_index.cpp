// The index reader: never crashes, and what it reads whole writes back to the
// same reading.
#include "fuzz/FuzzInput.h"
#include "store/CatalogueFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const catalogue::IndexRead read = catalogue::parseIndex(bytes);
    if (read.status == catalogue::IndexRead::Ok) {
        for (const catalogue::DiscRow& disc : read.discs)
            FUZZ_CHECK(catalogue::isReadableName(disc.name));
        const catalogue::IndexRead again = catalogue::parseIndex(catalogue::indexBytes(read.discs));
        FUZZ_CHECK(again.status == catalogue::IndexRead::Ok);
        FUZZ_CHECK(again.discs == read.discs);
    } else {
        FUZZ_CHECK(read.discs.isEmpty());
        FUZZ_CHECK(read.line >= 1);
    }
    return 0;
}
