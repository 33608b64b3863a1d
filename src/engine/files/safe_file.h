#pragma once

#include <QByteArray>
#include <QString>

namespace zq {

// Replaces a file's contents without ever leaving it half-written: the bytes go to a
// temporary file in the same folder, are flushed to disk and then moved over the old
// file, which keeps its permissions. On failure the old file is untouched, the
// temporary file is gone and the result carries the system's reason. Temporary files
// that a killed save of the same file left behind are removed first.
struct FileWriteResult {
    bool ok = false;
    QString reason;
};

FileWriteResult replaceFile(const QString &path, const QByteArray &bytes);

// How much of a file the engine reads at most: a picture of the largest size it opens
// still fits. Layout files have a budget of their own.
inline constexpr qint64 maxPictureFileBytes = qint64(512) << 20;

// Why a path that exists is not read at all: it is a folder, a pipe or a device rather
// than a file (reading a pipe could wait forever), or it is larger than maxBytes. Empty
// when the path is missing or an ordinary file within the budget.
QString refusalReason(const QString &path, qint64 maxBytes);

// Reads a whole file of at most maxBytes; on failure returns false and sets reason.
bool readWholeFile(const QString &path, QByteArray &bytes, QString &reason,
                   qint64 maxBytes = maxPictureFileBytes);

} // namespace zq
