#pragma once

#include <QByteArray>
#include <QString>

#include <cmath>

#include <cstddef>
#include <cstdint>

// Splits a fuzzer's bytes into pieces: the first byte picks a split point.
inline std::pair<QByteArray, QByteArray> splitInput(const uint8_t* data, size_t size)
{
    const QByteArray all(reinterpret_cast<const char*>(data), qsizetype(size));
    if (all.isEmpty())
        return {};
    const qsizetype at = qsizetype(uint8_t(all.at(0))) % all.size();
    return {all.mid(1, at), all.mid(1 + at)};
}

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            __builtin_trap();                                                                      \
    } while (false)
