#pragma once

#include "picture/bitmap.h"
#include "picture/png_picture.h"

#include <QPoint>
#include <QRect>

#include <memory>
#include <optional>

namespace zq {

// An element's picture as a replacement leaves it: the PNG it carries (if any) and the
// flattened bitmap that is shown and saved.
struct ElementPictureContent {
    std::optional<PngPicture> png;
    Bitmap bitmap;
    int width = 0;
    int height = 0;
};

// What an edit of a picture element changes: the panel's geometry, whether it follows the
// picture's size, the stored position and, for a picture replacement, the picture itself.
struct ElementState {
    QRect panel;
    bool autoSize = true;
    QPoint stored;
    // Null when the edit leaves the picture as it is: one that carries a PNG is flattened
    // again at the stored position, which gives the same bitmap.
    std::shared_ptr<const ElementPictureContent> picture;

    bool samePlace(const ElementState &o) const
    {
        return panel == o.panel && autoSize == o.autoSize && stored == o.stored;
    }
};

} // namespace zq
