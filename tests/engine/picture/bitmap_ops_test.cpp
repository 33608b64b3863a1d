#include "picture/bitmap_ops.h"

#include "sample_formats.h"

#include <gtest/gtest.h>

using sample::palette4;
using sample::sixteen565;
using sample::white;
using zq::Bitmap;
using zq::BitmapFormat;

namespace {

// A 24-bit picture whose pixel (x, y) is colourAt(x, y).
QRgb colourAt(int x, int y)
{
    return qRgb(x * 16 + 3, y * 16 + 5, (x ^ y) * 8 + 7);
}

Bitmap numbered(int width, int height)
{
    Bitmap b(width, height, BitmapFormat::rgb24());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setPixel(x, y, colourAt(x, y));
    return b;
}

Bitmap rowOf(std::initializer_list<QRgb> colours)
{
    Bitmap b(int(colours.size()), 1, BitmapFormat::rgb24());
    int x = 0;
    for (QRgb c : colours)
        b.setPixel(x++, 0, c);
    return b;
}

std::vector<QRgb> pixelsOf(const Bitmap &b, int y)
{
    std::vector<QRgb> row;
    for (int x = 0; x < b.width(); ++x)
        row.push_back(b.pixel(x, y));
    return row;
}

} // namespace

TEST(CopyRect, CopiesPixelForPixelClippedToTheTarget)
{
    const Bitmap source = numbered(6, 5);
    Bitmap target(4, 3, BitmapFormat::rgb24());
    // Source (1, 1)..(4, 3) placed at (2, 1): only two columns and two rows land in the target.
    zq::copyRect(target, {2, 1}, source, QRect(1, 1, 4, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool inside = x >= 2 && y >= 1;
            EXPECT_EQ(target.pixel(x, y), inside ? colourAt(x - 1, y) : white) << x << "," << y;
        }
    }
}

TEST(CopyRect, PartOutsideTheSourceBecomesWhite)
{
    const Bitmap source = numbered(4, 4);
    Bitmap target(3, 3, BitmapFormat::rgb24());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            target.setPixel(x, y, qRgb(1, 2, 3)); // stale content that must not show through
    // An element at (-1, 2) over a 4x4 background: its left column and bottom row are off it.
    zq::copyRect(target, {0, 0}, source, QRect(-1, 2, 3, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            const int sx = x - 1, sy = y + 2;
            const bool onSource = sx >= 0 && sy < 4;
            EXPECT_EQ(target.pixel(x, y), onSource ? colourAt(sx, sy) : white) << x << "," << y;
        }
    }

    // Entirely off the source: all white.
    zq::copyRect(target, {0, 0}, source, QRect(100, -50, 3, 3));
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(pixelsOf(target, y), std::vector<QRgb>(3, white));
}

TEST(CopyRect, DrawsIntoTheTargetsOwnFormat)
{
    const Bitmap source = rowOf({qRgb(250, 10, 10), qRgb(20, 200, 30), qRgb(0, 0, 0), qRgb(255, 130, 7)});

    Bitmap indexed(4, 1, palette4());
    zq::copyRect(indexed, {0, 0}, source, QRect(0, 0, 4, 1));
    EXPECT_EQ((std::vector<uint32_t>{indexed.rawPixel(0, 0), indexed.rawPixel(1, 0), indexed.rawPixel(2, 0)}),
              (std::vector<uint32_t>{1, 2, 0}));

    Bitmap sixteen(4, 1, sixteen565());
    zq::copyRect(sixteen, {0, 0}, source, QRect(0, 0, 4, 1));
    EXPECT_EQ(sixteen.rawPixel(3, 0), (31u << 11) | ((130u >> 2) << 5) | (7u >> 3));

    // Same palette layout below 8 bits, at an odd column: stored indices move unchanged.
    Bitmap from4(5, 1, palette4());
    for (int x = 0; x < 5; ++x)
        from4.setRawPixel(x, 0, uint32_t(x));
    Bitmap to4(5, 1, palette4());
    zq::copyRect(to4, {1, 0}, from4, QRect(0, 0, 4, 1));
    EXPECT_EQ(pixelsOf(to4, 0), (std::vector<QRgb>{white, from4.pixel(0, 0), from4.pixel(1, 0),
                                                   from4.pixel(2, 0), from4.pixel(3, 0)}));
}

