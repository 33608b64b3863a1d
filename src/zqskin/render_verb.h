#pragma once

#include "command_line.h"

#include <QTextStream>

namespace zqskin {

// render SKIN OUT.png [--tab T] [--boxes] [--scale F], or render SKIN... --out-dir DIR.
int runRender(const Invocation &invocation, QTextStream &out);

// Writes the picture of one skin's lock screen to outPath as the options ask.
void renderSkin(const QString &skinPath, const QString &outPath, const Invocation &invocation);

} // namespace zqskin
