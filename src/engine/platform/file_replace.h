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
// flushes the folder once its moves are done. On Windows a move that another program's brief
// hold on either file refuses (an antivirus, an indexer, the café client reading a picture) is
// tried again for about a second before it fails.
bool moveOver(const NativePath &from, const NativePath &to, QString &reason);

// Gives the file at `existing` another name, `extra`, in the same folder: a hard link, or,
// where the file system has none, a copy forced to the disk. Either keeps the file's bytes
// when `existing` is replaced. `extra` must not exist.
bool keepUnderSecondName(const QString &existing, const QString &extra, QString &reason);

// What flushing a folder came to.
enum class FolderFlush {
    Done,
    NotPossibleHere, // the file system cannot flush a folder (its names reach the disk its own way)
    Failed,          // the system tried and failed: the names may not be on the disk
};

// How a system error number from flushing a folder is taken: the few that mean "folders
// cannot be flushed on this file system" against those that mean the flush failed.
FolderFlush folderFlushOutcome(int error);

// Forces the names that moves and removals changed in `folder` to the disk. On failure
// `reason` holds the system's words.
FolderFlush flushFolder(const QString &folder, QString &reason);

} // namespace zq::platform
