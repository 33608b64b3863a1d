#pragma once

#include "files/safe_file.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>
#include <vector>

namespace zq {

// Replaces several files together: all of them, or none. Each file's new bytes go to a
// temporary file beside it first; only once every one is written and on the disk do they
// replace the old files, one right after the other in the order they were added, and the
// folder is flushed once. Should the system refuse one of those moves, the files already
// replaced are put back from second names of the old files, made just before.
//
// Temporary files and second names share the prefix "<file name>.zqsave-", so a later save
// of the same file removes those that a killed one left behind.
class FileSetWriter {
public:
    FileSetWriter() = default;
    // Removes every temporary file and second name still there: a set that was not
    // committed replaces nothing.
    ~FileSetWriter();
    FileSetWriter(const FileSetWriter &) = delete;
    FileSetWriter &operator=(const FileSetWriter &) = delete;

    // Writes the bytes that are to replace `path` to a temporary file beside it, with the
    // old file's permissions. On failure nothing of this file is left and the result holds
    // the system's reason.
    FileWriteResult add(const QString &path, const QByteArray &bytes);

    struct Result {
        bool ok = true;
        qsizetype failed = -1; // the index of the file that failed, in the order added
        QString reason;
    };
    // Forces every temporary file to the disk, then replaces the old files. On failure every
    // old file is as it was and the result names the file that failed.
    Result commit();

    const QString &path(qsizetype index) const { return m_files[size_t(index)].target; }

private:
    struct File {
        QString target;
        std::unique_ptr<QFile> temporary; // open until the flush
        bool moved = false;               // the temporary file now stands as the target
        QString secondName;               // the old file's, while it has one
    };

    bool keepOldFiles(Result &result);
    void putBack(size_t count, QString &reason);
    void removeSecondNames();
    void flushFolders() const;

    std::vector<File> m_files;
};

} // namespace zq
