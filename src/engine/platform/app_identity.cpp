#include "platform/app_identity.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <shobjidl.h>
#endif

namespace zq::platform {

void setApplicationIdentity(const QString &id)
{
#ifdef _WIN32
    SetCurrentProcessExplicitAppUserModelID(reinterpret_cast<const wchar_t *>(id.utf16()));
#else
    (void)id;
#endif
}

} // namespace zq::platform
