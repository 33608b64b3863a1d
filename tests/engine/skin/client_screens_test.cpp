// The client's screens: which rectangles a screen cuts off, and the sizes a user may type.

#include "skin/client_screens.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

namespace {

constexpr std::int32_t most = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t least = std::numeric_limits<std::int32_t>::min();

TEST(ClientScreens, ARectangleLiesBeyondAScreenWhenAnyPartIsOffIt)
{
    const struct {
        const char *what;
        zq::BoxRect rect;
        bool beyond;
    } cases[] = {
        {"fills the screen exactly", {0, 0, 1366, 768}, false},
        {"inside", {1305, 405, 60, 300}, false},
        {"one pixel past the right", {1305, 405, 62, 44}, true},
        {"one pixel past the bottom", {0, 700, 10, 69}, true},
        {"one pixel left of it", {-1, 0, 10, 10}, true},
        {"one pixel above it", {0, -1, 10, 10}, true},
        {"wholly right of it", {1366, 0, 10, 10}, true},
        {"wholly below it", {0, 768, 10, 10}, true},
        {"no area, corner inside", {1000, 700, 0, 0}, false},
        {"no area, corner on the far corner", {1366, 768, 0, 0}, false},
        {"no area, corner past it", {1367, 768, 0, 0}, true},
        {"negative size, judged by its corner", {10, 10, -50, -50}, false},
        {"a width that would wrap round 32 bits", {100, 100, most, 1}, true},
        {"a corner at the far end of 32 bits", {most, most, most, most}, true},
        {"a corner at the near end of 32 bits", {least, 0, most, 10}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(zq::liesBeyondScreen(c.rect, {1366, 768}), c.beyond);
    }
}

TEST(ClientScreens, SizesAreReadInTheFormsAUserTypes)
{
    const struct {
        const char *text;
        std::optional<zq::PixelSize> size;
    } cases[] = {
        {"1366x768", zq::PixelSize{1366, 768}},
        {"1920X1080", zq::PixelSize{1920, 1080}},
        {"2560×1440", zq::PixelSize{2560, 1440}},
        {" 1024 x 768 ", zq::PixelSize{1024, 768}},
        {"1x1", zq::PixelSize{1, 1}},
        {"65535x65535", zq::PixelSize{65535, 65535}},
        {"65536x768", std::nullopt},
        {"1366x99999", std::nullopt},
        {"0x768", std::nullopt},
        {"1366x0", std::nullopt},
        {"-1366x768", std::nullopt},
        {"+1366x768", std::nullopt},
        {"1366", std::nullopt},
        {"1366x", std::nullopt},
        {"x768", std::nullopt},
        {"1366x768x2", std::nullopt},
        {"1366*768", std::nullopt},
        {"13 66x768", std::nullopt},
        {"1366.5x768", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(zq::parseScreenSize(QString::fromUtf8(c.text)), c.size);
    }
    // What the designer writes reads back as the same screen.
    for (zq::PixelSize screen : zq::commonClientScreens)
        EXPECT_EQ(zq::parseScreenSize(zq::screenSizeText(screen)), screen);
}

} // namespace
