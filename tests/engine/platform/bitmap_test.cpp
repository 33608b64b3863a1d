#include "platform/bitmap.h"

#include <gtest/gtest.h>

using zq::Bitmap;
using zq::BitmapFormat;

TEST(Bitmap, NewBitmapIsWhiteInEveryDepth)
{
    std::vector<QRgb> pal = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        BitmapFormat f;
        f.bitsPerPixel = bpp;
        if (bpp <= 8)
            f.palette = pal;
        Bitmap b(7, 3, f);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(b.pixel(x, y), qRgb(255, 255, 255)) << bpp << " bpp at " << x << "," << y;
    }
}

TEST(Bitmap, RowsArePaddedToFourBytes)
{
    EXPECT_EQ(Bitmap::strideFor(1, 1), 4);
    EXPECT_EQ(Bitmap::strideFor(33, 1), 8);
    EXPECT_EQ(Bitmap::strideFor(3, 24), 12);
    EXPECT_EQ(Bitmap::strideFor(5, 4), 4);
    EXPECT_EQ(Bitmap::strideFor(3, 16), 8);
}

TEST(Bitmap, ResizeKeepsTopLeftAndFillsWhite)
{
    Bitmap b(2, 2, BitmapFormat::rgb24());
    b.setPixel(0, 0, qRgb(10, 20, 30));
    b.setPixel(1, 1, qRgb(40, 50, 60));
    b.resize(3, 1);
    ASSERT_EQ(b.width(), 3);
    ASSERT_EQ(b.height(), 1);
    EXPECT_EQ(b.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(b.pixel(2, 0), qRgb(255, 255, 255));
    b.resize(3, 2);
    EXPECT_EQ(b.pixel(1, 1), qRgb(255, 255, 255));
}

TEST(Bitmap, PaletteTakesNearestColour)
{
    Bitmap b(2, 1, BitmapFormat::indexed8({qRgb(0, 0, 0), qRgb(200, 0, 0), qRgb(255, 255, 255)}));
    b.setPixel(0, 0, qRgb(180, 30, 10));
    EXPECT_EQ(b.rawPixel(0, 0), 1u);
    EXPECT_EQ(b.pixel(0, 0), qRgb(200, 0, 0));
}

TEST(Bitmap, SixteenBitsKeepsTheMaskPrecision)
{
    BitmapFormat f;
    f.bitsPerPixel = 16;
    f.compression = zq::BmpCompression::Bitfields;
    f.masks = {0xF800, 0x07E0, 0x001F};
    Bitmap b(1, 1, f);
    b.setPixel(0, 0, qRgb(255, 130, 7));
    EXPECT_EQ(b.rawPixel(0, 0), (31u << 11) | ((130u >> 2) << 5) | (7u >> 3));
}
