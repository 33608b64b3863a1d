#pragma once

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the fuzz targets share: the input as bytes, and the way a broken promise ends the run.
namespace zq::fuzz {

// The input without a copy, so a read past its end is caught by the address sanitizer.
inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A choice for inputs of any format, taken from the last byte so seeds keep their shape.
inline unsigned lastByte(const uint8_t *data, size_t size)
{
    return size == 0 ? 0u : data[size - 1];
}

// Aborts, so libFuzzer keeps the input and the replay driver fails after naming it.
[[noreturn]] inline void fail(const char *what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

inline void check(bool condition, const char *what)
{
    if (!condition)
        fail(what);
}

} // namespace zq::fuzz
