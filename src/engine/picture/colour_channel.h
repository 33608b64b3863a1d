#pragma once

#include <bit>
#include <cstdint>

namespace zq {

// One colour channel of a bit-field pixel: where its bits lie and how many there are.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};

inline Channel channelOf(uint32_t mask)
{
    Channel c;
    c.mask = mask;
    if (mask == 0)
        return c;
    c.shift = std::countr_zero(mask);
    c.bits = std::popcount(mask);
    return c;
}

// The channel's value in a pixel, scaled to 0..255.
inline int expandChannel(uint32_t pixel, const Channel &c)
{
    if (c.bits == 0)
        return 0;
    uint32_t v = (pixel & c.mask) >> c.shift;
    if (c.bits >= 8)
        return int(v >> (c.bits - 8));
    uint32_t max = (1u << c.bits) - 1;
    return int((v * 255 + max / 2) / max);
}

// A 0..255 value in the channel's bits of a pixel.
inline uint32_t packChannel(int value, const Channel &c)
{
    if (c.bits == 0)
        return 0;
    uint32_t v = uint32_t(value) & 0xFF;
    if (c.bits <= 8) {
        v >>= 8 - c.bits;
    } else {
        // Repeat the bits downwards so that full scale stays full scale (white stays white).
        uint32_t wide = 0;
        for (int filled = 0; filled < c.bits; filled += 8)
            wide = (wide << 8) | v;
        const int extra = ((c.bits + 7) / 8) * 8 - c.bits;
        v = wide >> extra;
    }
    return (v << c.shift) & c.mask;
}

} // namespace zq
