#pragma once

#include "view/move_size_loop.h"

#include <Qt>

class QMouseEvent;
class QWidget;

namespace zq {

// Border band width every caller uses.
inline constexpr int kMovePrecision = 5;

// Moves or resizes `control` with the mouse. Called from the control's own mouse-press or
// mouse-move handler with that event's state and position (control coordinates). Always
// sets the control's cursor to the zone under the pointer; when the left button alone is
// down (no Shift, Ctrl or Alt, no double click) it runs the move/size loop and returns
// after the button is released, with the control's geometry final. Returns where the loop
// started and ended (NotStarted, the geometry twice, when it did not run).
MoveSizeLoop::Result MovePanelByMouse(QWidget *control, Qt::MouseButtons buttons,
                                      Qt::KeyboardModifiers modifiers, bool doubleClick, int x, int y,
                                      int precision);

// The same, fed straight from a mouse event. The press that completes a double click counts
// as the double click.
MoveSizeLoop::Result MovePanelByMouse(QWidget *control, const QMouseEvent &event, int precision);

// The picture elements' plain drag: moves the whole control (command 0xF009) with the
// pointer from `globalStart` until the left button is released.
MoveSizeLoop::Result DragMove(QWidget *control, QPointF globalStart);

} // namespace zq
