#pragma once

#include "picture/bitmap.h"
#include "picture/png_picture.h"
#include "recovery/recovery_store.h"
#include "skin/asset_names.h"
#include "skin/bg_image.h"
#include "skin/geometry.h"

#include <QString>

#include <array>
#include <optional>

namespace zq {

class SkinDocument;

// A recovery copy read back for the skin it was made of: the state the skin had in the
// designer, ready to be put in place of what the skin's files hold.
struct RecoveredSkin {
    // Reads the copy's files, checks each against the manifest's size and checksum and
    // checks that the copy still fits `document` (an open skin, its six pictures built): the
    // same background size, the six pictures in the same pixel formats. Raises EngineError
    // saying why it does not.
    static RecoveredSkin read(const RecoveryEntry &entry, const SkinDocument &document);

    std::array<Point, 6> positions; // by Element
    std::array<BoxRect, 11> boxes;  // in boxTable's order
    std::array<Bitmap, 6> pictures; // by Element
    // The replacement PNG an element carried, flattened afresh when it moves.
    std::array<std::optional<PngPicture>, 6> replacements;
    // The background, when it is not the one the skin's file holds: decoded from the copy
    // and saved as the very bytes the copy holds.
    bool backgroundChanged = false;
    TBGImage::Picture background;

    // Puts the recovered state into `document`: the elements' positions, pictures and
    // replacement PNGs, the boxes in the layout record, the background. A save then writes
    // the copy's files.
    void applyTo(SkinDocument &document) const;
};

} // namespace zq
