#pragma once

#include "picture/bitmap.h"
#include "skin/asset_names.h"
#include "skin/ini_mian.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace zq {

// The page a tab picture opens: 登陆 -> 登陆激活 and so on.
Element pageOf(Element tab);

// What shows over the background once the tab switch has run for `tab` (a tab picture),
// bottom to top: the two other tab pictures, the 管理 tab lowest, then the tab's page.
std::vector<Element> shownElements(Element tab);

// A skin as the lock screen draws it: the decoded background, the layout read against its
// size, and the six pictures, indexed by Element.
struct LockScreenSkin {
    Bitmap background;
    std::optional<TiniMian> layout;
    std::array<Bitmap, 6> pictures;

    // Reads the skin whose layout file is layoutPath in the designer's order: background,
    // layout, then the six BMP files. A layout made for an older client is refused with the
    // designer's message.
    static LockScreenSkin read(const QString &layoutPath);
};

class SkinDocument;

// The lock screen with `tab` chosen, as a 24-bit picture the size of the background: each
// shown picture copied at its place, pixel for pixel, parts past the background cut off.
// The background is taken over, not copied.
Bitmap renderLockScreen(LockScreenSkin &skin, Element tab);
// The same for an open skin as it stands: its background, its pictures as they would be
// saved and their stored positions, so that once saved the skin renders the same from its
// files. All six elements must be built.
Bitmap renderLockScreen(const SkinDocument &skin, Element tab);

// Writes renderLockScreen's picture of the open skin as a PNG, as zqskin render writes one.
void exportLockScreen(const SkinDocument &skin, Element tab, const QString &pngPath);

} // namespace zq
