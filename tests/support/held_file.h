#pragma once

// A file held open for reading by this process, as an image viewer or a virus scanner may hold
// it on Windows: while held, Windows refuses to replace or delete it. Held with no sharing at
// all, others cannot even read it; held sharing reading, others read it but cannot replace it.
// Other systems have no such hold; there `held()` is false.

#include <QString>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace zqtest {

// Wine keeps Windows' sharing rules for opening a file, but lets another program replace a
// file held open for reading: there only a hold that shares nothing stops a save.
inline bool runningUnderWine()
{
#ifdef _WIN32
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

class HeldFile {
public:
    enum class Sharing { Nothing, Reading };

    HeldFile(const QString &path, Sharing sharing)
    {
#ifdef _WIN32
        handle_ = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ,
                              sharing == Sharing::Reading ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
#else
        (void)path;
        (void)sharing;
#endif
    }
    ~HeldFile()
    {
        release();
    }
    HeldFile(const HeldFile &) = delete;
    HeldFile &operator=(const HeldFile &) = delete;

    bool held() const
    {
#ifdef _WIN32
        return handle_ != INVALID_HANDLE_VALUE;
#else
        return false;
#endif
    }

    void release()
    {
#ifdef _WIN32
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
#endif
    }

private:
#ifdef _WIN32
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#endif
};

} // namespace zqtest
