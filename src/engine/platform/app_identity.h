#pragma once

#include <QString>

namespace zq::platform {

// Tells the system which installed program this process is, by the same ID the desktop entry
// is named after, so that the taskbar groups its windows under the installed entry. Call it
// before the first window opens. (On Linux the desktop file name carries it; this does nothing.)
void setApplicationIdentity(const QString &id);

} // namespace zq::platform
