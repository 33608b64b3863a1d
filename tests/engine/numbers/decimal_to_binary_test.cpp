#include "numbers/decimal_to_binary.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

using zq::decimalToDouble;

TEST(DecimalToBinary, RoundsThroughExtendedPrecision)
{
    // 1 + 2^-53 + 2^-70: rounded straight to a double it is 1 + 2^-52, but the extended
    // value is the tie 1 + 2^-53, which then rounds to the even 1.
    const std::string digits = "10000000000000001110231494954629083427022351315827108919620513916015625";
    EXPECT_EQ(decimalToDouble(false, digits, -70), 1.0);
    EXPECT_EQ(decimalToDouble(false, "3", -1), 0.3);
    EXPECT_EQ(decimalToDouble(true, "15", -6), -1.5e-5);
}

TEST(DecimalToBinary, RangeEnds)
{
    EXPECT_FALSE(decimalToDouble(false, "18", 307));
    EXPECT_FALSE(decimalToDouble(false, "1", 400));
    EXPECT_EQ(decimalToDouble(false, "17976931348623158", 292), std::numeric_limits<double>::max());
    EXPECT_EQ(decimalToDouble(false, "1", -400), 0.0);
    EXPECT_EQ(decimalToDouble(false, "", 5), 0.0);
    EXPECT_EQ(decimalToDouble(false, "0000", 5), 0.0);
    EXPECT_TRUE(std::signbit(*decimalToDouble(true, "0", 0)));
    // Just above half the smallest subnormal: extended precision makes it the exact half,
    // which goes to the even zero. A little more goes up.
    EXPECT_EQ(decimalToDouble(
                  false, "24703282292062327208828439643411068618252990130716238221279284125033775364", -397),
              0.0);
    EXPECT_EQ(decimalToDouble(false, "24703282292062328", -340), std::numeric_limits<double>::denorm_min());
}

TEST(DecimalToBinary, AgreesWithTheNativeExtendedReader)
{
    if (std::numeric_limits<long double>::digits != 64)
        GTEST_SKIP() << "no 80-bit long double to compare with";
    std::mt19937_64 random(7);
    int mismatches = 0;
    for (int i = 0; i < 20000 && mismatches < 10; ++i) {
        std::string digits;
        const int count = 1 + static_cast<int>(random() % (i % 10 == 0 ? 60 : 20));
        for (int k = 0; k < count; ++k)
            digits.push_back(static_cast<char>('0' + random() % 10));
        const int exponent = static_cast<int>(random() % 80) - 50 + (i % 50 == 0 ? -300 : 0);
        const std::string text = digits + "e" + std::to_string(exponent);
        const double native = static_cast<double>(std::strtold(text.c_str(), nullptr));
        const auto exact = decimalToDouble(false, digits, exponent);
        if (!exact || *exact != native) {
            ADD_FAILURE() << text;
            ++mismatches;
        }
    }
}
