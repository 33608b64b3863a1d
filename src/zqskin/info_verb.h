#pragma once

#include "command_line.h"

#include <QTextStream>

namespace zqskin {

// zqskin info SKIN [--json] [--size WxH]: the positions of the six pictures and the eleven
// boxes as the designer reads them, the background's size and kind and the six pictures'
// formats, as one JSON object or as a table.
int runInfo(const Invocation &invocation, QTextStream &out);

} // namespace zqskin
