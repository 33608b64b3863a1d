#pragma once

#include "command_line.h"

#include <QTextStream>

namespace zqskin {

// set SKIN ELEMENT --at X,Y: what the position dialog and a save do to one picture's place.
int runSet(const Invocation &invocation, QTextStream &out);
// box SKIN CAPTION --rect L,T,W,H: what a box drag and a save do to one box.
int runBox(const Invocation &invocation, QTextStream &out);

} // namespace zqskin
