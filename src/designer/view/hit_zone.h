#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>

namespace zq {

// Where a press over a control lands: one of its border bands or the interior. The values
// are the sizing-edge codes of the move/size command (0xF000 + value), so the order matters.
enum class HitZone : int {
    LeftEdge = 1,
    RightEdge = 2,
    TopEdge = 3,
    TopLeft = 4,
    TopRight = 5,
    BottomEdge = 6,
    BottomLeft = 7,
    BottomRight = 8,
    Interior = 9,
};

// The zone of a point given in the control's own coordinates. Bands are `precision` pixels
// deep; points outside the control fall into the outer bands. Where bands overlap on a
// small control the left and top zones win.
HitZone hitTest(QSize controlSize, QPoint pos, int precision);

// The size cursor shown over a zone.
Qt::CursorShape zoneCursor(HitZone zone);

// The move/size command of a zone: 0xF001 to 0xF008 size, 0xF009 moves.
int zoneCommand(HitZone zone);
// The zone of a command; false when the value is no move/size command.
bool zoneFromCommand(int command, HitZone *zone);

// The edges a drag from the zone moves; the interior moves all four.
Qt::Edges draggedEdges(HitZone zone);

// The rectangle after a drag from `zone` that started at `start` and has travelled by
// `travel`. Edges not dragged stay put; a dragged edge stops at the opposite one, so the
// size never goes below zero. The interior translates the rectangle unchanged in size.
QRect applyDrag(HitZone zone, const QRect &start, QPoint travel);

} // namespace zq
