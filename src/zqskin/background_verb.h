#pragma once

#include "command_line.h"

#include <QTextStream>

namespace zqskin {

// zqskin background SKIN JPEG: draws the JPEG over the whole background, as the designer's
// "换背景图片" does, then saves the whole skin. The background keeps its size, so the layout
// still fits it. A JPEG that does not decode changes nothing and nothing is written.
int runBackground(const Invocation &invocation, QTextStream &out);

} // namespace zqskin
