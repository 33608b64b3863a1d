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
    : Name(name)
    , X(x)
    , Y(y)
    , BmpPath(bmpPath)
    , Bitmap(readBmpFile(bmpPath))
    , m_background(&background)
{
    PictureWidth = Bitmap.width();
    PictureHeight = Bitmap.height();
}

void ElementPicture::LoadPng(const QString &path, int left, int top)
{
    PngPicture decoded = decodePngFile(path);
    Png = std::move(decoded);
    Recomposite(left, top);
}

void ElementPicture::Recomposite(int left, int top)
{
    X = left;
    Y = top;
    if (!Png)
        return;
    PictureWidth = Png->width;
    PictureHeight = Png->height;
    Bitmap.resize(PictureWidth, PictureHeight);
    // Where the element reaches past the background there is nothing to show through:
    // those pixels become white, the colour a new bitmap area gets, whatever was there before.
    if (Bitmap.format().hasPalette() && !m_matcher)
        m_matcher = std::make_shared<PaletteMatcher>(usablePalette(Bitmap));
    copyRect(Bitmap, QPoint(0, 0), *m_background, QPoint(X, Y), QSize(PictureWidth, PictureHeight),
             m_matcher.get());
    flattenPng(*Png, Bitmap, m_matcher.get());
}

void ElementPicture::SaveBitmap() const
{
    writeBmpFile(BmpPath, Bitmap);
}

QByteArray ElementPicture::bmpBytes() const
{
    return encodeBmp(Bitmap);
}

} // namespace zq
