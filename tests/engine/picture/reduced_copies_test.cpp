#include "picture/reduced_copies.h"

#include <gtest/gtest.h>

#include <algorithm>

using zq::ReducedCopies;

namespace {

QImage numbered(int width, int height, QImage::Format format)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, (x ^ y) % 256));
    return picture.convertToFormat(format);
}

// The rounded mean of the 2 × 2 block at (2x, 2y), repeating the last column or row at an odd edge.
QRgb blockMean(const QImage &picture, int x, int y)
{
    int sums[3] = {0, 0, 0};
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            const QRgb p = picture.pixel(std::min(2 * x + dx, picture.width() - 1),
                                         std::min(2 * y + dy, picture.height() - 1));
            sums[0] += qRed(p);
            sums[1] += qGreen(p);
            sums[2] += qBlue(p);
        }
    }
    return qRgb((sums[0] + 2) / 4, (sums[1] + 2) / 4, (sums[2] + 2) / 4);
}

TEST(ReducedCopiesTest, HalvingAveragesEachBlockInEveryFormat)
{
    const QImage::Format formats[] = {QImage::Format_BGR888, QImage::Format_RGB888,   QImage::Format_RGB32,
                                      QImage::Format_ARGB32, QImage::Format_Indexed8, QImage::Format_RGB16};
    const QSize sizes[] = {{1, 1}, {2, 2}, {7, 5}, {16, 9}, {33, 1}};
    for (QImage::Format format : formats) {
        for (QSize size : sizes) {
            const QImage picture = numbered(size.width(), size.height(), format);
            const QImage half = zq::halvePicture(picture);
            SCOPED_TRACE(testing::Message()
                         << "format " << format << ", " << size.width() << " x " << size.height());
            ASSERT_EQ(half.size(), QSize((size.width() + 1) / 2, (size.height() + 1) / 2));
            EXPECT_EQ(half.format(), QImage::Format_RGB32);
            for (int y = 0; y < half.height(); ++y)
                for (int x = 0; x < half.width(); ++x)
                    ASSERT_EQ(half.pixel(x, y), blockMean(picture, x, y)) << "at " << x << ", " << y;
        }
    }
}

TEST(ReducedCopiesTest, EachZoomDrawsFromTheSmallestCopyStillLargeEnoughAndCopiesAreMadeOnce)
{
    ReducedCopies copies(numbered(1920, 1080, QImage::Format_BGR888));
    EXPECT_EQ(&copies.forZoom(1.0), &copies.full());
    EXPECT_EQ(&copies.forZoom(8.0), &copies.full());
    EXPECT_EQ(copies.madeCount(), 0) << "no copy is made at 100 % or above";
    for (double zoom : {0.667, 0.5, 0.333, 0.25, 0.2, 0.125, 0.01}) {
        const QImage &copy = copies.forZoom(zoom);
        const int reduction = copies.reductionFor(zoom);
        SCOPED_TRACE(testing::Message() << "zoom " << zoom);
        EXPECT_EQ(copy.width(), reduction == 1 ? 1920 : (1920 + reduction - 1) / reduction);
        EXPECT_GE(double(copy.width()), zoom * 1920) << "large enough for the result";
        EXPECT_LT(double(copy.width()) / 2, std::max(zoom * 1920, 1.0)) << "the next copy would be too small";
    }
    const qsizetype made = copies.madeCount();
    const QImage *eighth = &copies.forZoom(0.125);
    EXPECT_EQ(&copies.forZoom(0.125), eighth);
    EXPECT_EQ(copies.madeCount(), made) << "asking again makes nothing";
}

TEST(ReducedCopiesTest, ANullPictureGivesItselfAtEveryZoom)
{
    ReducedCopies copies{QImage()};
    EXPECT_TRUE(copies.forZoom(0.25).isNull());
    EXPECT_EQ(copies.madeCount(), 0);
}

} // namespace
