#include "editing/key_steps.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace zq {

std::optional<KeyStep> keyStep(int key, Qt::KeyboardModifiers modifiers)
{
    const int size = modifiers.testFlag(Qt::ShiftModifier) ? 10 : 1;
    KeyStep step;
    step.resize = modifiers.testFlag(Qt::ControlModifier);
    switch (key) {
    case Qt::Key_Left:
        step.dx = -size;
        break;
    case Qt::Key_Right:
        step.dx = size;
        break;
    case Qt::Key_Up:
        step.dy = -size;
        break;
    case Qt::Key_Down:
        step.dy = size;
        break;
    default:
        return std::nullopt;
    }
    return step;
}

int stepValue(int value, int delta)
{
    const std::int64_t sum = std::int64_t(value) + delta;
    return int(
        std::clamp<std::int64_t>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

BoxRect applyKeyStep(BoxRect r, const KeyStep &step)
{
    if (step.resize) {
        r.width = std::max(0, stepValue(r.width, step.dx));
        r.height = std::max(0, stepValue(r.height, step.dy));
    } else {
        r.left = stepValue(r.left, step.dx);
        r.top = stepValue(r.top, step.dy);
    }
    return r;
}

} // namespace zq
