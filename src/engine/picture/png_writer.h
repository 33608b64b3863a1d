#pragma once

#include "picture/bitmap.h"

#include <QByteArray>
#include <QString>

namespace zq {

// zlib's level for pictures written by the tool: its default, the usual balance of size and time.
inline constexpr int pngCompressionLevel = 6;

// An 8-bit RGB PNG of the bitmap, non-interlaced, with libpng's adaptive row filters. Any
// depth is accepted; pictures other than 24 bits are widened row by row.
QByteArray encodePng(const Bitmap &bitmap, int compressionLevel = pngCompressionLevel);

// Writes encodePng's bytes over path without ever leaving a half-written file; on failure
// raises "Cannot create file" and the old file stays whole.
void writePngFile(const QString &path, const Bitmap &bitmap, int compressionLevel = pngCompressionLevel);

} // namespace zq
