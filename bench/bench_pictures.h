#pragma once

// Synthetic pictures for the benchmarks: smooth gradients with some texture, so that the
// codecs do work of a realistic kind.

#include "picture/bitmap.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace bench {

// Interleaved 8-bit samples, top-down, no padding.
std::vector<uint8_t> syntheticRgb(int width, int height);
std::vector<uint8_t> syntheticRgba(int width, int height);

QByteArray encodePngRgba(const std::vector<uint8_t> &rgba, int width, int height);

// The pixels of a 24-bit bitmap (blue, green, red in memory) as RGB samples.
std::vector<uint8_t> rgbOf(const zq::Bitmap &picture);

} // namespace bench
