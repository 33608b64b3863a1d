#include "platform/line_ending.h"

namespace zq::platform {

QByteArrayView newProfileLineEnding()
{
#ifdef _WIN32
    // What the system's own profile calls write.
    return "\r\n";
#else
    // Not the system's "\n": the file is read by the Zenqa client, on Windows.
    return "\r\n";
#endif
}

} // namespace zq::platform
