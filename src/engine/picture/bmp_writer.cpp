#include "picture/bmp_writer.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"
#include "files/safe_file.h"

#include <algorithm>
#include <cstring>

namespace zq {

namespace {

class ByteWriter {
public:
    explicit ByteWriter(uint8_t *out)
        : m_out(out)
    {}
    void u8(uint32_t v) { *m_out++ = uint8_t(v); }
    void u16(uint32_t v)
    {
        u8(v);
        u8(v >> 8);
    }
    void u32(uint32_t v)
    {
        u16(v);
        u16(v >> 16);
    }
    uint8_t *position() const { return m_out; }

private:
    uint8_t *m_out;
};

// The table written covers every index the pixels use, so the file always reads back; a
// picture whose indices all lie in its table keeps the table's own length.
size_t tableLength(const Bitmap &bitmap)
{
    const int bpp = bitmap.format().bitsPerPixel;
    const size_t depthEntries = size_t(1) << bpp;
    size_t length = std::min(bitmap.format().palette.size(), depthEntries);
    if (length == depthEntries)
        return length;
    uint32_t highest = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            highest = std::max(highest, bitmap.rawPixel(x, y));
    // At least one entry: an empty table would read as a full one.
    return std::max(length, size_t(highest) + 1);
}

// The headers a picture is written with and where its parts go in the file.
struct FileLayout {
    bool core;      // a 12-byte core header
    bool bitfields; // three colour masks after the header
    size_t entries; // colour table entries
    int entrySize;
    int headerSize;
    qint64 imageBytes;
    qint64 dataOffset;
    qint64 fileSize;
};

FileLayout fileLayoutOf(const Bitmap &bitmap)
{
    const BitmapFormat &format = bitmap.format();
    const int bpp = format.bitsPerPixel;
    FileLayout layout{};
    layout.core = format.header == BmpHeaderKind::Core && (bpp == 1 || bpp == 4 || bpp == 8 || bpp == 24) &&
                  bitmap.width() <= 0xFFFF && bitmap.height() <= 0xFFFF;
    layout.bitfields =
        !layout.core && format.compression == BmpCompression::Bitfields && (bpp == 16 || bpp == 32);
    layout.entries = format.hasPalette() ? tableLength(bitmap) : 0;
    layout.entrySize = layout.core ? 3 : 4;
    layout.headerSize = layout.core ? int(BmpHeaderKind::Core) : int(BmpHeaderKind::Info);
    layout.imageBytes = qint64(bitmap.stride()) * bitmap.height();
    layout.dataOffset =
        14 + layout.headerSize + (layout.bitfields ? 12 : 0) + qint64(layout.entries) * layout.entrySize;
    layout.fileSize = layout.dataOffset + layout.imageBytes;
    return layout;
}

// The file header, the info or core header and the colour masks.
void writeHeaders(ByteWriter &out, const Bitmap &bitmap, const FileLayout &layout)
{
    const BitmapFormat &format = bitmap.format();
    const int bpp = format.bitsPerPixel;
    out.u8('B');
    out.u8('M');
    out.u32(uint32_t(layout.fileSize));
    out.u32(0);
    out.u32(uint32_t(layout.dataOffset));
    out.u32(uint32_t(layout.headerSize));
    if (layout.core) {
        out.u16(uint32_t(bitmap.width()));
        out.u16(uint32_t(bitmap.height()));
        out.u16(1);
        out.u16(uint32_t(bpp));
    } else {
        out.u32(uint32_t(bitmap.width()));
        out.u32(uint32_t(bitmap.height())); // positive: rows bottom-up
        out.u16(1);
        out.u16(uint32_t(bpp));
        out.u32(layout.bitfields ? 3u : 0u);
        out.u32(uint32_t(layout.imageBytes));
        out.u32(uint32_t(format.xPixelsPerMetre));
        out.u32(uint32_t(format.yPixelsPerMetre));
        out.u32(uint32_t(layout.entries));
        out.u32(format.importantColours <= layout.entries ? format.importantColours : 0u);
    }
    if (layout.bitfields) {
        for (uint32_t mask : format.masks)
            out.u32(mask);
    }
}

void writeColourTable(ByteWriter &out, const BitmapFormat &format, const FileLayout &layout)
{
    for (size_t i = 0; i < layout.entries; ++i) {
        const QRgb c = i < format.palette.size() ? format.palette[i] : qRgb(0, 0, 0);
        out.u8(uint32_t(qBlue(c)));
        out.u8(uint32_t(qGreen(c)));
        out.u8(uint32_t(qRed(c)));
        if (!layout.core)
            out.u8(0);
    }
}

// Rows bottom-up from rows on; bits past the last pixel are written as zero.
void writeRows(uint8_t *rows, const Bitmap &bitmap)
{
    const qint64 stride = bitmap.stride();
    const qint64 usedBits = qint64(bitmap.width()) * bitmap.format().bitsPerPixel;
    // A picture 0 pixels wide or high is kept as it came: headers only, no pixel memory to copy.
    if (usedBits == 0 || bitmap.height() == 0)
        return;
    const size_t wholeBytes = size_t(usedBits / 8);
    const int looseBits = int(usedBits % 8);
    for (int i = 0; i < bitmap.height(); ++i) {
        uint8_t *dst = rows + i * stride;
        const uint8_t *src = bitmap.row(bitmap.height() - 1 - i);
        std::memcpy(dst, src, wholeBytes);
        if (looseBits != 0)
            dst[wholeBytes] = uint8_t(src[wholeBytes] & (0xFF00u >> looseBits));
    }
}

} // namespace

QByteArray encodeBmp(const Bitmap &bitmap)
{
    const FileLayout layout = fileLayoutOf(bitmap);
    if (layout.fileSize > qint64(UINT32_MAX))
        throw EngineError(errors::bitmapNotValid());

    QByteArray bytes(qsizetype(layout.fileSize), '\0');
    ByteWriter out(reinterpret_cast<uint8_t *>(bytes.data()));
    writeHeaders(out, bitmap, layout);
    writeColourTable(out, bitmap.format(), layout);
    writeRows(out.position(), bitmap);
    return bytes;
}

void writeBmpFile(const QString &path, const Bitmap &bitmap)
{
    const FileWriteResult result = replaceFile(path, encodeBmp(bitmap));
    if (!result.ok)
        throw EngineError(errors::cannotCreateFile(path, result.reason));
}

} // namespace zq
