#pragma once

#include <QString>

#include <cstdint>
#include <initializer_list>

namespace zqskin {

// A JSON string literal, quotes included.
QString jsonString(const QString &text);
// A JSON array of integers: [1, 2, 3].
QString jsonNumbers(std::initializer_list<std::int64_t> values);

} // namespace zqskin
