// The leading-number rule: counts never wrap, and a number it finds rounds
// into the 16-bit range or is refused.
#include "fuzz/FuzzInput.h"
#include "store/CatalogueFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const catalogue::LeadingNumber number = catalogue::leadingNumber(text);
    const std::optional<int> count = catalogue::countOf(text);
    if (!number.found)
        FUZZ_CHECK(count == 0);
    if (count)
        FUZZ_CHECK(*count >= -32768 && *count <= 32767);
    else
        FUZZ_CHECK(number.found && (number.value < -32768.5 || number.value > 32767.5 ||
                                    !std::isfinite(number.value)));
    return 0;
}
