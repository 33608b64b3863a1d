#pragma once

#include "files/safe_file.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace zq {

// Replaces several files together: all of them, or none. Each file's new bytes go to a
// temporary file beside it first; only once every one is written and on the disk do they
// replace the old files, one right after the other in the order they were added, and the
// folder is flushed once. Should the system refuse one of those moves, the files already
// replaced are put back from second names of the old files, made just before.
//
// A set of two files or more in one folder also writes a journal beside the first file just
// before the first old file is replaced (see save_journal.h), and removes it once the folder
// is flushed: a save killed while it replaces files is then finished at the next open
// (interrupted_save.h). The journal's arrival on the disk is the point from which the new
// files stand.
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
    // old file is as it was and the result names the file that failed; should an old file
    // fail to go back, its bytes are set aside (setAside) and the reason names where. A
    // folder that cannot be flushed after the files were replaced fails the commit too
    // (`failed` is then -1): the files are new but may not be on the disk.
    Result commit();

    const QString &path(qsizetype index) const { return m_files[size_t(index)].target; }

    // Puts the old bytes held under `secondName` where no save removes them ("<name of
    // target>.zqkept-NNNNNN", beside it) and returns that path; when even that fails, the
    // second name stays and is returned.
    static QString setAside(const QString &secondName, const QString &target);

private:
    struct File {
        QString target;
        std::unique_ptr<QFile> temporary; // open until the flush
        bool moved = false;               // the temporary file now stands as the target
        QString secondName;               // the old file's, while it has one
        qint64 size = 0;
        std::uint32_t checksum = 0;
    };

    bool wantsJournal() const;
    bool writeJournal(std::unique_ptr<QFile> &journal, Result &result);
    void removeJournal();
    bool keepOldFiles(Result &result);
    void putBack(size_t count, QString &reason);
    void removeSecondNames();
    bool flushFolders(QString &reason) const;

    std::vector<File> m_files;
    QString m_journal; // its path while it is there
};

} // namespace zq
