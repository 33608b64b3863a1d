#include "view/skin_canvas.h"

#include "view/canvas_accessible.h"
#include "view/canvas_items.h"
#include "view/device_pixels.h"
#include "view/pan_drag.h"
#include "view/picture_paint.h"

#include <QApplication>
#include <QChildEvent>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>

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
{
    setObjectName(QStringLiteral("canvas"));
    // Every pixel is painted here, grey or picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Hovering over a text box shows the cursor of the zone under the pointer.
    setMouseTracking(true);
    fit();
    qApp->installEventFilter(this);
    new PanDrag(this);
    CanvasItemAccessible::install();
}

QSize SkinCanvas::viewSize() const
{
    return (QSizeF(size()) * ratio()).toSize();
}

QPoint SkinCanvas::viewPixelAt(QPointF logical) const
{
    return devicePixelAt(logical, ratio());
}

QPoint SkinCanvas::viewPos(const QWidget *item) const
{
    return offsetWithin(this, item) - m_pan;
}

void SkinCanvas::updateView(const QRect &viewRect)
{
    const QRect shown = viewRect & QRect(QPoint(0, 0), viewSize());
    if (!shown.isEmpty())
        update(logicalRectOf(shown, ratio()));
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
    return canvas->mapToGlobal((QPointF(canvas->viewPos(widget)) + local) / canvas->ratio());
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

bool SkinCanvas::isItem(const QObject *object) const
{
    if (!object->isWidgetType())
        return false;
    const auto *widget = static_cast<const QWidget *>(object);
    return widget != this && !widget->isWindow() && isAncestorOf(widget);
}

void SkinCanvas::followItem(QWidget *item, QEvent *event)
{
    const QRect now = viewRect(item);
    switch (event->type()) {
    case QEvent::Show:
        adoptCanvasItem(item);
        updateView(now);
        break;
    case QEvent::Hide:
    case QEvent::ZOrderChange:
        updateView(now);
        break;
    case QEvent::Move:
        if (item->isVisible()) {
            const QPoint moved = item->pos() - static_cast<QMoveEvent *>(event)->oldPos();
            updateView(now.translated(-moved));
            updateView(now);
        }
        break;
    case QEvent::Resize:
        if (item->isVisible()) {
            updateView(QRect(now.topLeft(), static_cast<QResizeEvent *>(event)->oldSize()));
            updateView(now);
        }
        break;
    default:
        break;
    }
}

bool SkinCanvas::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (watched == this || isItem(watched)) {
            QObject *child = static_cast<QChildEvent *>(event)->child();
            if (child->isWidgetType() && !static_cast<QWidget *>(child)->isWindow())
                adoptCanvasItem(static_cast<QWidget *>(child));
        }
        return false;
    case QEvent::ChildRemoved:
        // Where it was is not known any more.
        if (watched == this || isItem(watched))
            update();
        return false;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ZOrderChange:
    case QEvent::Move:
    case QEvent::Resize:
        if (isItem(watched))
            followItem(static_cast<QWidget *>(watched), event);
        return false;
    default:
        return false;
    }
}

void SkinCanvas::setBackground(const QImage &picture)
{
    // Painted as it is, exposed part by exposed part; an image with alpha is made opaque first,
    // so that the grey never shows through it.
    m_background = picture.hasAlphaChannel() ? picture.convertToFormat(QImage::Format_RGB32) : picture;
    update();
    fit();
}

bool SkinCanvas::pans() const
{
    const QSize view = viewSize();
    return m_background.width() > view.width() || m_background.height() > view.height();
}

void SkinCanvas::fit()
{
    if (parentWidget())
        setGeometry(parentWidget()->rect());
    panTo(m_pan);
}

void SkinCanvas::panTo(QPoint offset)
{
    const QPoint clamped = clampPan(offset, m_background.size(), viewSize());
    if (clamped == m_pan)
        return;
    m_pan = clamped;
    update();
    emit panned();
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

    const QRect picture(QPoint(0, 0), m_background.size());
    const QRegion onPicture = exposed.intersected(picture);
    for (const QRect &part : onPicture)
        paintPicturePart(painter, m_background, part);
    const QRegion beyond = exposed.subtracted(picture);
    for (const QRect &part : beyond)
        painter.fillRect(part, QColor(kGrey));
    paintCanvasItems(painter, this, QPoint(0, 0), exposed);
}

