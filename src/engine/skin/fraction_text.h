#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// The six picture positions are kept in the layout file as fractions of the background size.
namespace zq {

// A fraction read as a pixel: the value times the size in extended precision, truncated
// toward zero. Text that is no number reads as 0.
std::int32_t pixelFromFractionText(QStringView text, std::int32_t size, QChar decimalSeparator);

// The text written for a pixel: pixel / size as real-number text. Where that text would read
// back a pixel short (0.3 * 1000 gives 299.99999... and so 299), its 15th significant digit
// is stepped away from zero until it reads back exactly, so a skin does not creep at every
// save.
QString fractionText(std::int32_t pixel, std::int32_t size, QChar decimalSeparator);

} // namespace zq
