#pragma once

#include "picture/bitmap.h"
#include "picture/png_picture.h"

namespace zq {

class PaletteMatcher;

// One colour sample s drawn with alpha a over d. Exact at the ends: d at a = 0, s at a = 255.
constexpr int blendSample(int s, int d, int a)
{
    return (s * a + d * (255 - a) + 255) / 256;
}

// Draws the picture onto target at (0, 0), over what the target already holds, and stores
// the result in the target's own pixel format. Only the part both cover is drawn.
// matcher: for a palette target, a matcher of its usable palette that the caller keeps across
// calls; without one, the call makes its own.
void flattenPng(const PngPicture &png, Bitmap &target, PaletteMatcher *matcher = nullptr);

} // namespace zq
