#pragma once

class QPoint;
class QWidget;

namespace zq {

// Moves what `widget` shows by `delta` logical pixels and has only what comes in painted, as
// QWidget::scroll does, though its siblings above it cover part of it: Qt paints a whole
// widget again when anything lies over it, so the parts no sibling covers move each on its
// own, and the covered parts are painted again. Its children stay where they are.
void scrollUncovered(QWidget *widget, QPoint delta);

} // namespace zq
