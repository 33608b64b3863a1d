#include "view/skin_canvas.h"

#include "view/canvas_accessible.h"
#include "view/canvas_item_watch.h"
#include "view/canvas_items.h"
#include "view/canvas_layer.h"
#include "view/device_pixels.h"
#include "view/pan_drag.h"
#include "view/picture_paint.h"
#include "view/uncovered_scroll.h"
#include "view/zoom_steps.h"
#include "view/zoomed_background.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zq {

QPoint clampPan(QPoint wanted, QSize picture, QSize view)
{
    auto axis = [](int want, int pictureLength, int viewLength) {
        return std::clamp(want, 0, std::max(0, pictureLength - viewLength));
    };
    return {axis(wanted.x(), picture.width(), view.width()),
            axis(wanted.y(), picture.height(), view.height())};
}

SkinCanvas::SkinCanvas(QWidget *preview)
    : QWidget(preview)
    , m_zoomed(std::make_unique<ZoomedBackground>())
{
    setObjectName(QStringLiteral("canvas"));
    // Every pixel is painted here, grey or picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Hovering over a text box shows the cursor of the zone under the pointer.
    setMouseTracking(true);
    fit();
    new CanvasItemWatch(this);
    new PanDrag(this);
    CanvasItemAccessible::install();
}

SkinCanvas::~SkinCanvas() = default;

QSize SkinCanvas::viewSize() const
{
    return (QSizeF(size()) * ratio()).toSize();
}

QSize SkinCanvas::extent() const
{
    return skinRectCovering(QRect(QPoint(0, 0), viewSize()), m_zoom).size().expandedTo(m_background.size());
}

QSize SkinCanvas::zoomedSize() const
{
    return zq::zoomedSize(m_background.size(), m_zoom);
}

QRect SkinCanvas::toView(const QRect &skinRect) const
{
    return zoomedRect(skinRect, m_zoom).translated(-m_pan);
}

QPoint SkinCanvas::toView(QPoint skinPoint) const
{
    return zoomedPoint(skinPoint, m_zoom) - m_pan;
}

QPoint SkinCanvas::skinPixelAt(QPoint viewPixel) const
{
    return zq::skinPixelAt(viewPixel + m_pan, m_zoom);
}

void SkinCanvas::applyZoom(double zoom, QPoint around, bool fitting)
{
    m_fitting = fitting;
    if (zoom == m_zoom)
        return;
    const QPoint wanted = panAround(m_pan, around, m_zoom, zoom);
    m_zoom = zoom;
    m_pan = clampPan(wanted, zoomedSize(), viewSize());
    update();
    emit panned();
    emit zoomChanged(m_zoom);
}

void SkinCanvas::zoomAround(double zoom, QPoint viewPixel)
{
    applyZoom(zoom, viewPixel, false);
}

void SkinCanvas::setZoom(double zoom)
{
    const QSize view = viewSize();
    zoomAround(zoom, QPoint(view.width() / 2, view.height() / 2));
}

void SkinCanvas::zoomStep(bool in, QPoint viewPixel)
{
    zoomAround(zoomStepFrom(m_zoom, in), viewPixel);
}

void SkinCanvas::zoomStep(bool in)
{
    setZoom(zoomStepFrom(m_zoom, in));
}

void SkinCanvas::zoomToFit()
{
    // The whole picture shows from the corner: nothing is left to pan.
    applyZoom(fitZoom(m_background.size(), viewSize()), QPoint(0, 0), true);
    panTo(QPoint(0, 0));
}

double SkinCanvas::zoomOf(const QWidget *widget)
{
    const SkinCanvas *canvas = of(widget);
    return canvas ? canvas->zoom() : 1.0;
}

QPoint SkinCanvas::viewPixelAt(QPointF logical) const
{
    return devicePixelAt(logical, ratio());
}

QPoint SkinCanvas::viewPos(const QWidget *item) const
{
    return toView(offsetWithin(this, item));
}

QRect SkinCanvas::viewRect(const QWidget *item) const
{
    return toView(QRect(offsetWithin(this, item), item->size()));
}

void SkinCanvas::updateView(const QRect &viewRect)
{
    const QRect shown = viewRect & QRect(QPoint(0, 0), viewSize());
    if (!shown.isEmpty())
        update(logicalRectOf(shown, ratio()));
}

void SkinCanvas::updateView(const QRegion &viewRegion)
{
    for (const QRect &part : viewRegion)
        updateView(part);
}

