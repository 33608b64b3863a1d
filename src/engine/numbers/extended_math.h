#pragma once

#include <cstdint>
#include <limits>
#include <optional>

// The layout's scaling is defined in extended precision (a 64-bit significand with
// round-to-nearest-even, the x87 80-bit format). Compilers disagree on what `long double`
// is, so the results are computed exactly with integers; the native `long double` is used
// only where it really has a 64-bit significand, and both ways give the same bits.
namespace zq {

// A finite extended-precision value: (-1)^negative * significand * 2^exponent, with the
// top bit of the significand set (or a zero significand).
struct ExtendedValue {
    bool negative = false;
    std::uint64_t significand = 0;
    int exponent = 0;

    // Rounds to the nearest double, ties to even; nothing when it is too large for a double.
    std::optional<double> toDouble() const;
};

// value * factor, formed in extended precision, truncated toward zero and clamped to the
// 32-bit range.
std::int32_t truncatedProduct(double value, std::int32_t factor);

// numerator / denominator, formed in extended precision and then rounded to a double.
// The denominator must not be 0.
double extendedQuotient(std::int32_t numerator, std::int32_t denominator);

namespace detail {

constexpr bool nativeExtendedAvailable = std::numeric_limits<long double>::digits == 64;

std::int32_t truncatedProductExact(double value, std::int32_t factor);
double extendedQuotientExact(std::int32_t numerator, std::int32_t denominator);

// Meaningful only where nativeExtendedAvailable.
std::int32_t truncatedProductNative(double value, std::int32_t factor);
double extendedQuotientNative(std::int32_t numerator, std::int32_t denominator);

} // namespace detail

} // namespace zq
