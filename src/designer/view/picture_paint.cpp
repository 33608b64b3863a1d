#include "view/picture_paint.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSysInfo>

#include <algorithm>

namespace zq {

namespace {

constexpr int kBandBytes = 256 * 1024;

} // namespace

void paintPicturePart(QPainter &painter, const QImage &picture, const QRect &part)
{
    if (picture.format() != QImage::Format_BGR888 || QSysInfo::ByteOrder != QSysInfo::LittleEndian) {
        painter.drawImage(part.topLeft(), picture, part);
        return;
    }
    // Read as RGB, the bytes B, G, R expand to B, G, R, 0xFF: in memory, a 32-bit RGB pixel of
    // the right colour. Bands start on a whole 4-pixel group, so their rows stay 4-byte aligned.
    const int left = part.left() & ~3;
    const int width = part.right() + 1 - left;
    const int bandRows = std::max(1, kBandBytes / (width * 4));
    for (int y = part.top(); y <= part.bottom(); y += bandRows) {
        const int rows = std::min(bandRows, part.bottom() + 1 - y);
        QImage band = QImage(picture.constScanLine(y) + 3 * qsizetype(left), width, rows,
                             picture.bytesPerLine(), QImage::Format_RGB888)
                          .convertToFormat(QImage::Format_RGBX8888);
        band.reinterpretAsFormat(QImage::Format_RGB32);
        painter.drawImage(QPoint(part.left(), y), band, QRect(part.left() - left, 0, part.width(), rows));
    }
}

} // namespace zq
