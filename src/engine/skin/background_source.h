#pragma once

#include "picture/bitmap.h"
#include "picture/jpeg_codec.h"

#include <QString>

namespace zq {

// A picture chosen to become a skin's background, decoded, with the codec that decides how
// the background is saved: for a JPEG the file itself (so a progressive one is saved
// progressive), for a PNG or BMP a codec that has loaded nothing (saved baseline).
struct BackgroundSource {
    Bitmap pixels;
    JpegCodec jpeg;
};

// Reads a JPEG, a PNG or a BMP, told apart by their first bytes. A PNG is flattened onto
// white wherever it is transparent, into a 24-bit picture; a BMP keeps its own format; a JPEG
// decodes as the background does (lowColourDisplay: into an 8-bit palette). Anything else is
// read as a JPEG, so it fails with the codec's error. Errors name the file.
BackgroundSource readBackgroundSource(const QString &path, bool lowColourDisplay = false);

} // namespace zq
