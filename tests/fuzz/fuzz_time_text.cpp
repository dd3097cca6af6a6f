// Time texts: whatever parses lies within a day and formats back to itself.
#include "fuzz/FuzzInput.h"
#include "store/TimeText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const std::optional<int> seconds = timetext::parse(text)) {
        FUZZ_CHECK(*seconds >= 0 && *seconds < 86400);
        FUZZ_CHECK(timetext::parse(timetext::format(*seconds)) == seconds);
        const QString minutes = timetext::minutesForm(*seconds);
        FUZZ_CHECK(minutes.size() >= 5 && minutes.at(minutes.size() - 3) == u':');
    }
    if (const std::optional<int> length = timetext::trackLength(text))
        FUZZ_CHECK(*length >= 0 && *length < 3600);
    return 0;
}
