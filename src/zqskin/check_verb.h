#pragma once

#include "command_line.h"

#include <QTextStream>

namespace zqskin {

// zqskin check SKIN: every file present and readable, the layout's version test, every
// picture inside the background and every box inside its page, and with --screen every
// picture and box within each screen. Prints one line per problem and returns 1, or prints
// "ok" and returns 0.
int runCheck(const Invocation &invocation, QTextStream &out);

} // namespace zqskin
