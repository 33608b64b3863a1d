#pragma once

#include <QFont>

namespace zq {

// The designer's 12-pixel type: the layouts' own family first, then fonts that carry the
// Chinese glyphs, so the captions render on a machine that has any one of them.
QFont designerFont(QFont base);

} // namespace zq
