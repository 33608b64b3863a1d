#include "view/zoomed_background.h"

#include "picture/reduced_copies.h"
#include "view/picture_paint.h"

#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>

namespace zq {

ZoomedBackground::ZoomedBackground() = default;

ZoomedBackground::~ZoomedBackground() = default;

void ZoomedBackground::setPicture(const QImage &full)
{
    m_full = full;
    m_copies.reset();
}

void ZoomedBackground::paint(QPainter &painter, const QRect &zoomedPart, double zoom)
{
    if (m_full.isNull() || zoomedPart.isEmpty())
        return;
    // A whole number of screen pixels a picture pixel: widened row by row, as fast as a copy.
    if (zoom >= 2.0 && zoom == std::floor(zoom)) {
        paintEnlargedPart(painter, m_full, zoomedPart, int(zoom));
        return;
    }
    const bool reduced = zoom < 1.0;
    if (reduced && !m_copies)
        m_copies = std::make_unique<ReducedCopies>(m_full);
    const QImage &source = reduced ? m_copies->forZoom(zoom) : m_full;
    const double scale = reduced ? zoom * m_copies->reductionFor(zoom) : zoom;
    // A halving step itself (50 %, 25 %, 12.5 %): its copy drawn 1:1.
    if (scale == 1.0) {
        paintPicturePart(painter, source, zoomedPart & QRect(QPoint(0, 0), source.size()));
        return;
    }

    // The source pixels under the part; a smooth reduction reads one more on each side, so the
    // parts of one paint meet without a seam.
    const int margin = reduced ? 1 : 0;
    const int left = std::max(0, int(std::floor(zoomedPart.x() / scale)) - margin);
    const int top = std::max(0, int(std::floor(zoomedPart.y() / scale)) - margin);
    const int right =
        std::min(source.width(), int(std::ceil((zoomedPart.x() + zoomedPart.width()) / scale)) + margin);
    const int bottom =
        std::min(source.height(), int(std::ceil((zoomedPart.y() + zoomedPart.height()) / scale)) + margin);
    if (right <= left || bottom <= top)
        return;
    const QRect tileRect(left, top, right - left, bottom - top);
    const QRectF target(left * scale, top * scale, tileRect.width() * scale, tileRect.height() * scale);

    painter.save();
    painter.setClipRect(zoomedPart, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, reduced);
    // Read in place when its rows are 32-bit already; any other layout converted part by part.
    if (source.format() == QImage::Format_RGB32)
        painter.drawImage(target, source, QRectF(tileRect));
    else
        painter.drawImage(target, source.copy(tileRect).convertToFormat(QImage::Format_RGB32));
    painter.restore();
}

} // namespace zq
