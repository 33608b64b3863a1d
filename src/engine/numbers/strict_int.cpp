#include "numbers/strict_int.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"

#include <optional>

namespace zq {

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool isDecimalDigit(QChar c)
{
    // Only ASCII digits: other scripts' digits are not numbers in the layout.
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

std::optional<int32_t> parse(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;

    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    bool hex = false;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }

    if (i >= n)
        return std::nullopt;

    if (hex) {
        uint32_t pattern = 0;
        for (; i < n; ++i) {
            const int d = hexDigit(text[i]);
            if (d < 0 || pattern > 0x0FFFFFFFu)
                return std::nullopt;
            pattern = (pattern << 4) | static_cast<uint32_t>(d);
        }
        // Negating in unsigned arithmetic wraps the same way everywhere.
        if (negative)
            pattern = 0u - pattern;
        return static_cast<int32_t>(pattern);
    }

    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t value = 0;
    for (; i < n; ++i) {
        if (!isDecimalDigit(text[i]))
            return std::nullopt;
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

} // namespace

int32_t strToIntStrict(const QString &text)
{
    if (const auto value = parse(text))
        return *value;
    throw EngineError(errors::notValidInteger(text));
}

} // namespace zq
