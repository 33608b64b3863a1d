#pragma once

#include <QByteArray>
#include <QRgb>
#include <QString>

#include <cstdint>
#include <vector>

namespace zq {

// Colour types as a PNG header gives them.
enum class PngColourType : int { Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, RgbAlpha = 6 };

// How the picture's pixels go onto what lies under them.
enum class PngMode {
    Copy,      // every pixel replaces what is under it
    ColourKey, // pixels whose stored samples equal the tRNS values leave what is under them
    Blend,     // pixels are mixed with what is under them by their alpha
};

// A decoded PNG, ready to be flattened. Samples are 8 bits, reduced and gamma-mapped as the
// file asks, and every pixel's alpha already says how it is drawn: its alpha sample in blend
// mode, 0 or 255 in colour-key mode, 255 in copy mode.
struct PngPicture {
    int width = 0;
    int height = 0;
    PngColourType colourType = PngColourType::Rgb;
    int bitDepth = 8;
    PngMode mode = PngMode::Copy;
    // B, G, R, A per pixel, rows top-down, no padding.
    std::vector<uint8_t> pixels;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    const uint8_t *row(int y) const { return pixels.data() + size_t(y) * size_t(width) * 4; }
    QRgb pixel(int x, int y) const
    {
        const uint8_t *p = row(y) + size_t(x) * 4;
        return qRgba(p[2], p[1], p[0], p[3]);
    }
};

// Decodes a PNG file of any colour type and bit depth, interlaced or not. A file that cannot
// be read or is not a valid PNG raises EngineError naming it.
PngPicture decodePngFile(const QString &path);
// Same from bytes in memory; path only names the picture in errors.
PngPicture decodePngData(const QByteArray &data, const QString &path);

} // namespace zq
