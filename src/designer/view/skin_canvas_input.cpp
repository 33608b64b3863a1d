#include "view/skin_canvas.h"

#include "view/canvas_items.h"
#include "view/device_pixels.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>

#include <cstdlib>

// The canvas's input: the mouse handed to the item under it, in the item's own device pixels,
// the menus asked over an item, and the wheel that pans and, with Ctrl, zooms.

namespace zq {

QWidget *SkinCanvas::itemAt(QPoint viewPixel) const
{
    if (!QRect(QPoint(0, 0), viewSize()).contains(viewPixel))
        return nullptr;
    return canvasItemIn(this, skinPixelAt(viewPixel));
}

bool SkinCanvas::forward(QWidget *item, QPoint at, const std::function<bool(QWidget *, QPoint)> &deliver)
{
    const QPoint onSkin = skinPixelAt(at);
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
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        // One step a notch (120); a touchpad's fine turns add up to one.
        const QPoint angle = event->angleDelta();
        m_zoomWheel += angle.y() != 0 ? angle.y() : angle.x();
        const QPoint at = viewPixelAt(event->position());
        while (std::abs(m_zoomWheel) >= 120) {
            const bool in = m_zoomWheel > 0;
            m_zoomWheel -= in ? 120 : -120;
            zoomStep(in, at);
        }
        event->accept();
        return;
    }
    m_zoomWheel = 0;
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
