#pragma once

#include "command_line.h"

#include <QTextStream>

namespace zqskin {

// zqskin resave LAYOUT --size WxH: reads the layout and writes it back as the designer's
// save does when nothing was moved. A layout of an older client is refused, as the
// designer refuses to open it.
int runResave(const Invocation &invocation, QTextStream &out);

} // namespace zqskin
