#include "platform/file_replace.h"

#include <QDir>
#include <QFileInfo>

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include <string>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zq::platform {

namespace {

#ifdef _WIN32

QString systemReason(DWORD code)
{
    wchar_t *text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString reason = text ? QString::fromWCharArray(text).trimmed() : QStringLiteral("error %1").arg(code);
    LocalFree(text);
    return reason;
}

#else

QString systemReason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// The new name of the file is on the disk only once its folder is.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd); // best effort: some file systems cannot sync a folder
    ::close(fd);
}

#endif

} // namespace

bool replaceWithTemporary(QFile &temporary, const QString &target, QString &reason)
{
    if (!temporary.flush()) {
        reason = temporary.errorString();
        temporary.close();
        return false;
    }
#ifdef _WIN32
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(temporary.handle()));
    if (!FlushFileBuffers(handle)) {
        reason = systemReason(GetLastError());
        temporary.close();
        return false;
    }
    temporary.close();
    const std::wstring from = QDir::toNativeSeparators(temporary.fileName()).toStdWString();
    const std::wstring to = QDir::toNativeSeparators(target).toStdWString();
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        reason = systemReason(GetLastError());
        return false;
    }
#else
    if (::fsync(temporary.handle()) != 0) {
        reason = systemReason(errno);
        temporary.close();
        return false;
    }
    temporary.close();
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        reason = systemReason(errno);
        return false;
    }
    syncFolder(QFileInfo(target).absolutePath());
#endif
    return true;
}

} // namespace zq::platform
