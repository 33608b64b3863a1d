#include "picture/area_scale.h"
#include "picture/png_writer.h"

#include <QImage>

#include <gtest/gtest.h>

using zq::Bitmap;
using zq::BitmapFormat;

namespace {

// Every pixel a different colour where the depth allows.
Bitmap patterned(int width, int height, BitmapFormat format)
{
    Bitmap b(width, height, std::move(format));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setPixel(x, y, qRgb((x * 37 + y) % 256, (y * 53) % 256, (x * y) % 256));
    return b;
}

BitmapFormat palette8()
{
    std::vector<QRgb> colours;
    for (int i = 0; i < 256; ++i)
        colours.push_back(qRgb(i, 255 - i, (i * 7) % 256));
    return BitmapFormat::indexed8(colours);
}

} // namespace

TEST(PngWriter, EveryDepthReadsBackAsTheBitmapsColours)
{
    const BitmapFormat formats[] = {BitmapFormat::rgb24(), palette8()};
    for (const BitmapFormat &format : formats) {
        // Odd widths: rows padded in memory must not leak into the picture.
        for (const QSize size : {QSize(1, 1), QSize(7, 3), QSize(33, 17)}) {
            SCOPED_TRACE(format.bitsPerPixel);
            const Bitmap b = patterned(size.width(), size.height(), format);
            for (int level : {0, 6, 9}) {
                const QByteArray png = zq::encodePng(b, level);
                const QImage image = QImage::fromData(png, "PNG");
                ASSERT_EQ(image.size(), size);
                EXPECT_FALSE(image.hasAlphaChannel());
                long wrong = 0;
                for (int y = 0; y < size.height(); ++y)
                    for (int x = 0; x < size.width(); ++x)
                        wrong += image.pixel(x, y) != b.pixel(x, y);
                EXPECT_EQ(wrong, 0) << level;
            }
        }
    }
}

TEST(AreaScale, APlainPictureStaysItsColourAtEverySize)
{
    Bitmap plain(97, 61, BitmapFormat::rgb24());
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            plain.setPixel(x, y, qRgb(201, 13, 77));
    for (const QSize size : {QSize(97, 61), QSize(50, 30), QSize(13, 7), QSize(1, 1), QSize(96, 1)}) {
        const Bitmap small = zq::areaScaleDown(plain, size.width(), size.height());
        ASSERT_EQ(small.width(), size.width());
        ASSERT_EQ(small.height(), size.height());
        for (int y = 0; y < small.height(); ++y)
            for (int x = 0; x < small.width(); ++x)
                ASSERT_EQ(small.pixel(x, y), qRgb(201, 13, 77)) << x << "," << y;
    }
}

TEST(AreaScale, AHalfCoveredPixelCountsHalf)
{
    // Three columns, black, white, black, into two: each takes one black and half the white.
    Bitmap stripes(3, 1, BitmapFormat::rgb24());
    stripes.setPixel(0, 0, qRgb(0, 0, 0));
    stripes.setPixel(1, 0, qRgb(200, 100, 50));
    stripes.setPixel(2, 0, qRgb(0, 0, 0));
    const Bitmap two = zq::areaScaleDown(stripes, 2, 1);
    // (0 * 2 + 200 * 1) / 3 of each: 66.67 rounds to 67, 33.3 to 33, 16.7 to 17.
    EXPECT_EQ(two.pixel(0, 0), qRgb(67, 33, 17));
    EXPECT_EQ(two.pixel(1, 0), qRgb(67, 33, 17));
}
