#pragma once

// Skins with a 3840x2160 background, for the benchmarks and for scripts/bench-process.

#include <QString>

namespace bench {

constexpr int skinWidth = 3840;
constexpr int skinHeight = 2160;
constexpr int pictureWidth = 1024;
constexpr int pictureHeight = 768;

// Writes into root: "baseline/" and "progressive/", each a whole skin (the sample skin's
// layout and six pictures over a 4K background JPEG of that kind), and "picture.png", a
// 1024x768 RGBA picture with opaque, part-transparent and clear bands.
// Returns false, saying why on stderr, when the sample skin cannot be found or a file cannot be written.
bool writeFourKSkins(const QString &root);

} // namespace bench
