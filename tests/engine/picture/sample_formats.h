#pragma once

// Pixel formats the bitmap tests share.
#include "picture/bitmap.h"

namespace sample {

inline const QRgb white = qRgb(255, 255, 255);

inline zq::BitmapFormat sixteen565()
{
    zq::BitmapFormat f;
    f.bitsPerPixel = 16;
    f.compression = zq::BmpCompression::Bitfields;
    f.masks = {0xF800, 0x07E0, 0x001F};
    return f;
}

// Four bits, five colours: black, red, green, blue, white.
inline zq::BitmapFormat palette4()
{
    zq::BitmapFormat f;
    f.bitsPerPixel = 4;
    f.palette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), white};
    return f;
}

} // namespace sample