SkinCanvas *SkinCanvas::of(const QWidget *widget)
{
    if (!widget || widget->isWindow())
        return nullptr;
    for (QWidget *w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (auto *canvas = qobject_cast<SkinCanvas *>(w))
            return canvas;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

qreal SkinCanvas::unitsPerPoint(const QWidget *widget)
{
    return of(widget) ? widget->devicePixelRatioF() : 1.0;
}

QPointF SkinCanvas::globalPos(const QWidget *widget, QPointF local)
{
    const SkinCanvas *canvas = of(widget);
    if (!canvas)
        return widget->mapToGlobal(local);
    const double zoom = canvas->zoom();
    const QPointF inView = QPointF(canvas->viewPos(widget)) + local * zoom;
    return canvas->mapToGlobal(inView / canvas->ratio());
}

QRect SkinCanvas::globalRect(const QWidget *widget)
{
    const SkinCanvas *canvas = of(widget);
    if (!canvas)
        return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    return logicalRectOf(canvas->viewRect(widget), canvas->ratio())
        .translated(canvas->mapToGlobal(QPoint(0, 0)));
}

void SkinCanvas::updateItem(QWidget *item)
{
    if (SkinCanvas *canvas = of(item))
        canvas->updateView(canvas->viewRect(item));
    else
        item->update();
}

void SkinCanvas::setBackground(const QImage &picture)
{
    // Painted as it is, exposed part by exposed part; an image with alpha is made opaque first,
    // so that the grey never shows through it.
    m_background = picture.hasAlphaChannel() ? picture.convertToFormat(QImage::Format_RGB32) : picture;
    m_zoomed->setPicture(m_background);
    update();
    fit();
}

bool SkinCanvas::pans() const
{
    const QSize view = viewSize();
    const QSize picture = zoomedSize();
    return picture.width() > view.width() || picture.height() > view.height();
}

void SkinCanvas::fit()
{
    if (parentWidget())
        setGeometry(parentWidget()->rect());
    if (m_fitting)
        zoomToFit();
    panTo(m_pan);
}

void SkinCanvas::panTo(QPoint offset)
{
    const QPoint clamped = clampPan(offset, zoomedSize(), viewSize());
    if (clamped == m_pan)
        return;
    const QPoint moved = m_pan - clamped;
    m_pan = clamped;
    if (!scrollView(moved))
        update();
    emit panned();
}

bool SkinCanvas::scrollView(QPoint moved)
{
    // Qt moves whole logical pixels; under a fractional scaling their edges are not whole
    // device pixels, and a move that is no whole number of them cannot be made.
    const qreal r = ratio();
    const QSize view = viewSize();
    if (r != std::floor(r) || moved.x() % int(r) != 0 || moved.y() % int(r) != 0 ||
        std::abs(moved.x()) >= view.width() || std::abs(moved.y()) >= view.height() || !isVisible())
        return false;
    scrollUncovered(this, moved / int(r));
    // The layers hold their places on the screen: painted again where they were, and where the
    // move took their pixels.
    for (const CanvasLayer *layer : m_layers) {
        const QRegion area = layer->layerArea();
        updateView(area + area.translated(moved));
    }
    return true;
}

void SkinCanvas::addLayer(CanvasLayer *layer)
{
    m_layers.push_back(layer);
    updateView(layer->layerArea());
}

void SkinCanvas::removeLayer(CanvasLayer *layer)
{
    m_layers.erase(std::remove(m_layers.begin(), m_layers.end(), layer), m_layers.end());
    updateView(layer->layerArea());
}

void SkinCanvas::paintEvent(QPaintEvent *event)
{
    // One unit of the painter is one device pixel, and (0, 0) the background's corner.
    const qreal r = ratio();
    const QRegion exposed =
        (deviceRegionOf(event->region(), r) & QRect(QPoint(0, 0), viewSize())).translated(m_pan);
    QPainter painter(this);
    painter.setWorldTransform(QTransform::fromScale(1 / r, 1 / r));
    painter.translate(-m_pan);
    if (m_zoom != 1.0) {
        paintZoomed(painter, exposed);
    } else {
        const QRect picture(QPoint(0, 0), m_background.size());
        const QRegion onPicture = exposed.intersected(picture);
        for (const QRect &part : onPicture)
            paintPicturePart(painter, m_background, part);
        const QRegion beyond = exposed.subtracted(picture);
        for (const QRect &part : beyond)
            painter.fillRect(part, QColor(kGrey));
        paintCanvasItems(painter, this, QPoint(0, 0), exposed);
    }
    paintClientScreen(painter);
    paintLayers(painter, exposed.translated(-m_pan));
}

void SkinCanvas::paintLayers(QPainter &painter, const QRegion &exposed)
{
    // In the view's device pixels, (0, 0) its top-left corner.
    painter.translate(m_pan);
    for (CanvasLayer *layer : m_layers) {
        const QRegion part = exposed & layer->layerArea();
        if (part.isEmpty())
            continue;
        painter.save();
        layer->paintLayer(painter, part);
        painter.restore();
    }
}

void SkinCanvas::setClientScreen(const ClientScreenChoice &choice)
{
    if (choice == m_clientScreen)
        return;
    m_clientScreen = choice;
    update();
}

void SkinCanvas::paintClientScreen(QPainter &painter)
{
    if (const std::optional<QSize> screen = clientScreen())
        paintScreenCut(painter, this, *screen, m_zoom);
}

void SkinCanvas::paintZoomed(QPainter &painter, const QRegion &exposed)
{
    // `exposed` and the painter count in pixels of the zoomed skin.
    const QRect picture(QPoint(0, 0), zoomedSize());
    for (const QRect &part : exposed.intersected(picture))
        m_zoomed->paint(painter, part, m_zoom);
    for (const QRect &part : exposed.subtracted(picture))
        painter.fillRect(part, QColor(kGrey));

    // The items in skin pixels, scaled: smoothly when reduced, as squares when enlarged.
    QRegion onSkin;
    for (const QRect &part : exposed)
        onSkin += skinRectCovering(part, m_zoom);
    painter.save();
    painter.scale(m_zoom, m_zoom);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom < 1.0);
    paintCanvasItems(painter, this, QPoint(0, 0), onSkin);
    painter.restore();
}

} // namespace zq
