#pragma once

#include <cstdint>

namespace zq {

// A position in pixels of the background picture, origin at its top-left corner.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const Point &, const Point &) = default;
};

// A text box's rectangle in pixels, relative to its page picture.
struct BoxRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const BoxRect &, const BoxRect &) = default;
};

// The pixel size of a picture.
struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const PixelSize &, const PixelSize &) = default;
};

} // namespace zq
