#pragma once

#include <QByteArrayView>

namespace zq::platform {

// The line ending of a line added to a profile file that has none of its own yet (a new file,
// or one single line without an ending).
QByteArrayView newProfileLineEnding();

} // namespace zq::platform
