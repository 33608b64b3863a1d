#include "errors/engine_error.h"
#include "numbers/strict_int.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

struct Accepted {
    const char16_t *text;
    int32_t value;
};

const Accepted kAccepted[] = {
    {u"0", 0},
    {u"12", 12},
    {u"   12", 12}, // leading blanks are skipped
    {u"+12", 12},
    {u"-12", -12},
    {u"007", 7},
    {u"2147483647", std::numeric_limits<int32_t>::max()},
    {u"-2147483648", std::numeric_limits<int32_t>::min()},
    {u"$10", 16},
    {u"x10", 16},
    {u"X10", 16},
    {u"0x10", 16},
    {u"0X10", 16},
    {u"$aBc", 0xABC},
    {u"-$10", -16},
    {u" +0x1f", 31},
    {u"$7FFFFFFF", std::numeric_limits<int32_t>::max()},
    {u"$80000000", std::numeric_limits<int32_t>::min()}, // a 32-bit pattern, not a range check
    {u"$FFFFFFFF", -1},
    {u"-$FFFFFFFF", 1},
    {u"$000000010", 16}, // leading zeros do not count against the eight digits
};

const char16_t *const kRejected[] = {
    u"",
    u"   ",
    u"12 ",  // nothing may follow, not even a blank
    u"\t12", // only spaces are skipped
    u"1 2",
    u"abc",
    u"-",
    u"+-1",
    u"- 1",
    u"$",
    u"0x",
    u"x",
    u"$G",
    u"12a",
    u"1.5",
    u"2147483648",  // one past the top
    u"-2147483649", // one past the bottom
    u"99999999999999999999",
    u"$100000000",   // nine significant hexadecimal digits
    u"\uFF11\uFF12", // full-width digits
    u"0$10",
};

TEST(StrictInt, AcceptsTheDocumentedForms)
{
    for (const auto &c : kAccepted) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(zq::strToIntStrict(text), c.value) << text.toStdString();
    }
}

TEST(StrictInt, RejectsEverythingElseWithTheWholeTextInTheMessage)
{
    for (const char16_t *raw : kRejected) {
        const QString text = QString::fromUtf16(raw);
        try {
            zq::strToIntStrict(text);
            ADD_FAILURE() << "accepted '" << text.toStdString() << "'";
        } catch (const zq::EngineError &e) {
            EXPECT_EQ(e.message(),
                      QStringLiteral("'") + text + QStringLiteral("' is not a valid integer value"));
        }
    }
}

} // namespace
