#include "skin/bg_image.h"

#include "picture/bitmap_ops.h"
#include "skin/background_source.h"

#include <QRect>

namespace zq {

TBGImage::TBGImage(const QString &path, bool lowColourDisplay, BackgroundEncoding encoding)
    : m_bgPath(path)
    , m_lowColourDisplay(lowColourDisplay)
{
    m_bgJpeg.loadFile(path);
    if (encoding == BackgroundEncoding::Ahead)
        m_encodeAhead = std::make_unique<JpegEncodeAhead>(m_bgJpeg.isProgressive());
    m_bgBitmap = m_bgJpeg.decode(m_lowColourDisplay, m_encodeAhead.get());
}

void TBGImage::ReplacePicture(const QString &path)
{
    BackgroundSource replacement = readBackgroundSource(path, m_lowColourDisplay);
    const Bitmap &picture = replacement.pixels;

    // What was encoded ahead is the old picture.
    m_encodeAhead.reset();
    m_encoded.clear();
    stretchRect(m_bgBitmap, QRect(0, 0, m_bgBitmap.width(), m_bgBitmap.height()), picture,
                QRect(0, 0, picture.width(), picture.height()));
    // The next save is progressive exactly when this replacement was (a PNG or BMP: never).
    m_bgJpeg = std::move(replacement.jpeg);
}

void TBGImage::RestorePicture(const Picture &picture)
{
    m_encodeAhead.reset();
    m_bgBitmap = picture.pixels;
    m_bgJpeg = picture.jpeg;
    m_encoded = picture.encoded;
}

void TBGImage::SaveBackground()
{
    JpegCodec::writeEncoded(m_bgPath, jpegBytes());
}

QByteArray TBGImage::jpegBytes()
{
    if (m_encodeAhead) {
        if (std::optional<QByteArray> bytes = m_encodeAhead->bytes())
            return *std::move(bytes);
    }
    if (!m_encoded.isEmpty())
        return m_encoded;
    return m_bgJpeg.encode(m_bgBitmap);
}

} // namespace zq
