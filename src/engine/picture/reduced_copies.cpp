#include "picture/reduced_copies.h"

#include <algorithm>
#include <cstdint>

namespace zq {

namespace {

// Where a pixel's blue, green and red bytes lie in a scan line, for the formats read directly.
struct ByteLayout {
    int step = 0; // bytes per pixel
    int blue = 0;
    int green = 0;
    int red = 0;
};

ByteLayout layoutOf(const QImage &picture)
{
    switch (picture.format()) {
    case QImage::Format_BGR888:
        return {3, 0, 1, 2};
    case QImage::Format_RGB888:
        return {3, 2, 1, 0};
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        // 0xAARRGGBB as a native 32-bit word.
        if (QSysInfo::ByteOrder == QSysInfo::LittleEndian)
            return {4, 0, 1, 2};
        return {4, 3, 2, 1};
    default:
        return {};
    }
}

} // namespace

QImage halvePicture(const QImage &source)
{
    if (source.isNull())
        return {};
    QImage converted;
    ByteLayout layout = layoutOf(source);
    const QImage *picture = &source;
    if (layout.step == 0) {
        converted = source.convertToFormat(QImage::Format_RGB32);
        picture = &converted;
        layout = layoutOf(converted);
    }
    const int width = picture->width();
    const int height = picture->height();
    const int halfWidth = (width + 1) / 2;
    const int halfHeight = (height + 1) / 2;
    QImage half(halfWidth, halfHeight, QImage::Format_RGB32);
    if (half.isNull())
        return {};
    const int step = layout.step;
    for (int y = 0; y < halfHeight; ++y) {
        const uchar *top = picture->constScanLine(2 * y);
        const uchar *bottom = picture->constScanLine(std::min(2 * y + 1, height - 1));
        auto *out = reinterpret_cast<QRgb *>(half.scanLine(y));
        for (int x = 0; x < halfWidth; ++x) {
            const int left = 2 * x * step;
            const int right = std::min(2 * x + 1, width - 1) * step;
            const auto sum = [&](int channel) {
                return (unsigned(top[left + channel]) + top[right + channel] + bottom[left + channel] +
                        bottom[right + channel] + 2) /
                       4;
            };
            out[x] = qRgb(int(sum(layout.red)), int(sum(layout.green)), int(sum(layout.blue)));
        }
    }
    return half;
}

ReducedCopies::ReducedCopies(QImage full)
    : m_full(std::move(full))
{}

int ReducedCopies::reductionFor(double zoom) const
{
    int reduction = 1;
    int width = m_full.width();
    int height = m_full.height();
    // The next copy would still be at least as large as the result, and at least one pixel.
    while (zoom > 0 && zoom * reduction * 2 <= 1.0 && (width > 1 || height > 1) && reduction < (1 << 20)) {
        reduction *= 2;
        width = (width + 1) / 2;
        height = (height + 1) / 2;
    }
    return reduction;
}

const QImage &ReducedCopies::forZoom(double zoom)
{
    int level = 0;
    for (int reduction = reductionFor(zoom); reduction > 1; reduction /= 2)
        ++level;
    if (level == 0 || m_full.isNull())
        return m_full;
    while (int(m_copies.size()) < level) {
        const QImage &from = m_copies.empty() ? m_full : m_copies.back();
        QImage next = halvePicture(from);
        if (next.isNull())
            break; // no memory for a copy: draw from the last one made
        m_copies.push_back(std::move(next));
    }
    return m_copies.empty() ? m_full : m_copies[size_t(std::min<int>(level, int(m_copies.size())) - 1)];
}

} // namespace zq
