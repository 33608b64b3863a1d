#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <string>

// The number forms of the layout file: how its values are read and how numbers are written.
namespace zq {

// Blanks, an optional sign, digits with an optional decimal separator and fraction, an
// optional exponent ("E" or "e", optional sign, digits), blanks. The number is formed in
// extended precision and rounded to a double. Nothing for any other text or for a number
// too large for a double.
std::optional<double> parseRealText(QStringView text, QChar decimalSeparator);

// A real value of the layout file: 0.0 for empty or unparsable text.
double readRealValue(QStringView text, QChar decimalSeparator);

// A whole value of the layout file: decimal or hexadecimal ("0x", "$", "x", "X"); 0 for
// empty text, any other text, or a decimal number outside the 32-bit range. Hexadecimal
// numbers up to 32 bits are taken as a bit pattern (FFFFFFFF is -1); larger ones give 0.
std::int32_t readWholeValue(QStringView text);

// A finite number rounded to at most 15 significant decimal digits.
struct RealDigits {
    bool negative = false;
    std::string digits; // no trailing zeros; empty for zero
    int exponent = 0;   // decimal exponent of the first digit

    static constexpr int precision = 15;

    static RealDigits fromDouble(double value); // rounds half away from zero
    // The next number of 15 significant digits farther from zero (zero stays zero).
    RealDigits steppedAwayFromZero() const;
    // Plain notation for exponents -4..14, otherwise scientific with an upper-case "E".
    QString toText(QChar decimalSeparator) const;
};

// The write form of a real number: 15 significant digits, trailing zeros dropped.
QString realText(double value, QChar decimalSeparator);

// The write form of an integer: plain decimal.
QString integerText(std::int32_t value);

} // namespace zq
