#pragma once

class QImage;
class QPainter;
class QRect;

namespace zq {

// Draws the part `part` of an opaque picture 1:1 at the same place. 24-bit BGR rows (the
// skin's own) are converted a band at a time through Qt's fast 24-to-32-bit path, several times
// quicker than the painter reads them, with no full-size copy.
void paintPicturePart(QPainter &painter, const QImage &picture, const QRect &part);

// Draws the part `part` of an opaque picture enlarged `times` times, each picture pixel a square
// of `times` x `times` pixels with no smoothing; `part` and the painter count in pixels of the
// enlarged picture. The rows are widened a band at a time and drawn 1:1, which is what a
// plain copy costs, where the painter's scaled drawing reads every source pixel per pixel drawn.
void paintEnlargedPart(QPainter &painter, const QImage &picture, const QRect &part, int times);

} // namespace zq
