#pragma once

#include <QImage>
#include <QRgb>

#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace zq {

// Header kinds of a Windows BMP file, by the size of their info header. V2 and V3 are the
// 52- and 56-byte headers (info header plus the colour masks, then the alpha mask).
enum class BmpHeaderKind : int { Core = 12, Info = 40, V2 = 52, V3 = 56, V4 = 108, V5 = 124 };

// Compression as the file declared it. A picture loaded from RLE is held and written
// uncompressed at its depth; Bitfields keeps its masks.
enum class BmpCompression : int { Rgb = 0, Rle8 = 1, Rle4 = 2, Bitfields = 3 };

// Everything that makes up a device-independent bitmap's pixel format. It survives every
// operation on the bitmap, so a picture is written back in the form it was loaded in.
struct BitmapFormat {
    int bitsPerPixel = 24; // 1, 4, 8, 16, 24 or 32
    BmpHeaderKind header = BmpHeaderKind::Info;
    BmpCompression compression = BmpCompression::Rgb;
    std::array<uint32_t, 3> masks{}; // red, green, blue (16 and 32 bits)
    std::vector<QRgb> palette;       // colour table (8 bits or fewer)
    // Header fields with no effect on the pixels, kept so that an unchanged picture is written
    // back as it came.
    int32_t xPixelsPerMetre = 0;
    int32_t yPixelsPerMetre = 0;
    uint32_t importantColours = 0;

    static BitmapFormat rgb24();
    static BitmapFormat indexed8(std::vector<QRgb> palette);
    bool hasPalette() const { return bitsPerPixel <= 8; }
    // The masks in force: the declared ones for bit fields, else the defaults of the depth
    // (5-5-5 for 16 bits, 8-8-8 for 32 bits).
    std::array<uint32_t, 3> effectiveMasks() const;
    // Two formats store the same colour as the same value (depth, masks in force and colour
    // table agree), so pixels can move between them unconverted.
    bool samePixelLayout(const BitmapFormat &other) const;
    bool operator==(const BitmapFormat &) const = default;
};

// Leaves bytes that are made without a value as the allocation gave them, so that a bitmap a
// decoder writes whole is not filled first; a value given is stored as usual.
template <typename T> struct UnfilledAllocator {
    using value_type = T;
    UnfilledAllocator() = default;
    template <typename U> UnfilledAllocator(const UnfilledAllocator<U> &) noexcept {}
    T *allocate(size_t n) { return std::allocator<T>().allocate(n); }
    void deallocate(T *p, size_t n) noexcept { std::allocator<T>().deallocate(p, n); }
    template <typename U> void construct(U *p) noexcept { ::new (static_cast<void *>(p)) U; }
    template <typename U, typename... Args> void construct(U *p, Args &&...args)
    {
        ::new (static_cast<void *>(p)) U(std::forward<Args>(args)...);
    }
    template <typename U> bool operator==(const UnfilledAllocator<U> &) const noexcept { return true; }
};

// A device-independent bitmap held like the platform's: rows top-down in memory, each row
// in the file's own pixel layout (BGR for 24 bits, packed indices for palettes), padded to
// a multiple of four bytes.
class Bitmap {
public:
    enum class Fill { White, Zero, Unfilled };

    Bitmap() = default;
    // A new bitmap of the given size and format, filled with white.
    Bitmap(int width, int height, BitmapFormat format);
    // Zero fills every stored value with 0 (palette index 0), for decoders that write each row.
    // Unfilled leaves the pixels unset (only each row's padding is zeroed), for decoders that
    // write every pixel of every row.
    Bitmap(int width, int height, BitmapFormat format, Fill fill);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isEmpty() const { return m_width <= 0 || m_height <= 0; }
    const BitmapFormat &format() const { return m_format; }

    static qsizetype strideFor(int width, int bitsPerPixel);
    qsizetype stride() const { return m_stride; }
    uint8_t *row(int y) { return m_bits.data() + y * m_stride; }
    const uint8_t *row(int y) const { return m_bits.data() + y * m_stride; }
    using Bits = std::vector<uint8_t, UnfilledAllocator<uint8_t>>;
    const Bits &bits() const { return m_bits; }

    // Colour at (x, y), opaque.
    QRgb pixel(int x, int y) const;
    // Stores a colour in the bitmap's own format: the nearest palette entry for a palette
    // bitmap, the masks' precision for bit fields.
    void setPixel(int x, int y, QRgb colour);
    // Raw stored value at (x, y): palette index, or the packed pixel.
    uint32_t rawPixel(int x, int y) const;
    void setRawPixel(int x, int y, uint32_t value);

    // The stored value that stands for a colour in this format.
    uint32_t encode(QRgb colour) const;
    QRgb decode(uint32_t value) const;
    int nearestPaletteIndex(QRgb colour) const;
    // How many colour-table entries the depth can index; others are never stored.
    size_t usablePaletteSize() const;

    // Row-wise access for bulk work: count pixels of row y from column x, which must lie inside.
    void readRgbRow(int y, int x, int count, QRgb *out) const;
    void writeRgbRow(int y, int x, int count, const QRgb *in);
    void readRawRow(int y, int x, int count, uint32_t *out) const;
    void writeRawRow(int y, int x, int count, const uint32_t *in);
    void fillRaw(int y, int x, int count, uint32_t value);

    // Changes the size keeping the pixels at the top-left corner; new area is white.
    void resize(int width, int height);

    // The picture as a screen image (RGB32), for display only.
    QImage toImage() const;

    bool operator==(const Bitmap &) const = default;

private:
    void fillWithWhite();

    int m_width = 0;
    int m_height = 0;
    qsizetype m_stride = 0;
    BitmapFormat m_format;
    Bits m_bits;
};

} // namespace zq
