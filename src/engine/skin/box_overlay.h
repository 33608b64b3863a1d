#pragma once

#include "picture/bitmap.h"
#include "skin/asset_names.h"
#include "skin/ini_mian.h"

namespace zq {

// Draws the text boxes of `page` onto a rendered lock screen (24 bits) as the designer shows
// them: a raised panel in the button face with its caption centred on one line. Boxes are
// drawn only inside the page picture of pageSize at the page's place, as a child window is
// clipped by its parent. Captions need fonts, so a QGuiApplication must exist.
void drawPageBoxes(Bitmap &screen, const TiniMian &layout, Element page, PixelSize pageSize);

} // namespace zq
