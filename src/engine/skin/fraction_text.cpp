#include "skin/fraction_text.h"

#include "numbers/extended_math.h"
#include "numbers/number_text.h"

namespace zq {

std::int32_t pixelFromFractionText(QStringView text, std::int32_t size, QChar decimalSeparator)
{
    return truncatedProduct(readRealValue(text, decimalSeparator), size);
}

QString fractionText(std::int32_t pixel, std::int32_t size, QChar decimalSeparator)
{
    const RealDigits nearest = RealDigits::fromDouble(extendedQuotient(pixel, size));
    // One step always suffices for sizes and pixels in the 32-bit range; a few more cost nothing.
    RealDigits candidate = nearest;
    for (int step = 0; step < 4; ++step) {
        const QString text = candidate.toText(decimalSeparator);
        if (pixelFromFractionText(text, size, decimalSeparator) == pixel)
            return text;
        candidate = candidate.steppedAwayFromZero();
    }
    return nearest.toText(decimalSeparator);
}

} // namespace zq
