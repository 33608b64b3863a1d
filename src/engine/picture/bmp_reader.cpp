#include "picture/bmp_reader.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"
#include "files/safe_file.h"
#include "picture/bmp_rle.h"
#include "picture/picture_too_large.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace zq {

namespace {

// Compression codes of the info header.
constexpr uint32_t biRgb = 0;
constexpr uint32_t biRle8 = 1;
constexpr uint32_t biRle4 = 2;
constexpr uint32_t biBitfields = 3;
constexpr uint32_t biAlphaBitfields = 6;

constexpr int64_t fileHeaderSize = 14;

// RLE data can claim any size in a few bytes, so its pictures get a ceiling: 64 megapixels,
// well past an 8K screen.
constexpr int64_t maxRlePixels = int64_t(1) << 26;

[[noreturn]] void notValid()
{
    throw EngineError(errors::bitmapNotValid());
}

// Little-endian reads that refuse to go past the end of the file.
class ByteView {
public:
    explicit ByteView(const QByteArray &bytes)
        : m_data(reinterpret_cast<const uint8_t *>(bytes.constData()))
        , m_size(bytes.size())
    {}

    int64_t size() const { return m_size; }
    void need(int64_t at, int64_t count) const
    {
        if (at < 0 || count < 0 || at > m_size || count > m_size - at)
            notValid();
    }
    const uint8_t *at(int64_t offset, int64_t count) const
    {
        need(offset, count);
        return m_data + offset;
    }
    uint8_t u8(int64_t at) const { return *this->at(at, 1); }
    uint16_t u16(int64_t at) const
    {
        const uint8_t *p = this->at(at, 2);
        return uint16_t(p[0] | p[1] << 8);
    }
    uint32_t u32(int64_t at) const
    {
        const uint8_t *p = this->at(at, 4);
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    int32_t i32(int64_t at) const { return int32_t(u32(at)); }

private:
    const uint8_t *m_data;
    int64_t m_size;
};

struct Header {
    int headerSize = 0;
    int64_t width = 0;
    int64_t height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    uint32_t compression = biRgb;
    uint32_t coloursUsed = 0;
    int32_t xPixelsPerMetre = 0;
    int32_t yPixelsPerMetre = 0;
    uint32_t importantColours = 0;
    std::array<uint32_t, 3> masks{};
    int64_t paletteStart = 0;
    int64_t dataOffset = 0;
};

bool isHeaderSize(uint32_t size)
{
    switch (size) {
    case int(BmpHeaderKind::Core):
    case int(BmpHeaderKind::Info):
    case int(BmpHeaderKind::V2):
    case int(BmpHeaderKind::V3):
    case int(BmpHeaderKind::V4):
    case int(BmpHeaderKind::V5):
        return true;
    }
    return false;
}

bool masksAreSound(const std::array<uint32_t, 3> &masks, int bitsPerPixel)
{
    const uint32_t inDepth = bitsPerPixel == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    uint32_t seen = 0;
    for (uint32_t m : masks) {
        if ((m & ~inDepth) != 0 || (m & seen) != 0)
            return false;
        if (m != 0) {
            const uint32_t shifted = m >> std::countr_zero(m);
            if ((shifted & (shifted + 1)) != 0) // bits not in one run
                return false;
        }
        seen |= m;
    }
    return true;
}

// The picture's size, depth and the info header's fields, by the header's kind; returns the
// number of planes.
int readPictureFields(const ByteView &file, Header &h)
{
    int planes = 0;
    if (h.headerSize == int(BmpHeaderKind::Core)) {
        h.width = file.u16(18);
        h.height = file.u16(20);
        planes = file.u16(22);
        h.bitsPerPixel = file.u16(24);
        if (h.bitsPerPixel != 1 && h.bitsPerPixel != 4 && h.bitsPerPixel != 8 && h.bitsPerPixel != 24)
            notValid();
    } else {
        h.width = file.i32(18);
        h.height = file.i32(22);
        planes = file.u16(26);
        h.bitsPerPixel = file.u16(28);
        h.compression = file.u32(30);
        h.xPixelsPerMetre = file.i32(38);
        h.yPixelsPerMetre = file.i32(42);
        h.coloursUsed = file.u32(46);
        h.importantColours = file.u32(50);
        if (h.height < 0) {
            h.topDown = true;
            h.height = -h.height;
        }
    }
    return planes;
}

// Refuses a depth, and a compression that does not go with it.
void checkDepthAndCompression(const Header &h)
{
    const int bpp = h.bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        notValid();
    switch (h.compression) {
    case biRgb:
        break;
    case biRle8:
    case biRle4:
        // RLE runs bottom-up only.
        if (bpp != (h.compression == biRle8 ? 8 : 4) || h.topDown)
            notValid();
        break;
    case biBitfields:
    case biAlphaBitfields:
        if (bpp != 16 && bpp != 32)
            notValid();
        break;
    default: // JPEG and PNG payloads, and unknown codes
        notValid();
    }
}

// Where the colour table starts, and the colour masks of a bit-field picture.
void readMasks(const ByteView &file, Header &h)
{
    h.paletteStart = fileHeaderSize + h.headerSize;
    if (h.compression == biBitfields || h.compression == biAlphaBitfields) {
        // A plain info header has the masks after it; the longer headers hold them.
        const int64_t at = fileHeaderSize + int64_t(BmpHeaderKind::Info);
        h.masks = {file.u32(at), file.u32(at + 4), file.u32(at + 8)};
        if (h.headerSize == int(BmpHeaderKind::Info))
            h.paletteStart += h.compression == biAlphaBitfields ? 16 : 12;
        if (!masksAreSound(h.masks, h.bitsPerPixel))
            notValid();
    }
}

Header readHeader(const ByteView &file)
{
    if (file.u8(0) != 'B' || file.u8(1) != 'M')
        notValid();
    Header h;
    h.dataOffset = file.u32(10);
    const uint32_t headerSize = file.u32(14);
    if (!isHeaderSize(headerSize))
        notValid();
    h.headerSize = int(headerSize);
    file.need(fileHeaderSize, headerSize);
    const int planes = readPictureFields(file, h);
    if (planes != 1 || h.width < 0 || h.height > INT32_MAX)
        notValid();
    checkDepthAndCompression(h);
    readMasks(file, h);
    if (h.dataOffset < h.paletteStart || h.dataOffset > file.size())
        notValid();
    return h;
}

std::vector<QRgb> readPalette(const ByteView &file, const Header &h)
{
    if (h.bitsPerPixel > 8)
        return {}; // a table beside true colour is only a display hint
    const int64_t depthEntries = int64_t(1) << h.bitsPerPixel;
    const int64_t room = h.dataOffset - h.paletteStart;
    int64_t count = 0;
    int entrySize = 4;
    if (h.headerSize == int(BmpHeaderKind::Core)) {
        // The core header has no count: the table runs up to the pixels, at most a full one.
        entrySize = 3;
        count = std::min(depthEntries, room / entrySize);
    } else {
        const int64_t declared = h.coloursUsed != 0 ? int64_t(h.coloursUsed) : depthEntries;
        if (declared > room / entrySize)
            notValid();
        count = std::min(declared, depthEntries);
    }
    if (count == 0)
        notValid();
    const uint8_t *p = file.at(h.paletteStart, count * entrySize);
    std::vector<QRgb> palette(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i, p += entrySize)
        palette[size_t(i)] = qRgb(p[2], p[1], p[0]);
    return palette;
}

BitmapFormat formatOf(const Header &h, std::vector<QRgb> palette)
{
    BitmapFormat f;
    f.bitsPerPixel = h.bitsPerPixel;
    f.header = BmpHeaderKind(h.headerSize);
    f.xPixelsPerMetre = h.xPixelsPerMetre;
    f.yPixelsPerMetre = h.yPixelsPerMetre;
    f.importantColours = h.importantColours;
    switch (h.compression) {
    case biRle8:
        f.compression = BmpCompression::Rle8;
        break;
    case biRle4:
        f.compression = BmpCompression::Rle4;
        break;
    case biBitfields:
    case biAlphaBitfields:
        f.compression = BmpCompression::Bitfields;
        f.masks = h.masks;
        break;
    default:
        f.compression = BmpCompression::Rgb;
    }
    f.palette = std::move(palette);
    return f;
}

void checkIndices(const Bitmap &bitmap)
{
    const size_t entries = bitmap.format().palette.size();
    if (!bitmap.format().hasPalette() || entries >= (size_t(1) << bitmap.format().bitsPerPixel))
        return;
    for (int y = 0; y < bitmap.height(); ++y) {
        if (bitmap.format().bitsPerPixel == 8) {
            const uint8_t *r = bitmap.row(y);
            if (std::any_of(r, r + bitmap.width(), [entries](uint8_t v) { return v >= entries; }))
                notValid();
        } else {
            for (int x = 0; x < bitmap.width(); ++x)
                if (bitmap.rawPixel(x, y) >= entries)
                    notValid();
        }
    }
}

Bitmap readUncompressed(const ByteView &file, const Header &h, BitmapFormat format)
{
    const int width = int(h.width);
    const int height = int(h.height);
    const int64_t stride = Bitmap::strideFor(width, h.bitsPerPixel);
    const int64_t rowBytes = (h.width * h.bitsPerPixel + 7) / 8;
    // Pixels that no file within the read budget can hold.
    if (height > maxPictureFileBytes / stride)
        throw PictureTooLarge(errors::bitmapNotValid(), h.width, h.height);
    const int64_t available = file.size() - h.dataOffset;
    // Every row whole; the last one may lack its padding.
    if (available < rowBytes || height - 1 > (available - rowBytes) / stride)
        notValid();

    Bitmap bitmap(width, height, std::move(format), Bitmap::Fill::Zero);
    const uint8_t *data = file.at(h.dataOffset, available);
    for (int i = 0; i < height; ++i) {
        const int64_t offset = i * stride;
        const int64_t n = std::min(stride, available - offset);
        std::memcpy(bitmap.row(h.topDown ? i : height - 1 - i), data + offset, size_t(n));
    }
    checkIndices(bitmap);
    return bitmap;
}

Bitmap readRle(const ByteView &file, const Header &h, BitmapFormat format)
{
    if (h.width * h.height > maxRlePixels)
        throw PictureTooLarge(errors::bitmapNotValid(), h.width, h.height);
    Bitmap bitmap(int(h.width), int(h.height), std::move(format), Bitmap::Fill::Zero);
    const int64_t available = file.size() - h.dataOffset;
    decodeRle(file.at(h.dataOffset, available), available, bitmap);
    return bitmap;
}

} // namespace

Bitmap readBmp(const QByteArray &bytes)
{
    const ByteView file(bytes);
    const Header h = readHeader(file);
    BitmapFormat format = formatOf(h, readPalette(file, h));
    if (h.width == 0 || h.height == 0)
        return Bitmap(int(h.width), int(h.height), std::move(format), Bitmap::Fill::Zero);
    if (h.compression == biRle8 || h.compression == biRle4)
        return readRle(file, h, std::move(format));
    return readUncompressed(file, h, std::move(format));
}

Bitmap readBmpFile(const QString &path)
{
    QByteArray bytes;
    QString reason;
    if (!readWholeFile(path, bytes, reason))
        throw EngineError(errors::cannotOpenFile(path, reason));
    try {
        return readBmp(bytes);
    } catch (const PictureTooLarge &tooLarge) {
        throw tooLarge.namedFor(path);
    }
}

} // namespace zq
