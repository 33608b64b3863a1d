#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zq {

// A natural number of any size, just enough to turn decimal text into binary exactly.
class BigUnsigned {
public:
    BigUnsigned() = default;
    explicit BigUnsigned(std::uint64_t value);

    static BigUnsigned fromDecimalDigits(std::string_view digits); // digits '0'..'9' only

    bool isZero() const { return limbs_.empty(); }
    int bitLength() const;

    void multiplySmall(std::uint32_t factor);
    void addSmall(std::uint32_t addend);
    void multiplyPowerOfTen(int exponent); // exponent >= 0
    void shiftLeft(int bits);
    void shiftRightOne();
    void subtract(const BigUnsigned &smaller); // requires *this >= smaller

    friend int compare(const BigUnsigned &a, const BigUnsigned &b);

private:
    void trim();

    std::vector<std::uint32_t> limbs_; // least significant first, no leading zero limbs
};

int compare(const BigUnsigned &a, const BigUnsigned &b);

} // namespace zq
