#include "skin/element_picture.h"

#include "picture/bitmap_ops.h"
#include "picture/bmp_reader.h"
#include "picture/bmp_writer.h"
#include "picture/palette_matcher.h"
#include "picture/png_flatten.h"

#include <QPoint>
#include <QSize>

namespace zq {

ElementPicture::ElementPicture(const zq::Bitmap &background, const QString &bmpPath, int x, int y,
                               const QString &name)
    : m_name(name)
    , m_x(x)
    , m_y(y)
    , m_bmpPath(bmpPath)
    , m_bitmap(readBmpFile(bmpPath))
    , m_background(&background)
{}

void ElementPicture::LoadPng(const QString &path, int left, int top)
{
    PngPicture decoded = decodePngFile(path);
    m_png = std::move(decoded);
    Recomposite(left, top);
}

void ElementPicture::Recomposite(int left, int top)
{
    m_x = left;
    m_y = top;
    if (!m_png)
        return;
    m_bitmap.resize(m_png->width, m_png->height);
    // Where the element reaches past the background there is nothing to show through:
    // those pixels become white, the colour a new bitmap area gets, whatever was there before.
    if (m_bitmap.format().hasPalette() && !m_matcher)
        m_matcher = std::make_shared<PaletteMatcher>(usablePalette(m_bitmap));
    copyRect(m_bitmap, QPoint(0, 0), *m_background, QPoint(m_x, m_y), QSize(PictureWidth(), PictureHeight()),
             m_matcher.get());
    flattenPng(*m_png, m_bitmap, m_matcher.get());
}

void ElementPicture::SaveBitmap() const
{
    writeBmpFile(m_bmpPath, m_bitmap);
}

QByteArray ElementPicture::bmpBytes() const
{
    return encodeBmp(m_bitmap);
}

void ElementPicture::restore(const std::optional<PngPicture> &png, const zq::Bitmap &bitmap, int x, int y)
{
    m_png = png;
    m_bitmap = bitmap;
    m_x = x;
    m_y = y;
}

} // namespace zq
