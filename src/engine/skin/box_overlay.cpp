#include "skin/box_overlay.h"

#include <QImage>
#include <QPainter>

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
    const Point at = layout.position(page);
    const QRect pageRect = QRect(at.x, at.y, pageSize.width, pageSize.height) & image.rect();
    if (pageRect.isEmpty())
        return;
    QPainter painter(&image);
    painter.setClipRect(pageRect);
    for (const BoxTableRow &row : boxTable) {
        if (row.page != page)
            continue;
        const BoxRect box = layout.box(row.section, row.keyNumber);
        if (box.width <= 0 || box.height <= 0)
            continue;
        // 64-bit sums: a box far off its page must not wrap around onto it.
        const qint64 left = qint64(at.x) + box.left;
        const qint64 top = qint64(at.y) + box.top;
        if (left >= pageRect.right() + 1 || top >= pageRect.bottom() + 1 ||
            left + box.width <= pageRect.left() || top + box.height <= pageRect.top())
            continue;
        const QRect r(int(left), int(top), box.width, box.height);
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
