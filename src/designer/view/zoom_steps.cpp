#include "view/zoom_steps.h"

#include <algorithm>
#include <cmath>

namespace zq {

namespace {

// Zooms closer than this are the same step.
constexpr double kSameZoom = 1e-6;

int roundHalfAway(double v)
{
    return int(std::lround(v));
}

} // namespace

double zoomStepFrom(double zoom, bool in)
{
    if (in) {
        for (double step : kZoomSteps) {
            if (step > zoom + kSameZoom)
                return step;
        }
        return std::max(zoom, kZoomSteps.back());
    }
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it) {
        if (*it < zoom - kSameZoom)
            return *it;
    }
    return std::min(zoom, kZoomSteps.front());
}

double fitZoom(QSize picture, QSize view)
{
    if (picture.isEmpty() || view.isEmpty())
        return 1.0;
    const double zoom =
        std::min(double(view.width()) / picture.width(), double(view.height()) / picture.height());
    // Rounded half away from zero, picture × zoom never passes the view: it is at most the
    // view's length, which is whole.
    return std::clamp(zoom, kZoomSteps.front(), kZoomSteps.back());
}

int zoomedEdge(int skinEdge, double zoom)
{
    return zoom == 1.0 ? skinEdge : roundHalfAway(skinEdge * zoom);
}

QPoint zoomedPoint(QPoint skin, double zoom)
{
    return {zoomedEdge(skin.x(), zoom), zoomedEdge(skin.y(), zoom)};
}

QRect zoomedRect(const QRect &skin, double zoom)
{
    const QPoint topLeft = zoomedPoint(skin.topLeft(), zoom);
    const QPoint end = zoomedPoint(skin.topLeft() + QPoint(skin.width(), skin.height()), zoom);
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

QSize zoomedSize(QSize skin, double zoom)
{
    return {zoomedEdge(skin.width(), zoom), zoomedEdge(skin.height(), zoom)};
}

QPoint skinPixelAt(QPoint zoomed, double zoom)
{
    if (zoom == 1.0)
        return zoomed;
    return {int(std::floor((zoomed.x() + 0.5) / zoom)), int(std::floor((zoomed.y() + 0.5) / zoom))};
}

QRect skinRectCovering(const QRect &zoomed, double zoom)
{
    if (zoom == 1.0 || zoomed.isEmpty())
        return zoomed;
    const int left = int(std::floor(zoomed.x() / zoom));
    const int top = int(std::floor(zoomed.y() / zoom));
    const int right = int(std::ceil((zoomed.x() + zoomed.width()) / zoom));
    const int bottom = int(std::ceil((zoomed.y() + zoomed.height()) / zoom));
    return QRect(left, top, right - left, bottom - top);
}

int skinTravel(int screenTravel, double zoom)
{
    return zoom == 1.0 ? screenTravel : roundHalfAway(screenTravel / zoom);
}

QPoint skinTravel(QPoint screenTravel, double zoom)
{
    return {skinTravel(screenTravel.x(), zoom), skinTravel(screenTravel.y(), zoom)};
}

QPoint panAround(QPoint pan, QPoint at, double from, double to)
{
    const double ratio = to / from;
    return {roundHalfAway((pan.x() + at.x()) * ratio - at.x()),
            roundHalfAway((pan.y() + at.y()) * ratio - at.y())};
}

QString zoomText(double zoom)
{
    for (double step : kZoomSteps) {
        if (std::abs(step - zoom) < kSameZoom) {
            const double tenths = std::round(step * 1000) / 10;
            return tenths == std::floor(tenths) ? QStringLiteral("%1%").arg(int(tenths))
                                                : QStringLiteral("%1%").arg(tenths, 0, 'f', 1);
        }
    }
    return QStringLiteral("%1%").arg(roundHalfAway(zoom * 100));
}

} // namespace zq
