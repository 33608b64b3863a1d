#pragma once

#include "picture/bitmap.h"

#include <QByteArray>
#include <QString>

namespace zq {

// Reads a Windows BMP file into a bitmap that keeps the file's pixel format: 12-byte core,
// 40-byte info (masks after it for bit fields), 52/56-byte and v4/v5 headers; 1, 4, 8, 16,
// 24 and 32 bits per pixel; uncompressed, bit fields, RLE8 and RLE4; either row order.
// A file that cannot be opened raises "Cannot open file"; anything that is not a sound BMP
// raises "Bitmap image is not valid". Sizes are checked before anything is allocated.
Bitmap readBmpFile(const QString &path);
Bitmap readBmp(const QByteArray &bytes);

} // namespace zq
