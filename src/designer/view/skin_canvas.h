#pragma once

#include "view/client_screen.h"

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QImage;
class QPainter;
class QRegion;

namespace zq {

class CanvasLayer;
class ZoomedBackground;

// The pan offset that shows as much of a picture as a view can: never past the picture's
// right or bottom edge, never before its top-left corner, and (0, 0) on an axis where the
// picture fits.
QPoint clampPan(QPoint wanted, QSize picture, QSize view);

// The preview's one surface for the skin, covering it. It works in device pixels, the
// screen's own, at any display scaling: it paints the background 1:1 from the screen's
// top-left corner (grey beyond it), and its descendants, the element panels and their text
// boxes, are laid out in device pixels of the background too. Qt's logical pixels cannot
// reach every device pixel under a fractional scaling, so Qt neither paints those widgets nor
// finds them under the mouse: the canvas paints each one where it lies, and hands mouse events
// to the one under the pointer with positions in its own device pixels. They stay widgets, so
// each keeps its accessible name, its menus and its handlers.
//
// It zooms: zoom() device pixels show one skin pixel, and the items keep their places and sizes
// in skin pixels whatever the zoom. It pans over a zoomed picture larger than the screen (see
// PanDrag). A left click on a spot no item covers is a click on the background.
class SkinCanvas : public QWidget {
    Q_OBJECT
public:
    static constexpr QRgb kGrey = 0xFF808080; // RGB(128, 128, 128)

    explicit SkinCanvas(QWidget *preview);
    ~SkinCanvas() override;

    // Shows `picture` as it is (rows read in place); an empty picture shows grey only.
    void setBackground(const QImage &picture);
    bool hasBackground() const { return !m_background.isNull(); }
    QSize backgroundSize() const { return m_background.size(); }
    const QImage &background() const { return m_background; }

    // Device pixels per logical pixel of the window the canvas lies in.
    qreal ratio() const { return devicePixelRatioF(); }
    // What the screen shows of the skin at once, in device pixels.
    QSize viewSize() const;
    // Where anything on the skin can be, in skin pixels: what the view shows, widened to the
    // background.
    QSize extent() const;

    // Device pixels per skin pixel; 1 at start.
    double zoom() const { return m_zoom; }
    // Whether the zoom is the one at which the whole background fits the view, kept so as the
    // view or the background changes until another zoom is chosen.
    bool fitting() const { return m_fitting; }
    // Zooms keeping the skin pixel under `viewPixel` where it is (as far as the pan allows).
    void zoomAround(double zoom, QPoint viewPixel);
    // Zooms around the middle of the view.
    void setZoom(double zoom);
    // One step in or out around `viewPixel`, or the middle of the view.
    void zoomStep(bool in, QPoint viewPixel);
    void zoomStep(bool in);
    // The zoom at which the whole background fits the view, from now on.
    void zoomToFit();
    // The background's size at the zoom, in device pixels.
    QSize zoomedSize() const;
    // Where a rectangle or point of the skin (skin pixels) shows in the view, in device pixels.
    QRect toView(const QRect &skinRect) const;
    QPoint toView(QPoint skinPoint) const;
    // The skin pixel shown at a device pixel of the view.
    QPoint skinPixelAt(QPoint viewPixel) const;

    // Paints `layer` over everything else from now on, until it is removed; the last added on top.
    void addLayer(CanvasLayer *layer);
    void removeLayer(CanvasLayer *layer);

    // The client screen outlined on the skin, with every shown item that lies beyond it marked.
    void setClientScreen(const ClientScreenChoice &choice);
    const ClientScreenChoice &clientScreenChoice() const { return m_clientScreen; }
    // The screen outlined now (none when none is chosen).
    std::optional<QSize> clientScreen() const { return m_clientScreen.screenFor(m_background.size()); }

    // The zoomed background's pixel shown at the view's top-left corner.
    QPoint pan() const { return m_pan; }
    // Pans as near to `offset` as the limits allow: what stays on the screen is moved, and only
    // what comes in is painted (where the display's scaling allows a move by whole pixels).
    void panTo(QPoint offset);
    void panBy(QPoint delta) { panTo(m_pan + delta); }
    // Whether the zoomed picture is larger than the view on either axis.
    bool pans() const;
    // Covers the preview again and keeps the pan within the limits.
    void fit();

    // The view's device pixel under a position in this widget's logical coordinates.
    QPoint viewPixelAt(QPointF logical) const;
    // Where the canvas's descendant `item` (or the canvas itself) lies in the view, in device
    // pixels.
    QPoint viewPos(const QWidget *item) const;
    QRect viewRect(const QWidget *item) const;
    // The topmost shown item under a device pixel of the view; null over the bare background.
    QWidget *itemAt(QPoint viewPixel) const;
    // Paints a device rectangle or region of the view again.
    void updateView(const QRect &viewRect);
    void updateView(const QRegion &viewRegion);

    // The canvas a widget lies on, or null.
    static SkinCanvas *of(const QWidget *widget);
    // The zoom of the canvas a widget lies on; 1 for any other widget.
    static double zoomOf(const QWidget *widget);
    // Device pixels per logical pixel in `widget`'s own coordinates: the window's ratio for an
    // item on a canvas, 1 for any other widget.
    static qreal unitsPerPoint(const QWidget *widget);
    // A point of a widget in global logical coordinates; an item's goes through its canvas.
    static QPointF globalPos(const QWidget *widget, QPointF local);
    // The global logical rectangle that covers a widget.
    static QRect globalRect(const QWidget *widget);
    // Paints an item again where it shows; a widget on no canvas updates itself.
    static void updateItem(QWidget *item);

signals:
    void clicked();
    void panned();
    void zoomChanged(double zoom);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void applyZoom(double zoom, QPoint around, bool fitting);
    void paintZoomed(QPainter &painter, const QRegion &exposed);
    void paintClientScreen(QPainter &painter);
    void paintLayers(QPainter &painter, const QRegion &exposed);
    // Moves what shows by `moved` device pixels, painting only what comes in; false where it
    // cannot, and nothing is done.
    bool scrollView(QPoint moved);
    void mouseEvent(QMouseEvent *event);
    // Hands an event to `item` and, while it is not taken, to the items under it, each in its
    // own device pixels; false when none takes it.
    bool forward(QWidget *item, QPoint at, const std::function<bool(QWidget *target, QPoint local)> &deliver);

    // Opaque, in whatever layout it came in: only the painted part is ever converted.
    QImage m_background;
    std::unique_ptr<ZoomedBackground> m_zoomed;
    QPoint m_pan;
    double m_zoom = 1.0;
    bool m_fitting = false;
    ClientScreenChoice m_clientScreen;
    std::vector<CanvasLayer *> m_layers;
    // Wheel turns with Ctrl held not yet a whole notch (a touchpad's fine steps).
    int m_zoomWheel = 0;
    // The item a press went to: it has the mouse until the buttons are up.
    QPointer<QWidget> m_mouseItem;
    QPoint m_lastPixel;
    bool m_clickArmed = false;
};

} // namespace zq
