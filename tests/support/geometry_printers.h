#pragma once

// Lets GoogleTest show the skin's value types readably.

#include "skin/geometry.h"

#include <ostream>

namespace zq {

inline void PrintTo(const Point &p, std::ostream *os)
{
    *os << "(" << p.x << ", " << p.y << ")";
}

inline void PrintTo(const BoxRect &b, std::ostream *os)
{
    *os << "{left " << b.left << ", top " << b.top << ", width " << b.width << ", height " << b.height << "}";
}

inline void PrintTo(const PixelSize &s, std::ostream *os)
{
    *os << s.width << "x" << s.height;
}

} // namespace zq
