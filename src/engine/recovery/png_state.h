#pragma once

#include "picture/png_picture.h"

#include <QByteArray>

#include <optional>

namespace zq {

// A decoded replacement PNG kept as it is held in memory (its size, kind, drawing mode and
// pixels), so that an element recovered from a copy flattens it afresh when it moves, as it
// did before. Not a PNG file: only the recovery copy reads it back.
QByteArray packPngPicture(const PngPicture &picture);
// Null when the bytes are not a picture packPngPicture made.
std::optional<PngPicture> unpackPngPicture(const QByteArray &bytes);

} // namespace zq
