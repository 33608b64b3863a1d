#pragma once

#include "skin/geometry.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace zq {

// The screen sizes café client machines commonly have. The client draws the background 1:1 from
// the screen's top-left corner, so a smaller screen cuts the lock screen at its right and bottom.
inline constexpr std::array<PixelSize, 9> commonClientScreens = {{{1024, 768},
                                                                  {1280, 1024},
                                                                  {1366, 768},
                                                                  {1440, 900},
                                                                  {1600, 900},
                                                                  {1680, 1050},
                                                                  {1920, 1080},
                                                                  {2560, 1440},
                                                                  {3840, 2160}}};

// True when a rectangle in background pixels lies wholly or partly beyond a screen of that size
// (left of it, above it, right of it or below it). A rectangle without area is judged by its
// corner.
bool liesBeyondScreen(const BoxRect &rect, PixelSize screen);

// "1366x768" (also with "X" or "×", and with spaces round it, as in "1366 × 768"); nothing for
// anything else, including a zero or negative side or a side above 65535.
std::optional<PixelSize> parseScreenSize(QStringView text);

// "1366 × 768".
QString screenSizeText(PixelSize screen);

} // namespace zq
