#pragma once

#include "picture/bitmap.h"

#include <QByteArray>
#include <QString>

namespace zq {

// Encodes a bitmap as a Windows BMP file in its own pixel format: "BM" file header, a 40-byte
// info header (the 12-byte core header when the picture came with one), the three masks for
// bit fields, the colour table for 8 bits or fewer, then the rows bottom-up, padded to four
// bytes. Longer headers are written as the 40-byte one and RLE pictures uncompressed: what
// every reader understands, with nothing of the picture lost.
QByteArray encodeBmp(const Bitmap &bitmap);

// Writes encodeBmp's bytes over path without ever leaving a half-written file; on failure
// raises "Cannot create file" and the old file stays whole.
void writeBmpFile(const QString &path, const Bitmap &bitmap);

} // namespace zq
