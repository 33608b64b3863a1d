#pragma once

#include "skin/geometry.h"

#include <Qt>

#include <optional>

namespace zq {

// What one arrow key does to the selection: move it, or (Ctrl, on a box) move its right or
// bottom edge. Shift makes the step 10 pixels instead of 1.
struct KeyStep {
    int dx = 0;
    int dy = 0;
    bool resize = false;
};

// The step of a key with the keys held, or none when the key is no arrow.
std::optional<KeyStep> keyStep(int key, Qt::KeyboardModifiers modifiers);

// `value` + `delta`, staying at the end of the 32-bit range it would pass.
int stepValue(int value, int delta);

// The rectangle after a step: moved, or resized from its right and bottom edges with the
// size never below 0.
BoxRect applyKeyStep(BoxRect r, const KeyStep &step);

} // namespace zq
