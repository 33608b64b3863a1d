#include "skin/bg_image.h"

#include "platform/bitmap_ops.h"

#include <QRect>

namespace zq {

TBGImage::TBGImage(const QString &path, bool lowColourDisplay)
    : m_bgPath(path)
    , m_lowColourDisplay(lowColourDisplay)
{
    m_bgJpeg.loadFile(path);
    m_bgBitmap = m_bgJpeg.decode(m_lowColourDisplay);
}

void TBGImage::ReplacePicture(const QString &path)
{
    JpegCodec replacement;
    replacement.loadFile(path);
    const Bitmap picture = replacement.decode(m_lowColourDisplay);

    stretchRect(m_bgBitmap, QRect(0, 0, m_bgBitmap.width(), m_bgBitmap.height()), picture,
                QRect(0, 0, picture.width(), picture.height()));
    // The next save is progressive exactly when this replacement was.
    m_bgJpeg = std::move(replacement);
}

void TBGImage::SaveBackground()
{
    m_bgJpeg.saveFile(m_bgPath, m_bgBitmap);
}

} // namespace zq
