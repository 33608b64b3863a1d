#pragma once

#include "picture/bitmap.h"
#include "picture/png_picture.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace zq {

class PaletteMatcher;

// The picture of one skin element: the BMP it was loaded from, or, once a PNG has been
// chosen, that PNG flattened onto the background under the element's stored position.
// The window that shows it lives in the designer; this holds what is shown and saved.
class ElementPicture {
public:
    // Loads the BMP at bmpPath; the background must outlive the element.
    ElementPicture(const zq::Bitmap &background, const QString &bmpPath, int x, int y, const QString &name);

    // Decodes the PNG at path and flattens it at (left, top). A PNG that fails to decode
    // leaves the element exactly as it was.
    void LoadPng(const QString &path, int left, int top);

    // Records (left, top) as the stored position and, when the element carries a PNG,
    // flattens it afresh onto the background there.
    void Recomposite(int left, int top);

    // Writes the picture as BMP to BmpPath, in the pixel format it was loaded in.
    void SaveBitmap() const;
    // The bytes SaveBitmap writes.
    QByteArray bmpBytes() const;

    const zq::Bitmap &background() const { return *m_background; }

    const QString &Name() const { return m_name; }
    // The stored position, background pixels.
    int X() const { return m_x; }
    int Y() const { return m_y; }
    const QString &BmpPath() const { return m_bmpPath; }
    // The replacement picture; none until a PNG has been loaded.
    const std::optional<PngPicture> &Png() const { return m_png; }
    // What is shown and saved.
    const zq::Bitmap &Bitmap() const { return m_bitmap; }
    int PictureWidth() const { return m_bitmap.width(); }
    int PictureHeight() const { return m_bitmap.height(); }

    // Puts back a picture and stored position taken earlier from this element (undo), as they
    // were, without flattening anything afresh.
    void restore(const std::optional<PngPicture> &png, const zq::Bitmap &bitmap, int x, int y);

private:
    QString m_name;
    int m_x = 0;
    int m_y = 0;
    QString m_bmpPath;
    std::optional<PngPicture> m_png;
    zq::Bitmap m_bitmap;
    const zq::Bitmap *m_background;
    // Nearest colours of a palette picture, kept across re-composites: a drag re-flattens
    // mostly the same colours.
    std::shared_ptr<PaletteMatcher> m_matcher;
};

} // namespace zq
