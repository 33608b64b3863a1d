#include "editing/move_panel.h"

#include "editing/hit_zone.h"

#include <QMouseEvent>
#include <QWidget>

namespace zq {

MoveSizeLoop::Result MovePanelByMouse(QWidget *control, Qt::MouseButtons buttons,
                                      Qt::KeyboardModifiers modifiers, bool doubleClick, int x, int y,
                                      int precision)
{
    const QPoint pos(x, y);
    const HitZone zone = hitTest(control->size(), pos, precision);
    control->setCursor(zoneCursor(zone));

    // Meta and keypad flags are not part of the shift state the drag looks at.
    const Qt::KeyboardModifiers shiftKeys =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (buttons != Qt::LeftButton || shiftKeys != Qt::NoModifier || doubleClick)
        return {MoveSizeLoop::Outcome::NotStarted, control->geometry(), control->geometry()};
    return MoveSizeLoop::run(control, zone, control->mapToGlobal(pos));
}

MoveSizeLoop::Result MovePanelByMouse(QWidget *control, const QMouseEvent &event, int precision)
{
    const bool doubleClick = event.type() == QEvent::MouseButtonDblClick ||
                             event.flags().testFlag(Qt::MouseEventCreatedDoubleClick);
    const QPoint pos = event.position().toPoint();
    return MovePanelByMouse(control, event.buttons(), event.modifiers(), doubleClick, pos.x(), pos.y(),
                            precision);
}

MoveSizeLoop::Result DragMove(QWidget *control, QPoint globalStart)
{
    return MoveSizeLoop::run(control, HitZone::Interior, globalStart);
}

} // namespace zq
