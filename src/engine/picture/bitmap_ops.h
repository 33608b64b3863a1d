#pragma once

#include "picture/bitmap.h"

#include <QPoint>
#include <QRect>

namespace zq {

class PaletteMatcher;

// Copies the rectangle `from` of source onto target with its top-left corner at `to`, pixel
// for pixel, clipped to target and drawn in target's own format. Target pixels whose source
// pixel lies outside source (an element dragged partly off the background) become white, the
// colour a bitmap's new area gets, rather than keeping whatever was there before.
// matcher: for a palette target, a matcher of its usable palette that the caller keeps across
// calls; without one, the call makes its own.
void copyRect(Bitmap &target, QPoint to, const Bitmap &source, const QRect &from,
              PaletteMatcher *matcher = nullptr);
// The same with the source rectangle given by its corner and size, which may lie anywhere in
// the 32-bit range: a QRect cannot hold a corner near its end without overflowing.
void copyRect(Bitmap &target, QPoint to, const Bitmap &source, QPoint fromCorner, QSize size,
              PaletteMatcher *matcher = nullptr);

// Stretch-copies `from` of source onto the rectangle `to` of target, clipped to target, as the
// platform's default stretch mode does: enlarging repeats pixels; shrinking merges each dropped
// pixel into the kept one with a bitwise AND of their colours (no smoothing). Source pixels
// outside source count as white, which leaves an AND unchanged. Empty or mirrored rectangles
// draw nothing.
void stretchRect(Bitmap &target, const QRect &to, const Bitmap &source, const QRect &from);

} // namespace zq