QWidget *SkinCanvas::itemAt(QPoint viewPixel) const
{
    if (!QRect(QPoint(0, 0), viewSize()).contains(viewPixel))
        return nullptr;
    return canvasItemIn(this, viewPixel + m_pan);
}

bool SkinCanvas::forward(QWidget *item, QPoint at, const std::function<bool(QWidget *, QPoint)> &deliver)
{
    const QPoint onSkin = at + m_pan;
    QPointer<QWidget> target = item;
    while (target && target != this) {
        QWidget *parent = target->parentWidget();
        if (deliver(target, onSkin - offsetWithin(this, target)))
            return true;
        // Handled, and gone with it.
        if (!target)
            return true;
        target = parent;
    }
    return false;
}

void SkinCanvas::mousePressEvent(QMouseEvent *event)
{
    mouseEvent(event);
}

void SkinCanvas::mouseDoubleClickEvent(QMouseEvent *event)
{
    mouseEvent(event);
}

void SkinCanvas::mouseMoveEvent(QMouseEvent *event)
{
    mouseEvent(event);
}

void SkinCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    mouseEvent(event);
}

void SkinCanvas::mouseEvent(QMouseEvent *event)
{
    const QPoint at = viewPixelAt(exactPosition(this, *event));
    m_lastPixel = at;
    const bool press =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    const bool hover = event->type() == QEvent::MouseMove && event->buttons() == Qt::NoButton;
    if (press)
        m_mouseItem = itemAt(at);
    // Pressed, the item keeps the mouse until the buttons are up, as a widget does.
    QWidget *item = hover ? itemAt(at) : m_mouseItem.data();
    const QPointF global = exactGlobalPosition(this, *event);
    const bool taken =
        item && forward(item, at, [event, global](QWidget *target, QPoint local) {
            QMouseEvent handed(event->type(), QPointF(local), event->scenePosition(), global, event->button(),
                               event->buttons(), event->modifiers(), event->pointingDevice());
            handed.setTimestamp(event->timestamp());
            QCoreApplication::sendEvent(target, &handed);
            return handed.isAccepted();
        });
    if (hover) {
        if (item && item->testAttribute(Qt::WA_SetCursor))
            setCursor(item->cursor());
        else
            unsetCursor();
    }
    if (event->type() == QEvent::MouseButtonRelease && event->buttons() == Qt::NoButton)
        m_mouseItem = nullptr;
    if (taken)
        return;

    // The background's own click. The press that completes a double click is no click.
    if (press) {
        m_clickArmed = event->button() == Qt::LeftButton && event->type() == QEvent::MouseButtonPress &&
                       !event->flags().testFlag(Qt::MouseEventCreatedDoubleClick);
    } else if (event->type() == QEvent::MouseButtonRelease && event->button() == Qt::LeftButton) {
        const bool click = m_clickArmed && rect().contains(event->position().toPoint());
        m_clickArmed = false;
        if (click)
            emit clicked();
    }
}

void SkinCanvas::contextMenuEvent(QContextMenuEvent *event)
{
    // A menu asked by the mouse is for the pixel last pressed; the logical position the event
    // carries is rounded.
    const QPoint at = event->reason() == QContextMenuEvent::Mouse ? m_lastPixel : viewPixelAt(event->pos());
    QWidget *item = itemAt(at);
    const bool taken =
        item && forward(item, at, [event](QWidget *target, QPoint local) {
            QContextMenuEvent handed(event->reason(), local, event->globalPos(), event->modifiers());
            QCoreApplication::sendEvent(target, &handed);
            return handed.isAccepted();
        });
    if (!taken)
        event->ignore();
}

void SkinCanvas::wheelEvent(QWheelEvent *event)
{
    if (!pans()) {
        event->ignore();
        return;
    }
    // One notch is 120; three notches cross about a third of a 1080-line screen.
    QPoint delta = event->angleDelta();
    if (event->modifiers().testFlag(Qt::ShiftModifier) && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    panBy(QPoint(-delta.x(), -delta.y()));
    event->accept();
}

} // namespace zq
