#include "platform/headless_gui.h"

namespace zq::platform {

QByteArray headlessGuiPlatform()
{
#ifdef _WIN32
    return QByteArrayLiteral("minimal");
#else
    return QByteArrayLiteral("offscreen");
#endif
}

} // namespace zq::platform
