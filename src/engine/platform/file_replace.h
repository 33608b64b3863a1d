#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <span>
#include <string>

// The system calls that replacing files in one step needs: flushing, moving a file over
// another, a second name for a file, flushing a folder.
namespace zq::platform {

// A path as the system's file calls take it, made ahead of a run of calls that should
// follow one another closely.
class NativePath {
public:
    explicit NativePath(const QString &path);
#ifdef _WIN32
    const std::wstring &native() const
    {
        return m_path;
    }

private:
    std::wstring m_path;
#else
    const QByteArray &native() const
    {
        return m_path;
    }

private:
    QByteArray m_path;
#endif
};

// Forces what was written to each file to the disk. The flushes run side by side, so a set
// of files costs about one flush of the device, not one per file. The files must be open
// for writing. On failure `failed` is the index of a file that did not reach the disk and
// `reason` holds the system's words.
bool flushTogether(std::span<QFile *const> files, qsizetype &failed, QString &reason);

// Moves the file `from` over `to` in one step, replacing it. Nothing is flushed: the caller
// flushes the folder once its moves are done.
bool moveOver(const NativePath &from, const NativePath &to, QString &reason);

// Gives the file at `existing` another name, `extra`, in the same folder: a hard link, or,
// where the file system has none, a copy forced to the disk. Either keeps the file's bytes
// when `existing` is replaced. `extra` must not exist.
bool keepUnderSecondName(const QString &existing, const QString &extra, QString &reason);

// Forces the names that moves and removals changed in `folder` to the disk. Best effort:
// some file systems cannot flush a folder.
void flushFolder(const QString &folder);

} // namespace zq::platform
