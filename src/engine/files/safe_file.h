#pragma once

#include <QByteArray>
#include <QString>

namespace zq {

// Replaces a file's contents without ever leaving it half-written: the bytes go to a
// temporary file in the same folder, are flushed to disk and then moved over the old
// file, which keeps its permissions. On failure the old file is untouched, the
// temporary file is gone and the result carries the system's reason.
struct FileWriteResult {
    bool ok = false;
    QString reason;
};

FileWriteResult replaceFile(const QString &path, const QByteArray &bytes);

// Reads a whole file; on failure returns false and sets reason.
bool readWholeFile(const QString &path, QByteArray &bytes, QString &reason);

} // namespace zq
