#include "skin/box_overlay.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <stdexcept>

namespace zq {

namespace {

// The panel's default look on the reference platform.
const QColor buttonFace(240, 240, 240);
const QColor bevelLight(255, 255, 255);
const QColor bevelShadow(160, 160, 160);
const QColor captionColour(0, 0, 0);

} // namespace

void drawPageBoxes(Bitmap &screen, const TiniMian &layout, Element page, PixelSize pageSize)
{
    if (screen.format().bitsPerPixel != 24)
        throw std::invalid_argument("boxes are drawn on 24-bit pictures");
    QImage image(screen.row(0), screen.width(), screen.height(), screen.stride(), QImage::Format_BGR888);
    // Sums in 64 bits: the layout's values span the whole 32-bit range.
    const Point at = layout.position(page);
    const qint64 pageLeft = std::max<qint64>(at.x, 0);
    const qint64 pageTop = std::max<qint64>(at.y, 0);
    const qint64 pageRight = std::min<qint64>(qint64(at.x) + pageSize.width, image.width());
    const qint64 pageBottom = std::min<qint64>(qint64(at.y) + pageSize.height, image.height());
    if (pageLeft >= pageRight || pageTop >= pageBottom)
        return;
    const QRect pageRect(int(pageLeft), int(pageTop), int(pageRight - pageLeft), int(pageBottom - pageTop));
    QPainter painter(&image);
    painter.setClipRect(pageRect);
    for (const BoxTableRow &row : boxTable) {
        if (row.page != page)
            continue;
        const BoxRect box = layout.box(row.section, row.keyNumber);
        if (box.width <= 0 || box.height <= 0)
            continue;
        const qint64 left = qint64(at.x) + box.left;
        const qint64 top = qint64(at.y) + box.top;
        const qint64 right = left + box.width;
        const qint64 bottom = top + box.height;
        if (left >= pageRight || top >= pageBottom || right <= pageLeft || bottom <= pageTop)
            continue;
        // A box reaching far past the page is drawn as if it ended a long way off: what shows
        // is the same, and the painter's coordinates stay well inside their range.
        constexpr qint64 farOff = qint64(1) << 24;
        const qint64 l = std::max(left, pageLeft - farOff);
        const qint64 t = std::max(top, pageTop - farOff);
        const qint64 r2 = std::min(right, pageRight + farOff);
        const qint64 b2 = std::min(bottom, pageBottom + farOff);
        const QRect r(int(l), int(t), int(r2 - l), int(b2 - t));
        painter.fillRect(r, buttonFace);
        painter.setPen(bevelLight);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(bevelShadow);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        painter.setPen(captionColour);
        painter.drawText(r.adjusted(1, 1, -1, -1), Qt::AlignCenter | Qt::TextSingleLine,
                         row.caption.toString());
    }
}

} // namespace zq
