#include "platform/file_replace.h"

#include <QDir>

#include <system_error>
#include <thread>
#include <vector>

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
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

// Empty when the file's bytes are on the disk, else the system's words.
QString flushFile(QFile &file)
{
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    return FlushFileBuffers(handle) ? QString() : systemReason(GetLastError());
}

#else

QString systemReason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString flushFile(QFile &file)
{
#ifdef __linux__
    // The size of a new file is flushed with its bytes; its other metadata is not needed.
    const int result = ::fdatasync(file.handle());
#else
    const int result = ::fsync(file.handle());
#endif
    return result == 0 ? QString() : systemReason(errno);
}

#endif

QString copyToDisk(const QString &existing, const QString &extra)
{
    QFile source(existing);
    if (!source.copy(extra))
        return source.errorString();
    QFile copy(extra);
    QString reason = copy.open(QIODevice::ReadWrite) ? flushFile(copy) : copy.errorString();
    copy.close();
    if (!reason.isEmpty())
        QFile::remove(extra);
    return reason;
}

} // namespace

NativePath::NativePath(const QString &path)
#ifdef _WIN32
    : m_path(QDir::toNativeSeparators(path).toStdWString())
#else
    : m_path(QFile::encodeName(path))
#endif
{}

bool flushTogether(std::span<QFile *const> files, qsizetype &failed, QString &reason)
{
    std::vector<QString> reasons(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        if (!files[i]->flush())
            reasons[i] = files[i]->errorString();
    }
    const auto flushOne = [&](size_t i) {
        if (reasons[i].isEmpty())
            reasons[i] = flushFile(*files[i]);
    };
    // One helper thread per file but the first, which this thread flushes. A helper that
    // cannot be started (no memory for its stack) leaves its file to this thread.
    std::vector<std::thread> helpers;
    std::vector<size_t> here{0};
    for (size_t i = 1; i < files.size(); ++i) {
        try {
            helpers.emplace_back(flushOne, i);
        } catch (const std::system_error &) {
            here.push_back(i);
        }
    }
    for (size_t i : here) {
        if (i < files.size())
            flushOne(i);
    }
    for (std::thread &helper : helpers)
        helper.join();
    for (size_t i = 0; i < files.size(); ++i) {
        if (!reasons[i].isEmpty()) {
            failed = qsizetype(i);
            reason = reasons[i];
            return false;
        }
    }
    return true;
}

bool moveOver(const NativePath &from, const NativePath &to, QString &reason)
{
#ifdef _WIN32
    // 20 tries 50 ms apart: a program that opens a file to read it lets go well within that.
    constexpr int tries = 20;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(from.native().c_str(), to.native().c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            break;
        const DWORD error = GetLastError();
        const bool held =
            error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
        if (!held || attempt == tries) {
            reason = systemReason(error);
            return false;
        }
        Sleep(50);
    }
#else
    if (std::rename(from.native().constData(), to.native().constData()) != 0) {
        reason = systemReason(errno);
        return false;
    }
#endif
    return true;
}

bool keepUnderSecondName(const QString &existing, const QString &extra, QString &reason)
{
#ifdef _WIN32
    const std::wstring link = QDir::toNativeSeparators(extra).toStdWString();
    const std::wstring file = QDir::toNativeSeparators(existing).toStdWString();
    if (CreateHardLinkW(link.c_str(), file.c_str(), nullptr))
        return true;
    const QString linkReason = systemReason(GetLastError());
#else
    if (::link(QFile::encodeName(existing).constData(), QFile::encodeName(extra).constData()) == 0)
        return true;
    const QString linkReason = systemReason(errno);
#endif
    // No links on this file system, or none allowed to this file: a copy keeps the bytes as
    // well. Where the copy fails too, the link's words tell more.
    if (copyToDisk(existing, extra).isEmpty())
        return true;
    reason = linkReason;
    return false;
}

FolderFlush folderFlushOutcome(int error)
{
    switch (error) {
    case 0:
        return FolderFlush::Done;
    // A file system that has no flush for folders says so in one of these.
    case EINVAL:
    case ENOTSUP:
#if defined(EOPNOTSUPP) && EOPNOTSUPP != ENOTSUP
    case EOPNOTSUPP:
#endif
    case ENOSYS:
    case EBADF:
    case EISDIR:
        return FolderFlush::NotPossibleHere;
    default:
        return FolderFlush::Failed;
    }
}

FolderFlush flushFolder(const QString &folder, QString &reason)
{
#ifdef _WIN32
    // NTFS keeps names in its journal, and the moves were made with MOVEFILE_WRITE_THROUGH.
    (void)folder;
    (void)reason;
    return FolderFlush::NotPossibleHere;
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        // A folder that cannot even be opened for reading (no read permission) cannot be
        // flushed from here; the file system still writes its names.
        const int error = errno;
        if (error == EACCES || error == EPERM)
            return FolderFlush::NotPossibleHere;
        reason = systemReason(error);
        return folderFlushOutcome(error);
    }
    const int result = ::fsync(fd);
    const int error = result == 0 ? 0 : errno;
    ::close(fd);
    const FolderFlush outcome = folderFlushOutcome(error);
    if (outcome == FolderFlush::Failed)
        reason = systemReason(error);
    return outcome;
#endif
}

} // namespace zq::platform
