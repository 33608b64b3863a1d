// A PNG that decodes is flattened onto a small background of each pixel format: nothing
// outside the picture changes, and a copy-mode picture on a 24-bit background lands exactly.
#include "fuzz_support.h"

#include "errors/engine_error.h"
#include "picture/png_flatten.h"

#include <QtEndian>

#include <algorithm>

namespace {

// Past this many pixels decoding is slow enough to starve the search; such headers are
// skipped by the target, not by the reader.
constexpr qint64 pixelBudget = qint64(1) << 22;

bool claimsTooManyPixels(const uint8_t *data, size_t size)
{
    if (size < 24)
        return false;
    const qint64 width = qFromBigEndian<quint32>(data + 16);
    const qint64 height = qFromBigEndian<quint32>(data + 20);
    return width > pixelBudget || height > pixelBudget || width * height > pixelBudget;
}

zq::BitmapFormat backgroundFormat(unsigned choice)
{
    using zq::BitmapFormat;
    std::vector<QRgb> palette;
    for (int i = 0; i < 16; ++i)
        palette.push_back(qRgb(i * 17, 255 - i * 13, (i * 71) & 0xFF));
    switch (choice % 6) {
    case 0:
        return BitmapFormat::rgb24();
    case 1:
        return BitmapFormat::indexed8(palette);
    case 2: {
        BitmapFormat format = BitmapFormat::indexed8({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        format.bitsPerPixel = 1;
        return format;
    }
    case 3: {
        BitmapFormat format = BitmapFormat::indexed8(palette);
        format.bitsPerPixel = 4;
        return format;
    }
    case 4: {
        BitmapFormat format = BitmapFormat::rgb24();
        format.bitsPerPixel = 16;
        format.compression = zq::BmpCompression::Bitfields;
        format.masks = {0xF800, 0x07E0, 0x001F};
        return format;
    }
    default: {
        BitmapFormat format = BitmapFormat::rgb24();
        format.bitsPerPixel = 32;
        return format;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace zq;
    if (claimsTooManyPixels(data, size))
        return 0;
    PngPicture png;
    try {
        png = decodePngData(fuzz::bytesOf(data, size), QStringLiteral("fuzz.png"));
    } catch (const EngineError &) {
        return 0;
    }
    fuzz::check(png.pixels.size() == size_t(png.width) * size_t(png.height) * 4,
                "the decoded pixels do not match the picture's size");

    const unsigned choice = fuzz::lastByte(data, size);
    const Bitmap before(13 + int(choice % 7), 5 + int(choice % 11), backgroundFormat(choice / 7));
    Bitmap after = before;
    flattenPng(png, after);
    fuzz::check(after.width() == before.width() && after.height() == before.height() &&
                    after.format() == before.format(),
                "flattening changed the background's size or format");
    const int coveredWidth = std::min(png.width, before.width());
    const int coveredHeight = std::min(png.height, before.height());
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            const bool covered = x < coveredWidth && y < coveredHeight;
            if (!covered)
                fuzz::check(after.rawPixel(x, y) == before.rawPixel(x, y),
                            "flattening changed a pixel outside the picture");
            else if (png.mode == PngMode::Copy && before.format().bitsPerPixel == 24)
                fuzz::check(after.pixel(x, y) ==
                                qRgb(qRed(png.pixel(x, y)), qGreen(png.pixel(x, y)), qBlue(png.pixel(x, y))),
                            "a copied pixel did not land as it is");
        }
    }
    return 0;
}
