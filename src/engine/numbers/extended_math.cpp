#include "numbers/extended_math.h"

#include <bit>
#include <cmath>

namespace zq {

namespace {

constexpr std::uint64_t topBit = std::uint64_t(1) << 63;

// Just the 128-bit arithmetic the product needs, without relying on a compiler extension.
struct U128 {
    std::uint64_t hi = 0;
    std::uint64_t lo = 0;
};

U128 multiply(std::uint64_t a, std::uint64_t b)
{
    const std::uint64_t aLo = a & 0xFFFFFFFFu, aHi = a >> 32;
    const std::uint64_t bLo = b & 0xFFFFFFFFu, bHi = b >> 32;
    const std::uint64_t lolo = aLo * bLo;
    const std::uint64_t hilo = aHi * bLo;
    const std::uint64_t lohi = aLo * bHi;
    const std::uint64_t hihi = aHi * bHi;
    const std::uint64_t middle = (lolo >> 32) + (hilo & 0xFFFFFFFFu) + (lohi & 0xFFFFFFFFu);
    return {hihi + (hilo >> 32) + (lohi >> 32) + (middle >> 32), (middle << 32) | (lolo & 0xFFFFFFFFu)};
}

int bitWidth(U128 v)
{
    return v.hi != 0 ? 64 + std::bit_width(v.hi) : std::bit_width(v.lo);
}

// Rounds magnitude * 2^exponent to a 64-bit significand, nearest-even. magnitude < 2^127.
ExtendedValue roundToExtended(bool negative, U128 magnitude, int exponent)
{
    const int width = bitWidth(magnitude);
    if (width == 0)
        return {negative, 0, 0};
    if (width <= 64) {
        const int shift = 64 - width;
        return {negative, magnitude.lo << shift, exponent - shift};
    }
    const int shift = width - 64; // 1..63
    std::uint64_t significand = (magnitude.lo >> shift) | (magnitude.hi << (64 - shift));
    const std::uint64_t rest = magnitude.lo & ((std::uint64_t(1) << shift) - 1);
    const std::uint64_t half = std::uint64_t(1) << (shift - 1);
    exponent += shift;
    if (rest > half || (rest == half && (significand & 1) != 0)) {
        if (++significand == 0) {
            significand = topBit;
            ++exponent;
        }
    }
    return {negative, significand, exponent};
}

std::int32_t saturate(bool negative, std::uint64_t magnitude)
{
    constexpr std::uint64_t limit = std::uint64_t(1) << 31;
    if (!negative)
        return magnitude >= limit ? std::numeric_limits<std::int32_t>::max()
                                  : static_cast<std::int32_t>(magnitude);
    return magnitude >= limit ? std::numeric_limits<std::int32_t>::min()
                              : -static_cast<std::int32_t>(magnitude);
}

std::int32_t truncateToInt32(const ExtendedValue &v)
{
    if (v.significand == 0 || v.exponent <= -64)
        return 0;
    if (v.exponent >= 0) // the top bit is set, so the value is at least 2^63
        return saturate(v.negative, ~std::uint64_t(0));
    return saturate(v.negative, v.significand >> -v.exponent);
}

std::uint64_t magnitudeOf(std::int32_t v)
{
    return v < 0 ? std::uint64_t(0) - static_cast<std::uint64_t>(static_cast<std::int64_t>(v))
                 : static_cast<std::uint64_t>(v);
}

} // namespace

std::optional<double> ExtendedValue::toDouble() const
{
    if (significand == 0)
        return negative ? -0.0 : 0.0;
    const int leadingZeros = std::countl_zero(significand);
    const std::uint64_t sig = significand << leadingZeros;
    const int exp = exponent - leadingZeros;
    const int lead = exp + 63; // binary exponent of the leading bit
    if (lead > 1023)
        return std::nullopt;
    // 11 bits go for a normal double; more where the result is subnormal.
    const int drop = lead >= -1022 ? 11 : 11 + (-1022 - lead);
    std::uint64_t kept = 0;
    if (drop == 64) {
        kept = sig > topBit ? 1 : 0; // an exact half rounds to the even 0
    } else if (drop < 64) {
        kept = sig >> drop;
        const std::uint64_t rest = sig & ((std::uint64_t(1) << drop) - 1);
        const std::uint64_t half = std::uint64_t(1) << (drop - 1);
        if (rest > half || (rest == half && (kept & 1) != 0))
            ++kept;
    }
    const double result = std::ldexp(static_cast<double>(kept), exp + drop);
    if (std::isinf(result))
        return std::nullopt;
    return negative ? -result : result;
}

namespace detail {

std::int32_t truncatedProductExact(double value, std::int32_t factor)
{
    if (std::isnan(value) || value == 0.0 || factor == 0)
        return 0;
    const bool negative = (value < 0) != (factor < 0);
    if (std::isinf(value))
        return saturate(negative, ~std::uint64_t(0));
    int exp = 0;
    const double fraction =
        std::frexp(std::fabs(value), &exp); // value = fraction * 2^exp, fraction in [0.5, 1)
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const ExtendedValue product =
        roundToExtended(negative, multiply(mantissa, magnitudeOf(factor)), exp - 53);
    return truncateToInt32(product);
}

double extendedQuotientExact(std::int32_t numerator, std::int32_t denominator)
{
    if (denominator == 0)
        return 0.0;
    const bool negative = (numerator < 0) != (denominator < 0);
    if (numerator == 0)
        return denominator < 0 ? -0.0 : 0.0;
    const std::uint64_t n = magnitudeOf(numerator);
    const std::uint64_t d = magnitudeOf(denominator);
    // Long division, one bit at a time, until the quotient fills 64 bits.
    std::uint64_t significand = n / d;
    std::uint64_t rest = n % d;
    int exponent = 0;
    while (significand < topBit) {
        rest <<= 1;
        significand <<= 1;
        if (rest >= d) {
            rest -= d;
            significand |= 1;
        }
        --exponent;
    }
    if (2 * rest > d || (2 * rest == d && (significand & 1) != 0)) {
        if (++significand == 0) {
            significand = topBit;
            ++exponent;
        }
    }
    // A quotient of two 32-bit integers is always well inside the double range.
    return ExtendedValue{negative, significand, exponent}.toDouble().value_or(0.0);
}

std::int32_t truncatedProductNative(double value, std::int32_t factor)
{
    long double product = static_cast<long double>(value) * static_cast<long double>(factor);
    if (std::isnan(product))
        return 0;
    product = std::trunc(product);
    if (product >= 2147483647.0L)
        return std::numeric_limits<std::int32_t>::max();
    if (product <= -2147483648.0L)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(product);
}

double extendedQuotientNative(std::int32_t numerator, std::int32_t denominator)
{
    if (denominator == 0)
        return 0.0;
    return static_cast<double>(static_cast<long double>(numerator) / static_cast<long double>(denominator));
}

} // namespace detail

std::int32_t truncatedProduct(double value, std::int32_t factor)
{
    if constexpr (detail::nativeExtendedAvailable)
        return detail::truncatedProductNative(value, factor);
    else
        return detail::truncatedProductExact(value, factor);
}

double extendedQuotient(std::int32_t numerator, std::int32_t denominator)
{
    if constexpr (detail::nativeExtendedAvailable)
        return detail::extendedQuotientNative(numerator, denominator);
    else
        return detail::extendedQuotientExact(numerator, denominator);
}

} // namespace zq
