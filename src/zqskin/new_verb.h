#pragma once

#include "command_line.h"

#include <QTextStream>

namespace zqskin {

// new DIR [--background JPEG | --size WxH] [--force]: a complete skin from the template.
int runNew(const Invocation &invocation, QTextStream &out);

} // namespace zqskin
