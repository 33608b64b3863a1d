#pragma once

#include "command_line.h"

#include <QTextStream>

namespace zqskin {

// zqskin resave SKIN: opens the skin and saves it as the designer does when nothing was
// changed. With --size WxH only the layout file is read and written back, against that
// background size. A layout of an older client is refused, as the designer refuses to open it.
int runResave(const Invocation &invocation, QTextStream &out);

} // namespace zqskin
