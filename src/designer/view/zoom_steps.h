#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>

namespace zq {

// The zoom is device (screen) pixels per skin pixel: 1 shows the skin as the client does, one
// skin pixel on one screen pixel at any display scaling. These are its numbers, apart from
// any widget.

// The steps the zoom commands go through, from 12.5 % to 800 %.
inline constexpr std::array<double, 11> kZoomSteps = {1.0 / 8, 1.0 / 4, 1.0 / 3, 1.0 / 2, 2.0 / 3, 1.0,
                                                      1.5,     2.0,     3.0,     4.0,     8.0};

// The next step above (or below) `zoom`; `zoom` itself at the end of the steps.
double zoomStepFrom(double zoom, bool in);
// The largest zoom at which the whole picture lies on the view, within the steps' range.
double fitZoom(QSize picture, QSize view);

// Where a skin pixel edge falls on the zoomed skin. Rounding is the same on both sides of
// zero, so the picture's edges and the items' edges meet exactly.
int zoomedEdge(int skinEdge, double zoom);
QPoint zoomedPoint(QPoint skin, double zoom);
QRect zoomedRect(const QRect &skin, double zoom);
QSize zoomedSize(QSize skin, double zoom);
// The skin pixel a pixel of the zoomed skin shows (the one under its centre).
QPoint skinPixelAt(QPoint zoomed, double zoom);
// The skin pixels that cover a rectangle of the zoomed skin, wholly or in part.
QRect skinRectCovering(const QRect &zoomed, double zoom);

// A pointer's travel in screen pixels as skin pixels: rounded once, half away from zero, so a
// drag back the same way returns exactly.
int skinTravel(int screenTravel, double zoom);
QPoint skinTravel(QPoint screenTravel, double zoom);

// The pan that keeps the skin point under `at` (a view pixel) in place when the zoom goes from
// `from` to `to`; `pan` is the zoomed skin's pixel at the view's top-left corner.
QPoint panAround(QPoint pan, QPoint at, double from, double to);

// "100%", "33.3%", "71%": a step as it is called, any other zoom in whole percent.
QString zoomText(double zoom);

} // namespace zq
