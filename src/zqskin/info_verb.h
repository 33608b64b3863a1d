#pragma once

#include "command_line.h"

#include <QTextStream>

namespace zqskin {

// zqskin info LAYOUT --size WxH [--json]: the positions of the six pictures and the eleven
// boxes as the designer reads them, as one JSON object or as a table.
int runInfo(const Invocation &invocation, QTextStream &out);

} // namespace zqskin
