#include "platform/code_page.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <climits>
#endif

namespace zq::platform {

#ifdef _WIN32

// Spelled out rather than left to Qt's 8-bit conversion: the ANSI code page is the one that
// Windows programs wrote these bytes in, whatever Qt takes as its local encoding.
QString fromSystemCodePage(QByteArrayView bytes)
{
    if (bytes.isEmpty() || bytes.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(bytes.size());
    const int wide = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (wide <= 0)
        return {};
    QString text(wide, Qt::Uninitialized);
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, reinterpret_cast<wchar_t *>(text.data()), wide);
    return text;
}

QByteArray toSystemCodePage(QStringView text)
{
    if (text.isEmpty() || text.size() > INT_MAX)
        return {};
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int length = static_cast<int>(text.size());
    const int narrow = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0)
        return {};
    QByteArray bytes(narrow, Qt::Uninitialized);
    WideCharToMultiByte(CP_ACP, 0, wide, length, bytes.data(), narrow, nullptr, nullptr);
    return bytes;
}

#else

QString fromSystemCodePage(QByteArrayView bytes)
{
    return QString::fromLocal8Bit(bytes);
}

QByteArray toSystemCodePage(QStringView text)
{
    return text.toLocal8Bit();
}

#endif

} // namespace zq::platform
