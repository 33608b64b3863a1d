#pragma once

#include <optional>
#include <string_view>

namespace zq {

// The number digits * 10^exponent10 (digits: '0'..'9', any count), formed exactly, rounded
// to extended precision and then to a double, each step to nearest-even. Nothing when the
// result is too large for a double; too small a number becomes zero.
std::optional<double> decimalToDouble(bool negative, std::string_view digits, int exponent10);

} // namespace zq
