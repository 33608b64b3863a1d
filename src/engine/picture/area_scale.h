#pragma once

#include "picture/bitmap.h"

namespace zq {

// A smaller copy of a picture: each target pixel is the mean colour of the source area it
// covers, partly covered source pixels counting by the part covered. Gives a 24-bit bitmap
// of width x height, each at least 1 and at most the source's.
Bitmap areaScaleDown(const Bitmap &source, int width, int height);

} // namespace zq
