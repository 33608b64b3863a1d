#include "shared/designer_font.h"

#include <QStringList>

namespace zq {

QFont designerFont(QFont base)
{
    base.setFamilies({
        QStringLiteral("MS Sans Serif"),
        // Debian's fonts-wqy-microhei; Noto Sans CJK and Source Han Sans, one design under
        // Google's and Adobe's names; then the fonts every Chinese Windows has.
        QStringLiteral("WenQuanYi Micro Hei"),
        QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("Source Han Sans SC"),
        QStringLiteral("Source Han Sans CN"),
        QStringLiteral("Microsoft YaHei"),
        QStringLiteral("SimSun"),
    });
    base.setPixelSize(12);
    return base;
}

} // namespace zq
