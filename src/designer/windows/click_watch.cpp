#include "windows/click_watch.h"

#include <QMouseEvent>
#include <QWidget>

#include <utility>

namespace zq {

ClickWatch::ClickWatch(QWidget *watched)
    : QObject(watched)
{
    watched->installEventFilter(this);
}

bool ClickWatch::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if ((!press && !release) || static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const bool inside = static_cast<QWidget *>(watched)->rect().contains(mouse->position().toPoint());
    if (press)
        m_pressed = true;
    else if (std::exchange(m_pressed, false) && inside)
        emit clicked();
    return true;
}

} // namespace zq
