#include "view/hit_zone.h"

#include <algorithm>
#include <cstdint>

namespace zq {

namespace {

// Membership in the three column (or row) classes. A point can be in both outer classes
// when the control is no wider than twice the band.
struct Bands {
    bool low;
    bool middle;
    bool high;
};

Bands bandsOf(int pos, int extent, int precision)
{
    // 64-bit so that extreme precisions cannot overflow.
    const int64_t p = precision;
    const int64_t x = pos;
    const int64_t far = int64_t{extent} - p;
    return {x <= p, p < x && x < far, x >= far};
}

} // namespace

HitZone hitTest(QSize controlSize, QPoint pos, int precision)
{
    const Bands col = bandsOf(pos.x(), controlSize.width(), precision);
    const Bands row = bandsOf(pos.y(), controlSize.height(), precision);

    if (col.low && row.middle)
        return HitZone::LeftEdge;
    if (col.high && row.middle)
        return HitZone::RightEdge;
    if (col.middle && row.low)
        return HitZone::TopEdge;
    if (col.low && row.low)
        return HitZone::TopLeft;
    if (col.high && row.low)
        return HitZone::TopRight;
    if (col.middle && row.high)
        return HitZone::BottomEdge;
    if (col.low && row.high)
        return HitZone::BottomLeft;
    if (col.high && row.high)
        return HitZone::BottomRight;
    return HitZone::Interior; // the only combination left: middle column and middle row
}

Qt::CursorShape zoneCursor(HitZone zone)
{
    switch (zone) {
    case HitZone::LeftEdge:
    case HitZone::RightEdge:
        return Qt::SizeHorCursor;
    case HitZone::TopEdge:
    case HitZone::BottomEdge:
        return Qt::SizeVerCursor;
    case HitZone::TopLeft:
    case HitZone::BottomRight:
        return Qt::SizeFDiagCursor;
    case HitZone::TopRight:
    case HitZone::BottomLeft:
        return Qt::SizeBDiagCursor;
    case HitZone::Interior:
        break;
    }
    return Qt::SizeAllCursor;
}

int zoneCommand(HitZone zone)
{
    return 0xF000 + static_cast<int>(zone);
}

bool zoneFromCommand(int command, HitZone *zone)
{
    const int code = command - 0xF000;
    if (code < static_cast<int>(HitZone::LeftEdge) || code > static_cast<int>(HitZone::Interior))
        return false;
    *zone = static_cast<HitZone>(code);
    return true;
}

Qt::Edges draggedEdges(HitZone zone)
{
    switch (zone) {
    case HitZone::LeftEdge:
        return Qt::LeftEdge;
    case HitZone::RightEdge:
        return Qt::RightEdge;
    case HitZone::TopEdge:
        return Qt::TopEdge;
    case HitZone::TopLeft:
        return Qt::LeftEdge | Qt::TopEdge;
    case HitZone::TopRight:
        return Qt::RightEdge | Qt::TopEdge;
    case HitZone::BottomEdge:
        return Qt::BottomEdge;
    case HitZone::BottomLeft:
        return Qt::LeftEdge | Qt::BottomEdge;
    case HitZone::BottomRight:
        return Qt::RightEdge | Qt::BottomEdge;
    case HitZone::Interior:
        break;
    }
    return Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;
}

QRect applyDrag(HitZone zone, const QRect &start, QPoint travel)
{
    if (zone == HitZone::Interior)
        return start.translated(travel);

    // Work with exclusive right/bottom so that an empty rectangle stays representable.
    int left = start.x();
    int top = start.y();
    int right = start.x() + start.width();
    int bottom = start.y() + start.height();
    const Qt::Edges edges = draggedEdges(zone);
    if (edges & Qt::LeftEdge)
        left = std::min(left + travel.x(), right);
    if (edges & Qt::RightEdge)
        right = std::max(right + travel.x(), left);
    if (edges & Qt::TopEdge)
        top = std::min(top + travel.y(), bottom);
    if (edges & Qt::BottomEdge)
        bottom = std::max(bottom + travel.y(), top);
    return QRect(left, top, right - left, bottom - top);
}

} // namespace zq
