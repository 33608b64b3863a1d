#include "view/picture_paint.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSysInfo>

#include <algorithm>
#include <cstring>

namespace zq {

namespace {

constexpr int kBandBytes = 256 * 1024;

bool readsAsBytes(const QImage &picture)
{
    return picture.format() == QImage::Format_BGR888;
}

bool readsAsWords(const QImage &picture)
{
    return picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32 ||
           picture.format() == QImage::Format_ARGB32_Premultiplied;
}

// Fills `width` pixels of `out` with the enlarged row `row`, from pixel `left` of the enlarged
// picture; `first` is the source column the row's pixels start from. `Bytes`: the row holds
// 24-bit BGR pixels, else 32-bit ones.
template <bool Bytes> void widenRow(const uchar *row, int first, int left, int width, int times, QRgb *out)
{
    int x = left / times - first;
    int run = times - left % times;
    for (int done = 0; done < width; ++x, run = times) {
        QRgb pixel;
        if constexpr (Bytes) {
            const uchar *p = row + 3 * qsizetype(x);
            pixel = qRgb(p[2], p[1], p[0]);
        } else {
            pixel = reinterpret_cast<const QRgb *>(row)[x] | 0xFF000000u;
        }
        const int n = std::min(run, width - done);
        std::fill_n(out + done, n, pixel);
        done += n;
    }
}

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

void paintEnlargedPart(QPainter &painter, const QImage &picture, const QRect &part, int times)
{
    const QRect within = part & QRect(QPoint(0, 0), picture.size() * times);
    if (within.isEmpty() || times < 1)
        return;
    const QRect sources(QPoint(within.left() / times, within.top() / times),
                        QPoint(within.right() / times, within.bottom() / times));
    // Read in place where the layout allows; any other is converted under the part only.
    QImage source = picture;
    QPoint origin(0, 0);
    if (!readsAsBytes(picture) && !readsAsWords(picture)) {
        source = picture.copy(sources).convertToFormat(QImage::Format_RGB32);
        origin = sources.topLeft();
    }

    const bool bytes = readsAsBytes(source);
    const int width = within.width();
    const int bandRows = std::max(1, kBandBytes / (width * 4));
    QImage band(width, std::min(bandRows, within.height()), QImage::Format_RGB32);
    for (int y = within.top(); y <= within.bottom(); y += band.height()) {
        const int rows = std::min(band.height(), within.bottom() + 1 - y);
        for (int i = 0; i < rows; ++i) {
            auto *out = reinterpret_cast<QRgb *>(band.scanLine(i));
            // The rows of one square are the same: widened once, copied after.
            if (i > 0 && (y + i) / times == (y + i - 1) / times) {
                std::memcpy(out, band.constScanLine(i - 1), size_t(width) * 4);
                continue;
            }
            const uchar *row = source.constScanLine((y + i) / times - origin.y());
            if (bytes)
                widenRow<true>(row, origin.x(), within.left(), width, times, out);
            else
                widenRow<false>(row, origin.x(), within.left(), width, times, out);
        }
        painter.drawImage(QPoint(within.left(), y), band, QRect(0, 0, width, rows));
    }
}

} // namespace zq
