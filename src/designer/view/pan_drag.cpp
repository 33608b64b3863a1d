#include "view/pan_drag.h"

#include "view/device_pixels.h"
#include "view/move_size_loop.h"
#include "view/skin_canvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace zq {

PanDrag::PanDrag(SkinCanvas *canvas)
    : QObject(canvas)
    , m_canvas(canvas)
{
    qApp->installEventFilter(this);
}

bool PanDrag::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType() || MoveSizeLoop::isRunning())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Space || widget->window() != m_canvas->window() || !m_canvas->pans())
            return false;
        if (!key->isAutoRepeat())
            m_spaceHeld = event->type() == QEvent::KeyPress;
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool onCanvas = widget == m_canvas || m_canvas->isAncestorOf(widget);
        const bool panPress =
            mouse->button() == Qt::MiddleButton || (mouse->button() == Qt::LeftButton && m_spaceHeld);
        if (!onCanvas || !panPress || m_button != Qt::NoButton)
            return false;
        m_button = mouse->button();
        m_pressGlobal = exactGlobalPosition(widget, *mouse);
        m_panAtPress = m_canvas->pan();
        return true;
    }
    case QEvent::MouseMove: {
        if (m_button == Qt::NoButton)
            return false;
        const qreal ratio = m_canvas->ratio();
        const QPointF now = exactGlobalPosition(widget, *static_cast<QMouseEvent *>(event));
        m_canvas->panTo(m_panAtPress - (devicePixelAt(now, ratio) - devicePixelAt(m_pressGlobal, ratio)));
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m_button == Qt::NoButton || static_cast<QMouseEvent *>(event)->button() != m_button)
            return false;
        m_button = Qt::NoButton;
        return true;
    default:
        return false;
    }
}

} // namespace zq
