#include "move_size_loop.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace zq {

namespace {
bool g_running = false;
}

MoveSizeLoop::MoveSizeLoop(QWidget *control, HitZone zone, QPoint globalStart)
    : m_control(control)
    , m_zone(zone)
    , m_globalStart(globalStart)
    , m_startRect(control->geometry())
{}

bool MoveSizeLoop::isRunning()
{
    return g_running;
}

MoveSizeLoop::Outcome MoveSizeLoop::run(QWidget *control, HitZone zone, QPoint globalStart)
{
    if (g_running || !control || !control->isVisible())
        return Outcome::NotStarted;
    MoveSizeLoop loop(control, zone, globalStart);
    return loop.exec();
}

MoveSizeLoop::Outcome MoveSizeLoop::exec()
{
    g_running = true;
    QEventLoop loop;
    m_loop = &loop;
    connect(m_control, &QObject::destroyed, &loop, [this] { finish(Outcome::Finished); });

    QWidget *control = m_control;
    control->grabMouse();
    control->grabKeyboard();
    QApplication::setOverrideCursor(zoneCursor(m_zone));
    qApp->installEventFilter(this);

    loop.exec();

    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    if (m_control) {
        m_control->releaseKeyboard();
        m_control->releaseMouse();
    }
    m_loop = nullptr;
    g_running = false;
    return m_outcome;
}

void MoveSizeLoop::follow(QPoint globalPos)
{
    if (!m_control || !m_loop || !m_loop->isRunning())
        return;
    const QRect rect = applyDrag(m_zone, m_startRect, globalPos - m_globalStart);
    if (rect != m_control->geometry())
        m_control->setGeometry(rect);
}

void MoveSizeLoop::finish(Outcome outcome)
{
    if (!m_loop || !m_loop->isRunning())
        return;
    m_outcome = outcome;
    if (outcome == Outcome::Cancelled && m_control)
        m_control->setGeometry(m_startRect);
    m_loop->exit();
}

bool MoveSizeLoop::eventFilter(QObject *watched, QEvent *event)
{
    // Window-level events pass: the window still has to keep its own track of the buttons.
    // Only what would reach a widget is taken.
    const bool toWidget = watched->isWidgetType();
    switch (event->type()) {
    case QEvent::MouseMove: {
        if (!toWidget)
            return false;
        const auto *me = static_cast<QMouseEvent *>(event);
        if (me->buttons() & Qt::LeftButton)
            follow(me->globalPosition().toPoint());
        else
            finish(Outcome::Finished); // the release went elsewhere
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (!toWidget)
            return false;
        const auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() == Qt::LeftButton) {
            follow(me->globalPosition().toPoint());
            finish(Outcome::Finished);
        }
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::KeyRelease:
        return toWidget;
    case QEvent::ShortcutOverride:
        // Esc belongs to the loop, not to a shortcut of some window.
        if (toWidget) {
            event->accept();
            return true;
        }
        return false;
    case QEvent::KeyPress:
        if (!toWidget)
            return false;
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            finish(Outcome::Cancelled);
        return true;
    case QEvent::ApplicationDeactivate:
        // Another program took the pointer: keep where the drag got to.
        finish(Outcome::Finished);
        return false;
    default:
        return false;
    }
}

} // namespace zq
