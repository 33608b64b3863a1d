#pragma once

#include <QPoint>
#include <QRect>
#include <QRegion>

class QMouseEvent;
class QPointF;
class QWidget;

namespace zq {

// Qt lays windows out in logical pixels, each `ratio` device pixels wide under display scaling
// (1.5 at 150 %, fractional ones included). The skin is shown and edited in device pixels,
// which are the screen's own; these convert between the two.

// The device pixel a logical position lies in. A position on a whole device pixel (every
// pointer position is one) comes out as that pixel, though the division that made it logical
// may have left it a hair short.
QPoint devicePixelAt(QPointF logical, qreal ratio);

// The device pixels a logical rectangle or region covers, wholly or in part.
QRect deviceRectOf(const QRect &logical, qreal ratio);
QRegion deviceRegionOf(const QRegion &logical, qreal ratio);

// The smallest logical rectangle that covers a rectangle of device pixels.
QRect logicalRectOf(const QRect &device, qreal ratio);

// A mouse event's position in `receiver`'s logical coordinates, and globally, unrounded. Qt
// hands a widget the position rounded to whole logical pixels, which under a fractional
// scaling are not whole device pixels; the position in the window keeps what the window system
// reported. An event made up for the widget alone (in a test, say) keeps its own position.
QPointF exactPosition(const QWidget *receiver, const QMouseEvent &event);
QPointF exactGlobalPosition(const QWidget *receiver, const QMouseEvent &event);

} // namespace zq
