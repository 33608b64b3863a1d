#include "view/move_panel.h"

#include "view/device_pixels.h"
#include "view/hit_zone.h"
#include "view/skin_canvas.h"

#include <QMouseEvent>
#include <QWidget>

namespace zq {

namespace {

MoveSizeLoop::Result moveOrSize(QWidget *control, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                bool doubleClick, QPoint pos, QPointF globalPos, int precision)
{
    const HitZone zone = hitTest(control->size(), pos, precision);
    control->setCursor(zoneCursor(zone));

    // Meta and keypad flags are not part of the shift state the drag looks at.
    const Qt::KeyboardModifiers shiftKeys =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (buttons != Qt::LeftButton || shiftKeys != Qt::NoModifier || doubleClick)
        return {MoveSizeLoop::Outcome::NotStarted, control->geometry(), control->geometry()};
    return MoveSizeLoop::run(control, zone, globalPos);
}

} // namespace

MoveSizeLoop::Result MovePanelByMouse(QWidget *control, Qt::MouseButtons buttons,
                                      Qt::KeyboardModifiers modifiers, bool doubleClick, int x, int y,
                                      int precision)
{
    const QPoint pos(x, y);
    return moveOrSize(control, buttons, modifiers, doubleClick, pos, SkinCanvas::globalPos(control, pos),
                      precision);
}

MoveSizeLoop::Result MovePanelByMouse(QWidget *control, const QMouseEvent &event, int precision)
{
    const bool doubleClick = event.type() == QEvent::MouseButtonDblClick ||
                             event.flags().testFlag(Qt::MouseEventCreatedDoubleClick);
    // The pointer's own global position, unrounded: the travel is counted from it.
    return moveOrSize(control, event.buttons(), event.modifiers(), doubleClick, event.position().toPoint(),
                      exactGlobalPosition(control, event), precision);
}

MoveSizeLoop::Result DragMove(QWidget *control, QPointF globalStart)
{
    return MoveSizeLoop::run(control, HitZone::Interior, globalStart);
}

} // namespace zq
