#include "picture/bitmap.h"

#include "sample_formats.h"

#include <gtest/gtest.h>

using sample::palette4;
using sample::sixteen565;
using sample::white;
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

TEST(Bitmap, RowAccessAgreesWithPixelAccessInEveryFormat)
{
    std::vector<BitmapFormat> formats = {BitmapFormat::rgb24(), sixteen565(), palette4()};
    BitmapFormat one;
    one.bitsPerPixel = 1;
    one.palette = {qRgb(0, 0, 0), white};
    formats.push_back(one);
    BitmapFormat eight = BitmapFormat::indexed8({qRgb(9, 9, 9), qRgb(200, 100, 0), qRgb(0, 100, 200)});
    formats.push_back(eight);
    BitmapFormat plain16;
    plain16.bitsPerPixel = 16;
    formats.push_back(plain16);
    BitmapFormat wide32;
    wide32.bitsPerPixel = 32;
    wide32.compression = zq::BmpCompression::Bitfields;
    wide32.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
    formats.push_back(wide32);

    std::vector<QRgb> colours;
    for (int i = 0; i < 11; ++i)
        colours.push_back(qRgb(i * 23 % 256, i * 97 % 256, i * 151 % 256));
    for (const BitmapFormat &f : formats) {
        SCOPED_TRACE(f.bitsPerPixel);
        Bitmap byRow(13, 2, f), byPixel(13, 2, f);
        byRow.writeRgbRow(1, 2, 11, colours.data());
        for (int i = 0; i < 11; ++i)
            byPixel.setPixel(2 + i, 1, colours[size_t(i)]);
        EXPECT_EQ(byRow, byPixel);
        std::vector<QRgb> read(11);
        byRow.readRgbRow(1, 2, 11, read.data());
        for (int i = 0; i < 11; ++i)
            EXPECT_EQ(read[size_t(i)], byPixel.pixel(2 + i, 1));
    }
}

TEST(Bitmap, ResizeKeepsPartialBytesBelowEightBits)
{
    Bitmap b(11, 3, palette4());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 11; ++x)
            b.setRawPixel(x, y, uint32_t((x + y) % 4));
    const Bitmap before = b;
    b.resize(7, 4); // cuts inside a byte, adds a row
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(b.pixel(x, y), y < 3 ? before.pixel(x, y) : white) << x << "," << y;
    b.resize(12, 4);
    for (int y = 0; y < 3; ++y)
        for (int x = 7; x < 12; ++x)
            EXPECT_EQ(b.pixel(x, y), white) << x << "," << y;
}

TEST(Bitmap, WideChannelsKeepFullScale)
{
    BitmapFormat f;
    f.bitsPerPixel = 32;
    f.compression = zq::BmpCompression::Bitfields;
    f.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
    Bitmap b(2, 1, f);
    EXPECT_EQ(b.rawPixel(0, 0), 0x3FFFFFFFu); // new area is full-scale white
    b.setPixel(1, 0, qRgb(0x80, 0x01, 0x00));
    EXPECT_EQ(b.rawPixel(1, 0), (0x202u << 20) | (0x004u << 10));
    EXPECT_EQ(b.pixel(1, 0), qRgb(0x80, 0x01, 0x00));
}
