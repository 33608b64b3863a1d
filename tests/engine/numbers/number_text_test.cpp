#include "numbers/number_text.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using zq::parseRealText;
using zq::readRealValue;
using zq::readWholeValue;
using zq::RealDigits;
using zq::realText;

TEST(RealValue, ReadsTheNumberForms)
{
    EXPECT_EQ(readRealValue(u"0.5", u'.'), 0.5);
    EXPECT_EQ(readRealValue(u"  -1.5E-5  ", u'.'), -1.5e-5);
    EXPECT_EQ(readRealValue(u"+2e3", u'.'), 2000.0);
    EXPECT_EQ(readRealValue(u"7", u'.'), 7.0);
    EXPECT_EQ(readRealValue(u"3.", u'.'), 3.0);
    EXPECT_EQ(readRealValue(u"0.000520833333333333", u'.'), 0.000520833333333333);
    EXPECT_EQ(readRealValue(u"1.7976931348623157E308", u'.'), std::numeric_limits<double>::max());
    EXPECT_EQ(readRealValue(u"1E-400", u'.'), 0.0);
    EXPECT_EQ(readRealValue(u"4.9406564584124654E-324", u'.'), std::numeric_limits<double>::denorm_min());
}

TEST(RealValue, AnythingElseReadsZero)
{
    for (const char16_t *text : {u"", u" ", u"-", u".", u"abc", u"1.5x", u"1E", u"1E+", u"0x1F", u"1 5",
                                 u"1.2.3", u"1E309", u"1.8E308", u"1E99999999999", u"\u0661"}) {
        EXPECT_FALSE(parseRealText(text, u'.')) << QString::fromUtf16(text).toStdString();
        EXPECT_EQ(readRealValue(text, u'.'), 0.0);
    }
}

TEST(RealValue, UsesTheRegionalDecimalSeparator)
{
    EXPECT_EQ(readRealValue(u"0,5", u','), 0.5);
    EXPECT_EQ(readRealValue(u"0,5", u'.'), 0.0);
    EXPECT_EQ(readRealValue(u"0.5", u','), 0.0);
    EXPECT_EQ(realText(0.5, u','), "0,5");
    EXPECT_EQ(realText(-1.5e-5, u','), "-1,5E-5");
}

TEST(RealValue, ALongValueIsReadWhole)
{
    const QString text = "0." + QString(2000, u'0') + "1E2005";
    EXPECT_EQ(readRealValue(text, u'.'), 10000.0);
}

TEST(WholeValue, ReadsDecimalAndHexadecimal)
{
    EXPECT_EQ(readWholeValue(u"-7"), -7);
    EXPECT_EQ(readWholeValue(u"+7"), 7);
    EXPECT_EQ(readWholeValue(u"  42"), 42);
    EXPECT_EQ(readWholeValue(u"007"), 7);
    EXPECT_EQ(readWholeValue(u"0x1F"), 31);
    EXPECT_EQ(readWholeValue(u"0X1f"), 31);
    EXPECT_EQ(readWholeValue(u"$1F"), 31);
    EXPECT_EQ(readWholeValue(u"x1F"), 31);
    EXPECT_EQ(readWholeValue(u"-X1F"), -31);
    EXPECT_EQ(readWholeValue(u"2147483647"), 2147483647);
    EXPECT_EQ(readWholeValue(u"-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(WholeValue, HexadecimalIsA32BitPattern)
{
    EXPECT_EQ(readWholeValue(u"0xFFFFFFFF"), -1);
    EXPECT_EQ(readWholeValue(u"$80000000"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(readWholeValue(u"0x100000000"), 0);
    EXPECT_EQ(readWholeValue(u"$123456789"), 0);
}

TEST(WholeValue, AnythingElseReadsZero)
{
    for (const char16_t *text : {u"", u"12.5", u"1e3", u"2147483648", u"-2147483649", u"99999999999999999999",
                                 u"-", u"$", u"0x", u"0xG", u"12a", u"abc", u"1 2"})
        EXPECT_EQ(readWholeValue(text), 0) << QString::fromUtf16(text).toStdString();
}

TEST(RealText, FifteenDigitsTrailingZerosDropped)
{
    EXPECT_EQ(realText(0.0, u'.'), "0");
    EXPECT_EQ(realText(1.0, u'.'), "1");
    EXPECT_EQ(realText(0.5, u'.'), "0.5");
    EXPECT_EQ(realText(-0.1, u'.'), "-0.1");
    EXPECT_EQ(realText(1.0 / 1920, u'.'), "0.000520833333333333");
    EXPECT_EQ(realText(2.0 / 3, u'.'), "0.666666666666667");
    EXPECT_EQ(realText(0.1 + 0.2, u'.'), "0.3");
    EXPECT_EQ(realText(0.99999999999999989, u'.'), "1");
    EXPECT_EQ(realText(1234.5, u'.'), "1234.5");
}

TEST(RealText, PlainFromExponentMinus4To14)
{
    EXPECT_EQ(realText(1e-4, u'.'), "0.0001");
    EXPECT_EQ(realText(1.25e-4, u'.'), "0.000125");
    EXPECT_EQ(realText(5e-5, u'.'), "5E-5");
    EXPECT_EQ(realText(1.5e-5, u'.'), "1.5E-5");
    EXPECT_EQ(realText(1e14, u'.'), "100000000000000");
    EXPECT_EQ(realText(1e15, u'.'), "1E15");
    EXPECT_EQ(realText(-123456789012345678.0, u'.'), "-1.23456789012346E17");
    EXPECT_EQ(realText(1.5e300, u'.'), "1.5E300");
    EXPECT_EQ(realText(9.999999999999999e-5, u'.'), "0.0001"); // rounding carries into plain form
}

TEST(RealText, ExactHalvesRoundAwayFromZero)
{
    // 2^-22 is exactly 2.384185791015625E-7: sixteen digits ending in 5.
    EXPECT_EQ(realText(std::ldexp(1.0, -22), u'.'), "2.38418579101563E-7");
    EXPECT_EQ(realText(-std::ldexp(1.0, -22), u'.'), "-2.38418579101563E-7");
}

TEST(RealText, StepsTheFifteenthDigitAwayFromZero)
{
    const auto stepped = [](double v) {
        return RealDigits::fromDouble(v).steppedAwayFromZero().toText(u'.');
    };
    EXPECT_EQ(stepped(0.3), "0.300000000000001");
    EXPECT_EQ(stepped(-0.3), "-0.300000000000001");
    EXPECT_EQ(stepped(0.999999999999999), "1");
    EXPECT_EQ(stepped(9.99999999999999e-5), "0.0001");
    EXPECT_EQ(stepped(1.23456789012345e20), "1.23456789012346E20");
    EXPECT_EQ(stepped(0.0), "0");
}

TEST(IntegerText, PlainDecimal)
{
    EXPECT_EQ(zq::integerText(0), "0");
    EXPECT_EQ(zq::integerText(-7), "-7");
    EXPECT_EQ(zq::integerText(1234567), "1234567");
    EXPECT_EQ(zq::integerText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}
