#include "view/move_size_loop.h"

#include "view/device_pixels.h"
#include "view/skin_canvas.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

namespace zq {

namespace {
bool g_running = false;
MoveSizeLoop::StepFilter g_stepFilter;
MoveSizeLoop::StepObserver g_stepObserver;
} // namespace

void MoveSizeLoop::setStepFilter(StepFilter filter)
{
    g_stepFilter = std::move(filter);
}

void MoveSizeLoop::setStepObserver(StepObserver observer)
{
    g_stepObserver = std::move(observer);
}

MoveSizeLoop::MoveSizeLoop(QWidget *control, HitZone zone, QPointF globalStart)
    : m_control(control)
    , m_zone(zone)
    , m_globalStart(globalStart)
    , m_units(SkinCanvas::unitsPerPoint(control))
    , m_startRect(control->geometry())
{}

bool MoveSizeLoop::isRunning()
{
    return g_running;
}

MoveSizeLoop::Result MoveSizeLoop::run(QWidget *control, HitZone zone, QPointF globalStart)
{
    if (g_running || !control || !control->isVisible()) {
        const QRect here = control ? control->geometry() : QRect();
        return {Outcome::NotStarted, here, here};
    }
    MoveSizeLoop loop(control, zone, globalStart);
    return loop.exec();
}

MoveSizeLoop::Result MoveSizeLoop::exec()
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
    const QRect end = m_control ? m_control->geometry() : m_startRect;
    if (g_stepObserver && m_control)
        g_stepObserver(m_control, false);
    return {m_outcome, m_startRect, end};
}

void MoveSizeLoop::follow(QPointF globalPos, Qt::KeyboardModifiers modifiers)
{
    if (!m_control || !m_loop || !m_loop->isRunning())
        return;
    // Both ends on whole pixels of the control's units: the travel is exact.
    const QPoint travel = devicePixelAt(globalPos, m_units) - devicePixelAt(m_globalStart, m_units);
    QRect rect = applyDrag(m_zone, m_startRect, travel);
    if (g_stepFilter)
        rect = g_stepFilter(m_control, m_zone, rect, modifiers);
    if (rect != m_control->geometry())
        m_control->setGeometry(rect);
    if (g_stepObserver)
        g_stepObserver(m_control, true);
}

void MoveSizeLoop::finish(Outcome outcome)
{
    if (!m_loop || !m_loop->isRunning())
        return;
    m_outcome = outcome;
    if (outcome == Outcome::Cancelled && m_control)
        m_control->setGeometry(m_startRect);
    m_loop->exit();
    // Events processed later in the same handler (a nested processEvents) can take the
    // loop's wake-up, and the Windows dispatcher then waits on without seeing the exit:
    // a short repeating timer wakes the loop until it has returned (it dies with the loop).
    auto *nudge = new QTimer(m_loop);
    connect(nudge, &QTimer::timeout, m_loop, &QEventLoop::quit);
    nudge->start(10);
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
            follow(exactGlobalPosition(static_cast<QWidget *>(watched), *me), me->modifiers());
        else
            finish(Outcome::Finished); // the release went elsewhere
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (!toWidget)
            return false;
        const auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() == Qt::LeftButton) {
            follow(exactGlobalPosition(static_cast<QWidget *>(watched), *me), me->modifiers());
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
