#pragma once

#include "command_line.h"
#include "skin/ini_mian.h"

namespace zqskin {

// The background size the layout is read against: --size for now.
zq::PixelSize backgroundSize(const Invocation &invocation);

// Reads the layout file named on the command line as the designer does when it opens the
// skin. Unlike the designer's record, a missing or unreadable file is an error here.
zq::TiniMian openLayout(const Invocation &invocation);

} // namespace zqskin
