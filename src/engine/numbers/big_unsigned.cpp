#include "numbers/big_unsigned.h"

#include <algorithm>
#include <bit>

namespace zq {

BigUnsigned::BigUnsigned(std::uint64_t value)
{
    while (value != 0) {
        limbs_.push_back(static_cast<std::uint32_t>(value));
        value >>= 32;
    }
}

BigUnsigned BigUnsigned::fromDecimalDigits(std::string_view digits)
{
    BigUnsigned result;
    // Nine digits at a time keep the work linear in the limbs rather than in the digits.
    std::size_t pos = 0;
    while (pos < digits.size()) {
        std::size_t take = std::min<std::size_t>(9, digits.size() - pos);
        std::uint32_t chunk = 0;
        std::uint32_t scale = 1;
        for (std::size_t i = 0; i < take; ++i) {
            chunk = chunk * 10 + static_cast<std::uint32_t>(digits[pos + i] - '0');
            scale *= 10;
        }
        result.multiplySmall(scale);
        result.addSmall(chunk);
        pos += take;
    }
    return result;
}

void BigUnsigned::multiplyPowerOfTen(int exponent)
{
    for (; exponent >= 9; exponent -= 9)
        multiplySmall(1000000000u);
    for (; exponent > 0; --exponent)
        multiplySmall(10);
}

int BigUnsigned::bitLength() const
{
    if (limbs_.empty())
        return 0;
    return static_cast<int>(32 * (limbs_.size() - 1)) + std::bit_width(limbs_.back());
}

void BigUnsigned::multiplySmall(std::uint32_t factor)
{
    std::uint64_t carry = 0;
    for (auto &limb : limbs_) {
        std::uint64_t product = std::uint64_t(limb) * factor + carry;
        limb = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0)
        limbs_.push_back(static_cast<std::uint32_t>(carry));
    trim();
}

void BigUnsigned::addSmall(std::uint32_t addend)
{
    std::uint64_t carry = addend;
    for (std::size_t i = 0; carry != 0; ++i) {
        if (i == limbs_.size())
            limbs_.push_back(0);
        std::uint64_t sum = std::uint64_t(limbs_[i]) + carry;
        limbs_[i] = static_cast<std::uint32_t>(sum);
        carry = sum >> 32;
    }
}

void BigUnsigned::shiftLeft(int bits)
{
    if (limbs_.empty() || bits <= 0)
        return;
    const int whole = bits / 32;
    const int part = bits % 32;
    if (part != 0) {
        std::uint32_t carry = 0;
        for (auto &limb : limbs_) {
            std::uint32_t next = limb >> (32 - part);
            limb = (limb << part) | carry;
            carry = next;
        }
        if (carry != 0)
            limbs_.push_back(carry);
    }
    limbs_.insert(limbs_.begin(), static_cast<std::size_t>(whole), 0u);
}

void BigUnsigned::shiftRightOne()
{
    std::uint32_t carry = 0;
    for (auto it = limbs_.rbegin(); it != limbs_.rend(); ++it) {
        std::uint32_t next = *it & 1u;
        *it = (*it >> 1) | (carry << 31);
        carry = next;
    }
    trim();
}

void BigUnsigned::subtract(const BigUnsigned &smaller)
{
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
        std::int64_t diff =
            std::int64_t(limbs_[i]) - borrow - (i < smaller.limbs_.size() ? smaller.limbs_[i] : 0);
        borrow = diff < 0 ? 1 : 0;
        limbs_[i] = static_cast<std::uint32_t>(diff + (borrow << 32));
    }
    trim();
}

void BigUnsigned::trim()
{
    while (!limbs_.empty() && limbs_.back() == 0)
        limbs_.pop_back();
}

int compare(const BigUnsigned &a, const BigUnsigned &b)
{
    if (a.limbs_.size() != b.limbs_.size())
        return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    for (std::size_t i = a.limbs_.size(); i-- > 0;) {
        if (a.limbs_[i] != b.limbs_[i])
            return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    }
    return 0;
}

} // namespace zq
