#include "numbers/decimal_to_binary.h"

#include "numbers/big_unsigned.h"
#include "numbers/extended_math.h"

namespace zq {

namespace {

constexpr std::uint64_t topBit = std::uint64_t(1) << 63;

// numerator / denominator as a 64-bit significand with its binary exponent, nearest-even.
ExtendedValue divideToExtended(bool negative, BigUnsigned numerator, BigUnsigned denominator)
{
    // Scale so that the quotient lies in (2^63, 2^65).
    int exponent = numerator.bitLength() - denominator.bitLength() - 64;
    if (exponent >= 0)
        denominator.shiftLeft(exponent);
    else
        numerator.shiftLeft(-exponent);

    denominator.shiftLeft(64);
    std::uint64_t quotient = 0;
    bool bit64 = false;
    for (int bit = 64; bit >= 0; --bit) {
        if (compare(numerator, denominator) >= 0) {
            numerator.subtract(denominator);
            if (bit == 64)
                bit64 = true;
            else
                quotient |= std::uint64_t(1) << bit;
        }
        denominator.shiftRightOne();
    }
    // numerator is now the remainder, denominator back to its scaled value.
    bool roundUp = false;
    if (bit64) {
        const bool half = (quotient & 1) != 0;
        quotient = (quotient >> 1) | topBit;
        ++exponent;
        roundUp = half && (!numerator.isZero() || (quotient & 1) != 0);
    } else {
        numerator.shiftLeft(1);
        const int c = compare(numerator, denominator);
        roundUp = c > 0 || (c == 0 && (quotient & 1) != 0);
    }
    if (roundUp && ++quotient == 0) {
        quotient = topBit;
        ++exponent;
    }
    return {negative, quotient, exponent};
}

} // namespace

std::optional<double> decimalToDouble(bool negative, std::string_view digits, int exponent10)
{
    while (!digits.empty() && digits.front() == '0')
        digits.remove_prefix(1);
    while (!digits.empty() && digits.back() == '0') {
        digits.remove_suffix(1);
        ++exponent10;
    }
    if (digits.empty())
        return negative ? -0.0 : 0.0;

    // The value lies in [10^(count-1+exponent10), 10^(count+exponent10)); settle the
    // hopeless cases before building huge numbers.
    const long long count = static_cast<long long>(digits.size());
    if (count - 1 + exponent10 >= 309)
        return std::nullopt;
    if (count + exponent10 <= -325)
        return negative ? -0.0 : 0.0;

    BigUnsigned numerator = BigUnsigned::fromDecimalDigits(digits);
    BigUnsigned denominator(1);
    if (exponent10 >= 0)
        numerator.multiplyPowerOfTen(exponent10);
    else
        denominator.multiplyPowerOfTen(-exponent10);
    return divideToExtended(negative, std::move(numerator), std::move(denominator)).toDouble();
}

} // namespace zq
