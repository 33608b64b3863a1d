#pragma once

#include <QRect>
#include <Qt>

#include <optional>
#include <vector>

namespace zq {

// Lines a dragged rectangle may snap onto: vertical lines by x, horizontal lines by y.
struct SnapLines {
    std::vector<int> xs;
    std::vector<int> ys;

    // A rectangle's edges and centre lines; its right and bottom edges are the lines just
    // past its last pixel, so a rectangle snapped onto them lies exactly against it.
    void addRect(const QRect &r);
};

// Where a drag step lands after snapping, and the line that holds it on each axis.
struct SnapResult {
    QRect rect;
    std::optional<int> xGuide;
    std::optional<int> yGuide;
};

// Snaps a rectangle that a drag asks for. A move (all four edges dragged) snaps its edges
// and centre lines; a resize snaps only its dragged edges. On each axis, independently, the
// moving line nearest to a candidate within `threshold` pixels goes onto it. A resized edge
// never passes the opposite one.
SnapResult snapRect(const QRect &wanted, Qt::Edges dragged, const SnapLines &candidates, int threshold);

// A mouse drag's step: snapped as above, unless Alt is held.
SnapResult snapDragStep(const QRect &wanted, Qt::Edges dragged, const SnapLines &candidates, int threshold,
                        Qt::KeyboardModifiers held);

} // namespace zq
