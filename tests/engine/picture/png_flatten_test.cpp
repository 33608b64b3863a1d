#include "picture/png_flatten.h"

#include "png_test_files.h"

#include <gtest/gtest.h>

using zq::Bitmap;
using zq::BitmapFormat;
using zq::PngPicture;

namespace {

// A picture of one row of B, G, R, A pixels.
PngPicture row(std::initializer_list<QRgb> pixels)
{
    PngPicture p;
    p.width = int(pixels.size());
    p.height = 1;
    for (QRgb c : pixels) {
        p.pixels.push_back(uint8_t(qBlue(c)));
        p.pixels.push_back(uint8_t(qGreen(c)));
        p.pixels.push_back(uint8_t(qRed(c)));
        p.pixels.push_back(uint8_t(qAlpha(c)));
    }
    return p;
}

Bitmap filled(int width, int height, QRgb colour, BitmapFormat format = BitmapFormat::rgb24())
{
    Bitmap b(width, height, std::move(format));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setPixel(x, y, colour);
    return b;
}

} // namespace

TEST(PngFlatten, BlendExamples)
{
    Bitmap target(3, 1, BitmapFormat::rgb24());
    target.setPixel(0, 0, qRgb(0, 0, 0));
    target.setPixel(1, 0, qRgb(255, 255, 255));
    target.setPixel(2, 0, qRgb(200, 200, 200));
    zq::flattenPng(row({qRgba(255, 255, 255, 128), qRgba(0, 0, 0, 128), qRgba(100, 100, 100, 100)}), target);
    EXPECT_EQ(target.pixel(0, 0), qRgb(128, 128, 128));
    EXPECT_EQ(target.pixel(1, 0), qRgb(127, 127, 127));
    EXPECT_EQ(target.pixel(2, 0), qRgb(161, 161, 161));
}

TEST(PngFlatten, NoAlphaKeepsTheBackgroundAndFullAlphaThePicture)
{
    for (int s = 0; s < 256; ++s) {
        for (int d = 0; d < 256; ++d) {
            ASSERT_EQ(zq::blendSample(s, d, 0), d) << s << " " << d;
            ASSERT_EQ(zq::blendSample(s, d, 255), s) << s << " " << d;
        }
    }
    Bitmap target = filled(2, 1, qRgb(10, 20, 30));
    zq::flattenPng(row({qRgba(200, 100, 50, 0), qRgba(200, 100, 50, 255)}), target);
    EXPECT_EQ(target.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(target.pixel(1, 0), qRgb(200, 100, 50));
}

// Channels are blended apart, each with its own background sample.
TEST(PngFlatten, ChannelsKeepTheirOrder)
{
    Bitmap target = filled(1, 1, qRgb(0, 100, 255));
    zq::flattenPng(row({qRgba(255, 0, 100, 100)}), target);
    EXPECT_EQ(target.pixel(0, 0), qRgb((255 * 100 + 0 * 155 + 255) / 256, (0 * 100 + 100 * 155 + 255) / 256,
                                       (100 * 100 + 255 * 155 + 255) / 256));
}

TEST(PngFlatten, ColourKeyPixelsShowTheBackground)
{
    using namespace pngtest;
    Parts parts{2, 1, 8, Rgb, {bytes({1, 2, 3, 4, 5, 6})}};
    parts.transparency = bytes({0, 1, 0, 2, 0, 3});
    const PngPicture png = zq::decodePngData(build(parts), QStringLiteral("key.png"));
    Bitmap target = filled(2, 1, qRgb(90, 80, 70));
    zq::flattenPng(png, target);
    EXPECT_EQ(target.pixel(0, 0), qRgb(90, 80, 70));
    EXPECT_EQ(target.pixel(1, 0), qRgb(4, 5, 6));
}

TEST(PngFlatten, OnlyTheOverlapIsDrawn)
{
    const PngPicture wide = row({qRgb(1, 1, 1), qRgb(2, 2, 2), qRgb(3, 3, 3)});
    Bitmap narrow = filled(2, 2, qRgb(50, 50, 50));
    zq::flattenPng(wide, narrow);
    EXPECT_EQ(narrow.pixel(0, 0), qRgb(1, 1, 1));
    EXPECT_EQ(narrow.pixel(1, 0), qRgb(2, 2, 2));
    EXPECT_EQ(narrow.pixel(0, 1), qRgb(50, 50, 50));
    EXPECT_EQ(narrow.pixel(1, 1), qRgb(50, 50, 50));
    // Row padding past the picture stays untouched.
    EXPECT_EQ(narrow.row(0)[6], 0);
    EXPECT_EQ(narrow.row(0)[7], 0);
}

TEST(PngFlatten, OtherFormatsStoreTheBlendInTheirOwnWay)
{
    Bitmap palette =
        filled(2, 1, qRgb(0, 0, 0),
               BitmapFormat::indexed8({qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(255, 255, 255)}));
    zq::flattenPng(row({qRgba(255, 255, 255, 128), qRgba(255, 255, 255, 255)}), palette);
    EXPECT_EQ(palette.rawPixel(0, 0), 1u);
    EXPECT_EQ(palette.rawPixel(1, 0), 2u);

    BitmapFormat f555;
    f555.bitsPerPixel = 16;
    Bitmap sixteen = filled(1, 1, qRgb(0, 0, 0), f555);
    zq::flattenPng(row({qRgba(255, 128, 64, 255)}), sixteen);
    EXPECT_EQ(sixteen.rawPixel(0, 0), (31u << 10) | (16u << 5) | 8u);

    BitmapFormat f32;
    f32.bitsPerPixel = 32;
    Bitmap wide = filled(1, 1, qRgb(255, 255, 255), f32);
    zq::flattenPng(row({qRgba(0, 0, 0, 128)}), wide);
    EXPECT_EQ(wide.pixel(0, 0), qRgb(127, 127, 127));
}
