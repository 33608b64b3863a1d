#include "picture/png_flatten.h"

#include "picture/palette_matcher.h"

#include <algorithm>
#include <optional>

namespace zq {

namespace {

// 24-bit targets: straight on the row bytes, whose B, G, R order matches the picture's.
void flattenOnto24(const PngPicture &png, Bitmap &target, int width, int height)
{
    for (int y = 0; y < height; ++y) {
        const uint8_t *s = png.row(y);
        uint8_t *d = target.row(y);
        for (int x = 0; x < width; ++x, s += 4, d += 3) {
            const unsigned a = s[3];
            const unsigned na = 255 - a;
            d[0] = uint8_t((s[0] * a + d[0] * na + 255) >> 8);
            d[1] = uint8_t((s[1] * a + d[1] * na + 255) >> 8);
            d[2] = uint8_t((s[2] * a + d[2] * na + 255) >> 8);
        }
    }
}

// Other targets: each blended colour is stored as the value `valueOf` gives for it. Neighbouring
// pixels often give the same colour, so a value is looked up only when the colour changes.
template <class ValueOf>
void flattenByColour(const PngPicture &png, Bitmap &target, int width, int height, ValueOf valueOf)
{
    QRgb lastColour = 0;
    uint32_t lastValue = valueOf(lastColour);
    for (int y = 0; y < height; ++y) {
        const uint8_t *s = png.row(y);
        for (int x = 0; x < width; ++x, s += 4) {
            const QRgb under = target.pixel(x, y);
            const int a = s[3];
            const QRgb colour = qRgb(blendSample(s[2], qRed(under), a), blendSample(s[1], qGreen(under), a),
                                     blendSample(s[0], qBlue(under), a));
            if (colour != lastColour) {
                lastColour = colour;
                lastValue = valueOf(colour);
            }
            target.setRawPixel(x, y, lastValue);
        }
    }
}

} // namespace

void flattenPng(const PngPicture &png, Bitmap &target, PaletteMatcher *matcher)
{
    const int width = std::min(png.width, target.width());
    const int height = std::min(png.height, target.height());
    if (width <= 0 || height <= 0)
        return;
    if (target.format().bitsPerPixel == 24) {
        flattenOnto24(png, target, width, height);
    } else if (target.format().hasPalette()) {
        // A blended picture has many colours, each needing its nearest palette entry.
        std::optional<PaletteMatcher> own;
        PaletteMatcher &palette = matcher ? *matcher : own.emplace(usablePalette(target));
        flattenByColour(png, target, width, height, [&](QRgb c) { return uint32_t(palette.nearest(c)); });
    } else {
        flattenByColour(png, target, width, height, [&](QRgb c) { return target.encode(c); });
    }
}

} // namespace zq
