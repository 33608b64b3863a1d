// The bitmap's row-wise access for bulk work.
#include "picture/bitmap.h"

#include "picture/colour_channel.h"

#include <algorithm>
#include <cstring>

namespace zq {

void Bitmap::readRawRow(int y, int x, int count, uint32_t *out) const
{
    const uint8_t *r = row(y);
    switch (m_format.bitsPerPixel) {
    case 8:
        for (int i = 0; i < count; ++i)
            out[i] = r[x + i];
        return;
    case 16:
        r += 2 * qsizetype(x);
        for (int i = 0; i < count; ++i, r += 2)
            out[i] = uint32_t(r[0]) | uint32_t(r[1]) << 8;
        return;
    case 24:
        r += 3 * qsizetype(x);
        for (int i = 0; i < count; ++i, r += 3)
            out[i] = uint32_t(r[0]) | uint32_t(r[1]) << 8 | uint32_t(r[2]) << 16;
        return;
    case 32:
        r += 4 * qsizetype(x);
        for (int i = 0; i < count; ++i, r += 4)
            out[i] = uint32_t(r[0]) | uint32_t(r[1]) << 8 | uint32_t(r[2]) << 16 | uint32_t(r[3]) << 24;
        return;
    default:
        for (int i = 0; i < count; ++i)
            out[i] = rawPixel(x + i, y);
    }
}

void Bitmap::writeRawRow(int y, int x, int count, const uint32_t *in)
{
    uint8_t *r = row(y);
    switch (m_format.bitsPerPixel) {
    case 8:
        for (int i = 0; i < count; ++i)
            r[x + i] = uint8_t(in[i]);
        return;
    case 16:
        r += 2 * qsizetype(x);
        for (int i = 0; i < count; ++i, r += 2) {
            r[0] = uint8_t(in[i]);
            r[1] = uint8_t(in[i] >> 8);
        }
        return;
    case 24:
        r += 3 * qsizetype(x);
        for (int i = 0; i < count; ++i, r += 3) {
            r[0] = uint8_t(in[i]);
            r[1] = uint8_t(in[i] >> 8);
            r[2] = uint8_t(in[i] >> 16);
        }
        return;
    case 32:
        r += 4 * qsizetype(x);
        for (int i = 0; i < count; ++i, r += 4) {
            r[0] = uint8_t(in[i]);
            r[1] = uint8_t(in[i] >> 8);
            r[2] = uint8_t(in[i] >> 16);
            r[3] = uint8_t(in[i] >> 24);
        }
        return;
    default:
        for (int i = 0; i < count; ++i)
            setRawPixel(x + i, y, in[i]);
    }
}

void Bitmap::fillRaw(int y, int x, int count, uint32_t value)
{
    if (count <= 0)
        return;
    uint8_t *r = row(y);
    switch (m_format.bitsPerPixel) {
    case 8:
        std::memset(r + x, int(value & 0xFF), size_t(count));
        return;
    case 24:
        if ((value & 0xFFFFFF) == 0xFFFFFF) {
            std::memset(r + 3 * qsizetype(x), 0xFF, size_t(count) * 3);
            return;
        }
        break;
    case 1:
    case 4:
        for (int i = 0; i < count; ++i)
            setRawPixel(x + i, y, value);
        return;
    default:
        break;
    }
    // Write the first pixel, then double the written run.
    const qsizetype bytes = m_format.bitsPerPixel / 8;
    uint8_t *start = r + bytes * x;
    setRawPixel(x, y, value);
    qsizetype done = bytes;
    const qsizetype total = bytes * count;
    while (done < total) {
        const qsizetype n = std::min(done, total - done);
        std::memcpy(start + done, start, size_t(n));
        done += n;
    }
}

namespace {

// Per-call lookup of the colours of a palette bitmap's first 256 indices.
struct PaletteColours {
    std::array<QRgb, 256> colours;
    explicit PaletteColours(const std::vector<QRgb> &palette)
    {
        for (size_t i = 0; i < colours.size(); ++i)
            colours[i] = i < palette.size() ? (palette[i] | 0xFF000000u) : qRgb(0, 0, 0);
    }
};

} // namespace

void Bitmap::readRgbRow(int y, int x, int count, QRgb *out) const
{
    const uint8_t *r = row(y);
    const int bpp = m_format.bitsPerPixel;
    if (bpp == 24) {
        r += 3 * qsizetype(x);
        for (int i = 0; i < count; ++i, r += 3)
            out[i] = qRgb(r[2], r[1], r[0]);
        return;
    }
    if (bpp <= 8) {
        const PaletteColours lut(m_format.palette);
        if (bpp == 8) {
            for (int i = 0; i < count; ++i)
                out[i] = lut.colours[r[x + i]];
        } else {
            for (int i = 0; i < count; ++i)
                out[i] = lut.colours[rawPixel(x + i, y) & 0xFF];
        }
        return;
    }
    const auto m = m_format.effectiveMasks();
    const Channel red = channelOf(m[0]), green = channelOf(m[1]), blue = channelOf(m[2]);
    readRawRow(y, x, count, out);
    for (int i = 0; i < count; ++i) {
        const uint32_t v = out[i];
        out[i] = qRgb(expandChannel(v, red), expandChannel(v, green), expandChannel(v, blue));
    }
}

void Bitmap::writeRgbRow(int y, int x, int count, const QRgb *in)
{
    const int bpp = m_format.bitsPerPixel;
    if (bpp == 24) {
        uint8_t *r = row(y) + 3 * qsizetype(x);
        for (int i = 0; i < count; ++i, r += 3) {
            r[0] = uint8_t(qBlue(in[i]));
            r[1] = uint8_t(qGreen(in[i]));
            r[2] = uint8_t(qRed(in[i]));
        }
        return;
    }
    if (bpp <= 8) {
        // Pictures repeat colours a lot; a small cache saves most palette searches.
        constexpr int cacheSize = 256;
        std::array<QRgb, cacheSize> keys;
        std::array<uint8_t, cacheSize> indices{};
        keys.fill(0); // alpha 0 never matches a looked-up key, which is always opaque
        for (int i = 0; i < count; ++i) {
            const QRgb c = in[i] | 0xFF000000u;
            const uint32_t h = ((c * 2654435761u) >> 24) & (cacheSize - 1);
            if (keys[h] != c) {
                keys[h] = c;
                indices[h] = uint8_t(nearestPaletteIndex(c));
            }
            setRawPixel(x + i, y, indices[h]);
        }
        return;
    }
    const auto m = m_format.effectiveMasks();
    const Channel red = channelOf(m[0]), green = channelOf(m[1]), blue = channelOf(m[2]);
    constexpr int chunk = 256;
    uint32_t values[chunk];
    for (int done = 0; done < count; done += chunk) {
        const int n = std::min(chunk, count - done);
        for (int i = 0; i < n; ++i) {
            const QRgb c = in[done + i];
            values[i] =
                packChannel(qRed(c), red) | packChannel(qGreen(c), green) | packChannel(qBlue(c), blue);
        }
        writeRawRow(y, x + done, n, values);
    }
}

} // namespace zq
