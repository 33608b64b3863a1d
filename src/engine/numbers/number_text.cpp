#include "numbers/number_text.h"

#include "numbers/decimal_to_binary.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace zq {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int hexDigitValue(QChar c)
{
    if (isAsciiDigit(c))
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// A hexadecimal number of at most 32 bits, nothing else.
std::optional<std::uint32_t> hexPattern(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (QChar c : text) {
        const int digit = hexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::int32_t fromPattern(std::uint32_t pattern, bool negative)
{
    if (negative)
        pattern = 0u - pattern;
    return static_cast<std::int32_t>(pattern); // two's complement, as the file means it
}

} // namespace

std::optional<double> parseRealText(QStringView text, QChar decimalSeparator)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';

    std::string digits;
    int fractionDigits = 0;
    while (i < n && isAsciiDigit(text[i]))
        digits.push_back(static_cast<char>(text[i++].unicode()));
    if (i < n && text[i] == decimalSeparator) {
        ++i;
        while (i < n && isAsciiDigit(text[i])) {
            digits.push_back(static_cast<char>(text[i++].unicode()));
            ++fractionDigits;
        }
    }
    if (digits.empty())
        return std::nullopt;

    long long exponent = 0;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            negativeExponent = text[i++] == u'-';
        if (i == n || !isAsciiDigit(text[i]))
            return std::nullopt;
        while (i < n && isAsciiDigit(text[i])) {
            // Far beyond any double either way; stop counting there.
            if (exponent < 100000)
                exponent = exponent * 10 + (text[i].unicode() - u'0');
            ++i;
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    while (i < n && text[i] == u' ')
        ++i;
    if (i != n)
        return std::nullopt;
    return decimalToDouble(negative, digits, static_cast<int>(exponent - fractionDigits));
}

double readRealValue(QStringView text, QChar decimalSeparator)
{
    return parseRealText(text, decimalSeparator).value_or(0.0);
}

std::int32_t readWholeValue(QStringView text)
{
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        return fromPattern(hexPattern(text.mid(2)).value_or(0), false);

    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X'))
        return fromPattern(hexPattern(text.mid(i + 1)).value_or(0), negative);

    if (i == n)
        return 0;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        if (!isAsciiDigit(text[i]))
            return 0;
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > std::int64_t(1) << 31)
            return 0;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max() || value < std::numeric_limits<std::int32_t>::min())
        return 0;
    return static_cast<std::int32_t>(value);
}

RealDigits RealDigits::fromDouble(double value)
{
    RealDigits result;
    if (value == 0.0)
        return result;
    result.negative = value < 0;
    // A double's exact decimal expansion has at most 767 significant digits, so this
    // prints it whole and the rounding below is a true half-up on the exact value.
    char buffer[800];
    const auto printed =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 770);
    const std::string_view text(buffer, static_cast<std::size_t>(printed.ptr - buffer));
    const std::size_t e = text.find('e');
    std::string exact;
    for (char c : text.substr(0, e))
        if (c != '.')
            exact.push_back(c);
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);

    std::string digits = exact.substr(0, precision);
    if (exact[precision] >= '5') {
        int pos = precision - 1;
        while (pos >= 0 && digits[pos] == '9')
            digits[pos--] = '0';
        if (pos < 0) {
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++exponent;
        } else {
            ++digits[pos];
        }
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    result.digits = digits;
    result.exponent = exponent;
    return result;
}

RealDigits RealDigits::steppedAwayFromZero() const
{
    if (digits.empty())
        return *this;
    RealDigits next = *this;
    next.digits.resize(precision, '0');
    int pos = precision - 1;
    while (pos >= 0 && next.digits[pos] == '9')
        next.digits[pos--] = '0';
    if (pos < 0) {
        next.digits.assign(1, '1');
        ++next.exponent;
        return next;
    }
    ++next.digits[pos];
    while (next.digits.back() == '0')
        next.digits.pop_back();
    return next;
}

QString RealDigits::toText(QChar decimalSeparator) const
{
    if (digits.empty())
        return QStringLiteral("0");
    const QString d = QString::fromLatin1(digits.data(), static_cast<qsizetype>(digits.size()));
    QString text = negative ? QStringLiteral("-") : QString();
    if (exponent >= -4 && exponent <= 14) {
        if (exponent >= 0) {
            const qsizetype whole = exponent + 1;
            text += d.left(whole);
            if (d.size() < whole)
                text += QString(whole - d.size(), u'0');
            else if (d.size() > whole)
                text += decimalSeparator + d.mid(whole);
        } else {
            text += u'0';
            text += decimalSeparator;
            text += QString(-exponent - 1, u'0');
            text += d;
        }
        return text;
    }
    text += d.front();
    if (d.size() > 1)
        text += decimalSeparator + d.mid(1);
    text += u'E';
    text += QString::number(exponent);
    return text;
}

QString realText(double value, QChar decimalSeparator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    return RealDigits::fromDouble(value).toText(decimalSeparator);
}

QString integerText(std::int32_t value)
{
    return QString::number(value);
}

} // namespace zq
