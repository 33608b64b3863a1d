#pragma once

#include <QByteArray>

namespace zq::platform {

// The Qt platform for a program that draws text into pictures but never shows a window, and
// so needs fonts but no display: "offscreen" where Qt brings its own font engine, "minimal" on
// Windows, whose plugin reads the system's fonts.
QByteArray headlessGuiPlatform();

} // namespace zq::platform
