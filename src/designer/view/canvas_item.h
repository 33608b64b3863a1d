#pragma once

class QPainter;
class QRegion;

namespace zq {

// A widget on the skin canvas that paints itself there. The canvas calls it with a painter in
// the item's own coordinates, which on the canvas are device pixels, clipped to `part`; its
// paintEvent draws the same, for a widget off the canvas or a grab.
class CanvasItem {
public:
    virtual void paintItem(QPainter &painter, const QRegion &part) = 0;

protected:
    ~CanvasItem() = default;
};

} // namespace zq
