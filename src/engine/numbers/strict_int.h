#pragma once

#include <QString>

#include <cstdint>

namespace zq {

// The number rule of the position dialog's fields: optional leading blanks, an optional
// sign, then decimal digits or a hexadecimal number introduced by "$", "x", "X", "0x" or
// "0X", and nothing after. Hexadecimal is read as a 32-bit pattern ($FFFFFFFF is -1) and
// may have leading zeros; decimal must lie within the signed 32-bit range.
// Throws EngineError ("'<text>' is not a valid integer value") on anything else.
int32_t strToIntStrict(const QString &text);

} // namespace zq
