#pragma once

class QImage;
class QPainter;
class QRect;

namespace zq {

// Draws the part `part` of an opaque picture 1:1 at the same place. 24-bit BGR rows (the
// skin's own) are converted a band at a time through Qt's fast 24-to-32-bit path, several times
// quicker than the painter reads them, with no full-size copy.
void paintPicturePart(QPainter &painter, const QImage &picture, const QRect &part);

} // namespace zq
