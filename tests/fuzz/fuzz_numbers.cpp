// The number rules on any text: the strict integer rule and the layout's value rules never
// fail on their own, what they accept reads back from its written form, and the exact and
// native extended-precision paths agree bit for bit.
#include "fuzz_support.h"

#include "errors/engine_error.h"
#include "numbers/extended_math.h"
#include "numbers/number_text.h"
#include "numbers/strict_int.h"
#include "skin/fraction_text.h"

#include <cmath>
#include <cstring>

namespace {

template <typename T> T valueAt(const uint8_t *data, size_t size, size_t offset)
{
    T value{};
    if (size >= offset + sizeof(T))
        std::memcpy(&value, data + offset, sizeof(T));
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace zq;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    try {
        const int32_t value = strToIntStrict(text);
        fuzz::check(strToIntStrict(integerText(value)) == value, "a strict integer does not read back");
    } catch (const EngineError &) {
    }
    const int32_t whole = readWholeValue(text);
    fuzz::check(readWholeValue(integerText(whole)) == whole, "a whole value does not read back");

    for (QChar separator : {QChar(u'.'), QChar(u',')}) {
        const std::optional<double> real = parseRealText(text, separator);
        fuzz::check(!real || std::isfinite(*real), "a real value read as no finite number");
        const double value = readRealValue(text, separator);
        fuzz::check(std::isfinite(value), "a real value read as no finite number");
        // Fifteen digits round the few doubles above 1.79769313486231E308 up past the largest
        // one, so their text reads back as out of range; a layout never holds such values.
        if (std::fabs(value) > 1.79769313486231e308)
            continue;
        const QString written = realText(value, separator);
        fuzz::check(realText(readRealValue(written, separator), separator) == written,
                    "a written real value does not read back to the same text");
    }

    // The same bytes taken as numbers.
    const double real = valueAt<double>(data, size, 0);
    const int32_t factor = valueAt<int32_t>(data, size, 8);
    const int32_t other = valueAt<int32_t>(data, size, 12);
    if constexpr (detail::nativeExtendedAvailable) {
        fuzz::check(detail::truncatedProductExact(real, factor) ==
                        detail::truncatedProductNative(real, factor),
                    "the exact and native products differ");
        if (other != 0) {
            const double exact = detail::extendedQuotientExact(factor, other);
            const double native = detail::extendedQuotientNative(factor, other);
            fuzz::check(std::memcmp(&exact, &native, sizeof exact) == 0,
                        "the exact and native quotients differ");
        }
    }
    if (other > 0)
        fuzz::check(pixelFromFractionText(fractionText(factor, other, u'.'), other, u'.') == factor,
                    "a position written as a fraction does not read back");
    return 0;
}
