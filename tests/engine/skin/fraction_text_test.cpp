#include "numbers/extended_math.h"
#include "numbers/number_text.h"
#include "skin/fraction_text.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

using zq::fractionText;
using zq::pixelFromFractionText;

TEST(FractionText, ReadsTheFractionTimesTheSizeTruncated)
{
    EXPECT_EQ(pixelFromFractionText(u"0.3", 1000, u'.'), 299);
    EXPECT_EQ(pixelFromFractionText(u"0.5", 1000, u'.'), 500);
    EXPECT_EQ(pixelFromFractionText(u"0.009", 1000, u'.'), 8);
    EXPECT_EQ(pixelFromFractionText(u"0.000520833333333333", 1920, u'.'), 0);
    EXPECT_EQ(pixelFromFractionText(u"-0.0005", 1000, u'.'), 0);
    EXPECT_EQ(pixelFromFractionText(u"-0.1", 1000, u'.'), -100);
    EXPECT_EQ(pixelFromFractionText(u"junk", 1000, u'.'), 0);
}

TEST(FractionText, KeepsTheShortTextWhereItReadsBack)
{
    EXPECT_EQ(fractionText(0, 1000, u'.'), "0");
    EXPECT_EQ(fractionText(1000, 1000, u'.'), "1");
    EXPECT_EQ(fractionText(500, 1000, u'.'), "0.5");
    EXPECT_EQ(fractionText(-100, 1000, u'.'), "-0.1");
    EXPECT_EQ(fractionText(1, 2, u','), "0,5");
    EXPECT_EQ(fractionText(1, 40000, u'.'), "2.5E-5");
    // x / 1024 always has a short exact decimal form.
    for (std::int32_t x = -50; x <= 1100; ++x)
        EXPECT_EQ(fractionText(x, 1024, u'.'), zq::realText(x / 1024.0, u'.')) << x;
}

TEST(FractionText, StepsTheLastDigitWhereTheShortTextLosesAPixel)
{
    EXPECT_EQ(fractionText(300, 1000, u'.'), "0.300000000000001");
    EXPECT_EQ(fractionText(9, 1000, u'.'), "0.00900000000000001");
    EXPECT_EQ(fractionText(1, 1920, u'.'), "0.000520833333333334");
    EXPECT_EQ(fractionText(-300, 1000, u'.'), "-0.300000000000001");
    EXPECT_EQ(fractionText(300, 1000, u','), "0,300000000000001");
}

TEST(FractionText, EveryPositionSurvivesAndMovesAtMostOneStep)
{
    for (std::int32_t size : {1000, 768, 1080, 1366, 1920, 7}) {
        int stepped = 0;
        for (std::int32_t x = -size / 2; x <= 2 * size; ++x) {
            const QString text = fractionText(x, size, u'.');
            ASSERT_EQ(pixelFromFractionText(text, size, u'.'), x)
                << x << " on " << size << ": " << text.toStdString();
            const auto nearest = zq::RealDigits::fromDouble(zq::extendedQuotient(x, size));
            if (text != nearest.toText(u'.')) {
                ASSERT_EQ(text, nearest.steppedAwayFromZero().toText(u'.')) << x << " on " << size;
                ++stepped;
            }
        }
        if (size == 768) {
            EXPECT_GT(stepped, 0); // a 768-pixel height loses pixels with the short text
        }
    }
}

TEST(FractionText, ExtremePositions)
{
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    const std::int32_t min = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(fractionText(max, 1, u'.'), "2147483647");
    for (std::int32_t size : {1, 3, 1920, max}) {
        for (std::int32_t x : {max, max - 1, min, min + 1, 1, -1})
            EXPECT_EQ(pixelFromFractionText(fractionText(x, size, u'.'), size, u'.'), x)
                << x << " on " << size;
    }
}
