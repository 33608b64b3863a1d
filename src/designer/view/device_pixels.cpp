#include "view/device_pixels.h"

#include <QMouseEvent>
#include <QPointF>
#include <QWidget>

#include <cmath>

namespace zq {

namespace {

// Far below a device pixel, far above what a logical coordinate loses to rounding.
constexpr double kSlack = 1e-6;

int floorOf(double v)
{
    return int(std::floor(v + kSlack));
}

int ceilOf(double v)
{
    return int(std::ceil(v - kSlack));
}

// `exact` where it is the same point as `rounded`, `rounded` otherwise.
QPointF refined(QPointF rounded, QPointF exact)
{
    const QPointF off = exact - rounded;
    return std::abs(off.x()) <= 0.5 && std::abs(off.y()) <= 0.5 ? exact : rounded;
}

} // namespace

QPoint devicePixelAt(QPointF logical, qreal ratio)
{
    return {floorOf(logical.x() * ratio), floorOf(logical.y() * ratio)};
}

QRect deviceRectOf(const QRect &logical, qreal ratio)
{
    if (logical.isEmpty())
        return {};
    const int left = floorOf(logical.x() * ratio);
    const int top = floorOf(logical.y() * ratio);
    const int right = ceilOf((logical.x() + logical.width()) * ratio);
    const int bottom = ceilOf((logical.y() + logical.height()) * ratio);
    return QRect(left, top, right - left, bottom - top);
}

QRegion deviceRegionOf(const QRegion &logical, qreal ratio)
{
    if (ratio == 1.0)
        return logical;
    QRegion device;
    for (const QRect &r : logical)
        device += deviceRectOf(r, ratio);
    return device;
}

QRect logicalRectOf(const QRect &device, qreal ratio)
{
    if (device.isEmpty())
        return {};
    const int left = floorOf(device.x() / ratio);
    const int top = floorOf(device.y() / ratio);
    const int right = ceilOf((device.x() + device.width()) / ratio);
    const int bottom = ceilOf((device.y() + device.height()) / ratio);
    return QRect(left, top, right - left, bottom - top);
}

QPointF exactPosition(const QWidget *receiver, const QMouseEvent &event)
{
    const QPointF inWindow =
        event.scenePosition() - QPointF(receiver->mapTo(receiver->window(), QPoint(0, 0)));
    return refined(event.position(), inWindow);
}

QPointF exactGlobalPosition(const QWidget *receiver, const QMouseEvent &event)
{
    const QPointF inWindow = QPointF(receiver->window()->geometry().topLeft()) + event.scenePosition();
    return refined(event.globalPosition(), inWindow);
}

} // namespace zq
