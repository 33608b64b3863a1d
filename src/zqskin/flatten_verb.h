#pragma once

#include "command_line.h"

#include <QTextStream>

namespace zqskin {

// zqskin flatten SKIN ELEMENT PNG [--at X,Y]: replaces the element's picture by the PNG
// flattened onto the background under it, as the designer's "换张图片" does, first moving the
// element to X,Y when given; then saves the whole skin. A PNG that does not decode changes
// nothing and nothing is written.
int runFlatten(const Invocation &invocation, QTextStream &out);

} // namespace zqskin
