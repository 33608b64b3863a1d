#pragma once

#include "picture/bitmap.h"

#include <cstdint>

namespace zq {

// Decodes the RLE8 or RLE4 pixel data of a BMP file into a bitmap of the file's size, depth
// and colour table, made with index 0 everywhere. Pixels the data skips (delta, early end of
// line or of bitmap) keep index 0; runs reaching past the right edge are cut there. Data that
// runs short, moves outside the bitmap or uses an index past the table raises "Bitmap image is
// not valid".
void decodeRle(const uint8_t *data, int64_t size, Bitmap &bitmap);

} // namespace zq