TEST(StretchRect, ShrinkingMergesDroppedPixelsWithAnd)
{
    const QRgb a = qRgb(0xF0, 0x3C, 0xFF), b = qRgb(0x3C, 0xF0, 0x0F), c = qRgb(0xAA, 0x55, 0x81),
               d = qRgb(0x0F, 0xFF, 0x18);
    // Four columns onto two: pairs merge. Three onto two: source j lands on floor(2j / 3),
    // so the first two merge and the third stands alone.
    const Bitmap four = rowOf({a, b, c, d});
    Bitmap two(2, 1, BitmapFormat::rgb24());
    zq::stretchRect(two, QRect(0, 0, 2, 1), four, QRect(0, 0, 4, 1));
    EXPECT_EQ(pixelsOf(two, 0), (std::vector<QRgb>{a & b, c & d}));

    const Bitmap three = rowOf({a, b, c});
    zq::stretchRect(two, QRect(0, 0, 2, 1), three, QRect(0, 0, 3, 1));
    EXPECT_EQ(pixelsOf(two, 0), (std::vector<QRgb>{a & b, c}));

    // Rows merge the same way: a 2x2 block onto one pixel.
    Bitmap block(2, 2, BitmapFormat::rgb24());
    block.setPixel(0, 0, a);
    block.setPixel(1, 0, b);
    block.setPixel(0, 1, c);
    block.setPixel(1, 1, d);
    Bitmap one(1, 1, BitmapFormat::rgb24());
    zq::stretchRect(one, QRect(0, 0, 1, 1), block, QRect(0, 0, 2, 2));
    EXPECT_EQ(one.pixel(0, 0), a & b & c & d);

    // Shrinking one way while enlarging the other.
    Bitmap tall(1, 3, BitmapFormat::rgb24());
    zq::stretchRect(tall, QRect(0, 0, 1, 3), rowOf({a, b}), QRect(0, 0, 2, 1));
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(tall.pixel(0, y), a & b);
}

TEST(StretchRect, MergesColoursNotStoredValuesInOtherFormats)
{
    // Reds of 3 and 5 in 5-bit steps are 25 and 41; their AND is 9, where 3 AND 5 would give 8.
    Bitmap source(2, 1, sixteen565());
    source.setRawPixel(0, 0, 3u << 11);
    source.setRawPixel(1, 0, 5u << 11);
    const QRgb merged = qRgb(9, 0, 0);
    ASSERT_EQ(source.pixel(0, 0) & source.pixel(1, 0), merged);
    Bitmap rgb(1, 1, BitmapFormat::rgb24());
    zq::stretchRect(rgb, QRect(0, 0, 1, 1), source, QRect(0, 0, 2, 1));
    EXPECT_EQ(rgb.pixel(0, 0), merged);

    // Into a palette: the nearest entry to the merged colour.
    Bitmap indexed(1, 1, palette4());
    zq::stretchRect(indexed, QRect(0, 0, 1, 1), rowOf({qRgb(255, 255, 0), qRgb(255, 0, 255)}),
                    QRect(0, 0, 2, 1));
    EXPECT_EQ(indexed.pixel(0, 0), qRgb(255, 0, 0));
}

TEST(StretchRect, ClippingKeepsTheUnclippedResult)
{
    const Bitmap source = numbered(7, 5);
    // The same stretch into a target that holds all of it and into one that cuts it.
    Bitmap whole(12, 9, BitmapFormat::rgb24());
    zq::stretchRect(whole, QRect(0, 0, 12, 9), source, QRect(0, 0, 7, 5));
    Bitmap cut(8, 6, BitmapFormat::rgb24());
    zq::stretchRect(cut, QRect(-4, -3, 12, 9), source, QRect(0, 0, 7, 5));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(cut.pixel(x, y), whole.pixel(x + 4, y + 3)) << x << "," << y;

    // Empty and mirrored rectangles draw nothing.
    Bitmap untouched(2, 2, BitmapFormat::rgb24());
    zq::stretchRect(untouched, QRect(0, 0, 0, 2), source, QRect(0, 0, 7, 5));
    zq::stretchRect(untouched, QRect(0, 0, 2, 2), source, QRect(7, 0, -7, 5));
    EXPECT_EQ(untouched, Bitmap(2, 2, BitmapFormat::rgb24()));
}

TEST(StretchRect, WholePictureScaleMatchesARepeatedPixelModel)
{
    // The replacement case: a picture stretched over a larger one, then back down. Enlarging
    // by exactly 3 repeats each pixel three times; shrinking back ANDs three equal pixels.
    const Bitmap small = numbered(5, 4);
    Bitmap large(15, 12, BitmapFormat::rgb24());
    zq::stretchRect(large, QRect(0, 0, 15, 12), small, QRect(0, 0, 5, 4));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 15; ++x)
            ASSERT_EQ(large.pixel(x, y), colourAt(x / 3, y / 3)) << x << "," << y;
    Bitmap back(5, 4, BitmapFormat::rgb24());
    zq::stretchRect(back, QRect(0, 0, 5, 4), large, QRect(0, 0, 15, 12));
    EXPECT_EQ(back, small);
}
