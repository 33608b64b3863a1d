#pragma once

#include "skin/asset_names.h"
#include "skin/geometry.h"

#include <QByteArray>
#include <QString>

#include <array>

namespace zq {

// The skin a new skin starts from, built into the engine: the sample skin's layout file and
// six pictures. Its layout's fractions are of the sample's 1920 x 1080 background.
inline constexpr PixelSize templateBackgroundSize{1920, 1080};

// The bytes of one template file by its skin file name ("ZqCSkin.ini", "zqLOG.bmp" ...).
QByteArray templateFile(QStringView name);

// Where the six pictures go on a background of `size`: the template's arrangement, kept
// whole, its centre at the same fraction of the background as on the template's, moved
// back inside where it would reach past an edge. Raises EngineError when the background is
// too small to hold the arrangement. Indexed by Element.
std::array<Point, 6> templatePositions(PixelSize size);

} // namespace zq
