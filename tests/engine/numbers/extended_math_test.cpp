#include "numbers/extended_math.h"

#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

using namespace zq::detail;

namespace {

constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t int32Min = std::numeric_limits<std::int32_t>::min();

// Both ways of computing must agree; the native one exists only with an 80-bit long double.
void expectBothPaths(double value, std::int32_t factor, std::int32_t expected)
{
    EXPECT_EQ(truncatedProductExact(value, factor), expected) << value << " * " << factor;
    if (nativeExtendedAvailable) {
        EXPECT_EQ(truncatedProductNative(value, factor), expected) << value << " * " << factor;
    }
    EXPECT_EQ(zq::truncatedProduct(value, factor), expected) << value << " * " << factor;
}

void expectBothPaths(std::int32_t numerator, std::int32_t denominator, double expected)
{
    const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    EXPECT_TRUE(same(extendedQuotientExact(numerator, denominator), expected))
        << numerator << " / " << denominator;
    if (nativeExtendedAvailable) {
        EXPECT_TRUE(same(extendedQuotientNative(numerator, denominator), expected))
            << numerator << " / " << denominator;
    }
}

} // namespace

TEST(ExtendedProduct, TruncatesTheExtendedProductTowardZero)
{
    expectBothPaths(0.3, 1000, 299); // 0.3 is stored just below 3/10
    expectBothPaths(0.5, 1000, 500);
    expectBothPaths(0.000520833333333333, 1920, 0);
    expectBothPaths(1.0, 1920, 1920);
    expectBothPaths(-0.0005, 1000, 0);
    expectBothPaths(-0.1, 1000, -100);
    expectBothPaths(0.3, -1000, -299);
    expectBothPaths(0.0, 1000, 0);
    expectBothPaths(-0.0, 1000, 0);
    expectBothPaths(0.25, 0, 0);
}

TEST(ExtendedProduct, ClampsToThe32BitRange)
{
    expectBothPaths(1e300, 1000, int32Max);
    expectBothPaths(-1e300, 1000, int32Min);
    expectBothPaths(2.0, int32Min, int32Min);
    expectBothPaths(-1.0, int32Min, int32Max);
    expectBothPaths(1.0, int32Min, int32Min);
    expectBothPaths(std::numeric_limits<double>::denorm_min(), int32Max, 0);
}

TEST(ExtendedQuotient, RoundsTwiceToNearestEven)
{
    expectBothPaths(1, 2, 0.5);
    expectBothPaths(300, 1000, 0.3);
    expectBothPaths(1, 3, 1.0 / 3.0);
    expectBothPaths(-1, 1920, -1.0 / 1920.0);
    expectBothPaths(0, 1920, 0.0);
    expectBothPaths(int32Min, -1, 2147483648.0);
    // Found with exact rational arithmetic: here rounding to 64 bits and then to 53 bits
    // differs from rounding the quotient to a double at once.
    expectBothPaths(2915, 2979, 0x1.f50015ffd4006p-1);
    expectBothPaths(3477, 3959, 0x1.c1aa41d3a42dcp-1);
    expectBothPaths(3442, 2855, 0x1.34a27a2075a4cp+0);
    EXPECT_NE(2915.0 / 2979.0, 0x1.f50015ffd4006p-1);
}

TEST(ExtendedMath, ExactAndNativePathsAgreeOnManyValues)
{
    if (!nativeExtendedAvailable)
        GTEST_SKIP() << "long double has no 64-bit significand here; only the exact path exists";
    std::mt19937_64 random(20240607);
    std::uniform_int_distribution<std::int32_t> anyInt(int32Min, int32Max);
    std::uniform_int_distribution<std::int32_t> size(1, 20000);
    int mismatches = 0;
    for (int i = 0; i < 200000 && mismatches < 10; ++i) {
        const std::int32_t n = i % 2 ? anyInt(random) : size(random) - 10000;
        const std::int32_t d = i % 3 ? size(random) : anyInt(random);
        if (d == 0)
            continue;
        const double q = extendedQuotientExact(n, d);
        const double qNative = extendedQuotientNative(n, d);
        if (std::memcmp(&q, &qNative, sizeof q) != 0) {
            ++mismatches;
            ADD_FAILURE() << n << " / " << d;
        }
        // Fractions just read from a layout: the products land right next to whole pixels.
        for (std::int32_t factor : {d, d + 1, -d, anyInt(random)}) {
            if (truncatedProductExact(q, factor) != truncatedProductNative(q, factor)) {
                ++mismatches;
                ADD_FAILURE() << q << " * " << factor;
            }
        }
        // Arbitrary doubles, large and tiny included.
        const std::uint64_t bits = random();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        if (std::isfinite(any) && truncatedProductExact(any, n) != truncatedProductNative(any, n)) {
            ++mismatches;
            ADD_FAILURE() << any << " * " << n;
        }
    }
    EXPECT_EQ(mismatches, 0);
}
