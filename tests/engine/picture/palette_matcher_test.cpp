#include "picture/palette_matcher.h"

#include "picture/bitmap.h"
#include "picture/png_flatten.h"

#include <gtest/gtest.h>

#include <random>

using zq::Bitmap;
using zq::BitmapFormat;
using zq::PaletteMatcher;

namespace {

std::vector<QRgb> randomPalette(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> sample(0, 255);
    std::vector<QRgb> palette;
    for (size_t i = 0; i < size; ++i)
        palette.push_back(qRgb(sample(random), sample(random), sample(random)));
    return palette;
}

// Channel values spread over the cube, with both sides of several cell edges.
std::vector<int> probeValues()
{
    std::vector<int> values;
    for (int v = 0; v < 256; v += 7)
        values.push_back(v);
    for (int v : {7, 8, 9, 63, 64, 127, 128, 247, 248, 254})
        values.push_back(v);
    return values;
}

} // namespace

// The plain search over the whole table is the reference: same entry, ties included.
TEST(PaletteMatcher, FindsTheSameEntryAsTheFullSearch)
{
    std::vector<std::vector<QRgb>> palettes = {
        randomPalette(236, 1),
        randomPalette(16, 2),
        {qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(255, 255, 255)},
        // Duplicates and entries at equal distances: the lowest index wins.
        {qRgb(10, 10, 10), qRgb(30, 10, 10), qRgb(10, 10, 10), qRgb(20, 20, 20), qRgb(20, 0, 0)},
        {qRgb(200, 40, 40)},
    };
    std::vector<QRgb> grey;
    for (int v = 255; v >= 0; --v)
        grey.push_back(qRgb(v, v, v));
    palettes.push_back(grey);

    const std::vector<int> values = probeValues();
    for (const std::vector<QRgb> &palette : palettes) {
        SCOPED_TRACE(palette.size());
        const Bitmap reference(1, 1, BitmapFormat::indexed8(palette));
        PaletteMatcher matcher(palette);
        int mismatches = 0;
        for (int r : values)
            for (int g : values)
                for (int b : values)
                    if (matcher.nearest(qRgb(r, g, b)) != reference.nearestPaletteIndex(qRgb(r, g, b)))
                        ++mismatches;
        EXPECT_EQ(mismatches, 0);
    }
}

// Flattening onto a palette picture stores only entries its depth can index.
TEST(PaletteMatcher, FlatteningOntoFourBitsUsesTheFirstSixteenEntries)
{
    std::vector<QRgb> palette(20, qRgb(0, 0, 0));
    palette[3] = qRgb(100, 100, 100);
    palette[18] = qRgb(250, 20, 20); // nearest to red, but out of a 4-bit picture's reach
    BitmapFormat format = BitmapFormat::indexed8(palette);
    format.bitsPerPixel = 4;
    Bitmap target(2, 1, format);
    zq::PngPicture red;
    red.width = 2;
    red.height = 1;
    red.pixels = {20, 20, 250, 255, 20, 20, 250, 255};
    zq::flattenPng(red, target);
    EXPECT_EQ(target.rawPixel(0, 0), 3u);
    EXPECT_EQ(target.rawPixel(1, 0), 3u);
}
