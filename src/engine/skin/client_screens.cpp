#include "skin/client_screens.h"

#include <algorithm>

namespace zq {

namespace {

constexpr std::int64_t largestSide = 65535;

std::optional<std::int32_t> side(QStringView text)
{
    if (text.isEmpty() || text.size() > 5)
        return std::nullopt;
    std::int64_t value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value <= 0 || value > largestSide)
        return std::nullopt;
    return std::int32_t(value);
}

} // namespace

bool liesBeyondScreen(const BoxRect &rect, PixelSize screen)
{
    // In 64 bits: a corner far out plus a width must not wrap round.
    const std::int64_t right = std::int64_t(rect.left) + std::max<std::int32_t>(rect.width, 0);
    const std::int64_t bottom = std::int64_t(rect.top) + std::max<std::int32_t>(rect.height, 0);
    return rect.left < 0 || rect.top < 0 || right > screen.width || bottom > screen.height;
}

std::optional<PixelSize> parseScreenSize(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        if (c != u'x' && c != u'X' && c != u'×')
            continue;
        // Spaces may stand round the sign, as screenSizeText writes it.
        const auto width = side(trimmed.left(i).trimmed());
        const auto height = side(trimmed.mid(i + 1).trimmed());
        if (!width || !height)
            return std::nullopt;
        return PixelSize{*width, *height};
    }
    return std::nullopt;
}

QString screenSizeText(PixelSize screen)
{
    return QStringLiteral("%1 × %2").arg(screen.width).arg(screen.height);
}

} // namespace zq
