#include "view/canvas_item_watch.h"

#include "view/canvas_items.h"
#include "view/skin_canvas.h"

#include <QApplication>
#include <QChildEvent>
#include <QMoveEvent>
#include <QResizeEvent>

namespace zq {

CanvasItemWatch::CanvasItemWatch(SkinCanvas *canvas)
    : QObject(canvas)
    , m_canvas(canvas)
{
    qApp->installEventFilter(this);
}

bool CanvasItemWatch::isItem(const QObject *object) const
{
    if (!object->isWidgetType())
        return false;
    const auto *widget = static_cast<const QWidget *>(object);
    return widget != m_canvas && !widget->isWindow() && m_canvas->isAncestorOf(widget);
}

void CanvasItemWatch::follow(QWidget *item, QEvent *event)
{
    const QRect onSkin(offsetWithin(m_canvas, item), item->size());
    // Zoomed, a smooth edge reaches into the pixel beside it.
    const int bleed = m_canvas->zoom() == 1.0 ? 0 : 1;
    auto shown = [this, bleed](const QRect &skinRect) {
        return m_canvas->toView(skinRect).adjusted(-bleed, -bleed, bleed, bleed);
    };
    const QRect now = shown(onSkin);
    switch (event->type()) {
    case QEvent::Show:
        adoptCanvasItem(item);
        m_canvas->updateView(now);
        break;
    case QEvent::Hide:
    case QEvent::ZOrderChange:
        m_canvas->updateView(now);
        break;
    case QEvent::Move:
        if (item->isVisible()) {
            const QPoint moved = item->pos() - static_cast<QMoveEvent *>(event)->oldPos();
            m_canvas->updateView(shown(onSkin.translated(-moved)));
            m_canvas->updateView(now);
        }
        break;
    case QEvent::Resize:
        if (item->isVisible()) {
            m_canvas->updateView(
                shown(QRect(onSkin.topLeft(), static_cast<QResizeEvent *>(event)->oldSize())));
            m_canvas->updateView(now);
        }
        break;
    default:
        break;
    }
}

bool CanvasItemWatch::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (watched == m_canvas || isItem(watched)) {
            QObject *child = static_cast<QChildEvent *>(event)->child();
            if (child->isWidgetType() && !static_cast<QWidget *>(child)->isWindow())
                adoptCanvasItem(static_cast<QWidget *>(child));
        }
        return false;
    case QEvent::ChildRemoved:
        // Where it was is not known any more.
        if (watched == m_canvas || isItem(watched))
            m_canvas->update();
        return false;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ZOrderChange:
    case QEvent::Move:
    case QEvent::Resize:
        if (isItem(watched))
            follow(static_cast<QWidget *>(watched), event);
        return false;
    default:
        return false;
    }
}

} // namespace zq
