#include "picture/bitmap.h"

#include "picture/colour_channel.h"

#include <algorithm>
#include <cstring>

namespace zq {

BitmapFormat BitmapFormat::rgb24()
{
    return BitmapFormat{};
}

BitmapFormat BitmapFormat::indexed8(std::vector<QRgb> palette)
{
    BitmapFormat f;
    f.bitsPerPixel = 8;
    f.palette = std::move(palette);
    return f;
}

std::array<uint32_t, 3> BitmapFormat::effectiveMasks() const
{
    if (compression == BmpCompression::Bitfields)
        return masks;
    if (bitsPerPixel == 16)
        return {0x7C00u, 0x03E0u, 0x001Fu};
    return {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
}

bool BitmapFormat::samePixelLayout(const BitmapFormat &other) const
{
    if (bitsPerPixel != other.bitsPerPixel)
        return false;
    if (hasPalette()) {
        // The alpha byte of a table entry is never used.
        return std::equal(palette.begin(), palette.end(), other.palette.begin(), other.palette.end(),
                          [](QRgb a, QRgb b) { return ((a ^ b) & 0x00FFFFFFu) == 0; });
    }
    if (bitsPerPixel == 16 || bitsPerPixel == 32)
        return effectiveMasks() == other.effectiveMasks();
    return true;
}

qsizetype Bitmap::strideFor(int width, int bitsPerPixel)
{
    return ((qsizetype(width) * bitsPerPixel + 31) / 32) * 4;
}

Bitmap::Bitmap(int width, int height, BitmapFormat format)
    : Bitmap(width, height, std::move(format), Fill::White)
{}

Bitmap::Bitmap(int width, int height, BitmapFormat format, Fill fill)
    : m_width(std::max(width, 0))
    , m_height(std::max(height, 0))
    , m_format(std::move(format))
{
    m_stride = strideFor(m_width, m_format.bitsPerPixel);
    const size_t size = size_t(m_stride) * size_t(m_height);
    const bool whiteIsOnes = fill == Fill::White && m_format.bitsPerPixel == 24;
    if (fill == Fill::Unfilled || whiteIsOnes) {
        // One pass over the pixels at most, which matters for large pictures: white is all ones
        // at 24 bits, and an unfilled bitmap's pixels are written by its decoder. Only the
        // padding is set, so that equal pictures compare and save equal.
        if (whiteIsOnes)
            m_bits.assign(size, 0xFF);
        else
            m_bits.resize(size);
        const size_t used = size_t((qsizetype(m_width) * m_format.bitsPerPixel + 7) / 8);
        for (int y = 0; y < m_height && used < size_t(m_stride); ++y)
            std::memset(row(y) + used, 0, size_t(m_stride) - used);
        return;
    }
    m_bits.assign(size, 0);
    if (fill == Fill::White)
        fillWithWhite();
}

void Bitmap::fillWithWhite()
{
    if (isEmpty())
        return;
    fillRaw(0, 0, m_width, encode(qRgb(255, 255, 255)));
    for (int y = 1; y < m_height; ++y)
        std::memcpy(row(y), row(0), size_t(m_stride));
}

uint32_t Bitmap::rawPixel(int x, int y) const
{
    const uint8_t *r = row(y);
    switch (m_format.bitsPerPixel) {
    case 1:
        return (r[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
        return (r[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
    case 8:
        return r[x];
    case 16:
        return uint32_t(r[2 * x]) | uint32_t(r[2 * x + 1]) << 8;
    case 24:
        return uint32_t(r[3 * x]) | uint32_t(r[3 * x + 1]) << 8 | uint32_t(r[3 * x + 2]) << 16;
    case 32:
        return uint32_t(r[4 * x]) | uint32_t(r[4 * x + 1]) << 8 | uint32_t(r[4 * x + 2]) << 16 |
               uint32_t(r[4 * x + 3]) << 24;
    }
    return 0;
}

void Bitmap::setRawPixel(int x, int y, uint32_t value)
{
    uint8_t *r = row(y);
    switch (m_format.bitsPerPixel) {
    case 1: {
        const int shift = 7 - (x & 7);
        r[x >> 3] = uint8_t((r[x >> 3] & ~(1u << shift)) | ((value & 1u) << shift));
        break;
    }
    case 4: {
        const int shift = (x & 1) ? 0 : 4;
        r[x >> 1] = uint8_t((r[x >> 1] & ~(0xFu << shift)) | ((value & 0xFu) << shift));
        break;
    }
    case 8:
        r[x] = uint8_t(value);
        break;
    case 16:
        r[2 * x] = uint8_t(value);
        r[2 * x + 1] = uint8_t(value >> 8);
        break;
    case 24:
        r[3 * x] = uint8_t(value);
        r[3 * x + 1] = uint8_t(value >> 8);
        r[3 * x + 2] = uint8_t(value >> 16);
        break;
    case 32:
        r[4 * x] = uint8_t(value);
        r[4 * x + 1] = uint8_t(value >> 8);
        r[4 * x + 2] = uint8_t(value >> 16);
        r[4 * x + 3] = uint8_t(value >> 24);
        break;
    }
}

size_t Bitmap::usablePaletteSize() const
{
    return std::min(m_format.palette.size(), size_t(1) << std::min(m_format.bitsPerPixel, 8));
}

int Bitmap::nearestPaletteIndex(QRgb colour) const
{
    const auto &pal = m_format.palette;
    const size_t usable = usablePaletteSize();
    int best = 0;
    int bestDistance = 0x7FFFFFFF;
    for (size_t i = 0; i < usable; ++i) {
        const int dr = qRed(pal[i]) - qRed(colour);
        const int dg = qGreen(pal[i]) - qGreen(colour);
        const int db = qBlue(pal[i]) - qBlue(colour);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = int(i);
            if (d == 0)
                break;
        }
    }
    return best;
}

uint32_t Bitmap::encode(QRgb colour) const
{
    switch (m_format.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
        return uint32_t(nearestPaletteIndex(colour));
    case 24:
        return uint32_t(qBlue(colour)) | uint32_t(qGreen(colour)) << 8 | uint32_t(qRed(colour)) << 16;
    default: {
        const auto m = m_format.effectiveMasks();
        return packChannel(qRed(colour), channelOf(m[0])) | packChannel(qGreen(colour), channelOf(m[1])) |
               packChannel(qBlue(colour), channelOf(m[2]));
    }
    }
}

QRgb Bitmap::decode(uint32_t value) const
{
    switch (m_format.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
        return value < m_format.palette.size() ? (m_format.palette[value] | 0xFF000000u) : qRgb(0, 0, 0);
    case 24:
        return qRgb(int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF));
    default: {
        const auto m = m_format.effectiveMasks();
        return qRgb(expandChannel(value, channelOf(m[0])), expandChannel(value, channelOf(m[1])),
                    expandChannel(value, channelOf(m[2])));
    }
    }
}

QRgb Bitmap::pixel(int x, int y) const
{
    return decode(rawPixel(x, y));
}

void Bitmap::setPixel(int x, int y, QRgb colour)
{
    setRawPixel(x, y, encode(colour));
}

void Bitmap::resize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == m_width && height == m_height)
        return;
    // Each byte of the new bitmap is written once: kept pixels, then white beside and below them.
    Bitmap resized(width, height, m_format, Fill::Zero);
    const uint32_t white = encode(qRgb(255, 255, 255));
    const int w = std::min(width, m_width);
    const int h = std::min(height, m_height);
    const int bpp = m_format.bitsPerPixel;
    // Whole bytes move as they are; below 8 bits the pixels of a last shared byte go one by one.
    const size_t wholeBytes = size_t(qsizetype(w) * bpp / 8);
    const int firstLoose = int(qsizetype(wholeBytes) * 8 / bpp);
    for (int y = 0; y < h; ++y) {
        // A picture with no columns has rows but no pixel memory to copy from.
        if (wholeBytes != 0)
            std::memcpy(resized.row(y), row(y), wholeBytes);
        for (int x = firstLoose; x < w; ++x)
            resized.setRawPixel(x, y, rawPixel(x, y));
        resized.fillRaw(y, w, width - w, white);
    }
    if (h < height && width != 0) {
        resized.fillRaw(h, 0, width, white);
        for (int y = h + 1; y < height; ++y)
            std::memcpy(resized.row(y), resized.row(h), size_t(resized.m_stride));
    }
    *this = std::move(resized);
}

QImage Bitmap::toImage() const
{
    QImage image(m_width, m_height, QImage::Format_RGB32);
    for (int y = 0; y < m_height; ++y)
        readRgbRow(y, 0, m_width, reinterpret_cast<QRgb *>(image.scanLine(y)));
    return image;
}

} // namespace zq
