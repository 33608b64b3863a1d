#include "files/safe_file.h"

#include "files/file_set_writer.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace zq {

namespace {

QString megabytes(qint64 bytes)
{
    return QString::number(bytes >> 20);
}

} // namespace

FileWriteResult replaceFile(const QString &path, const QByteArray &bytes)
{
    FileSetWriter writer;
    if (FileWriteResult written = writer.add(path, bytes); !written.ok)
        return written;
    const FileSetWriter::Result replaced = writer.commit();
    return {replaced.ok, replaced.reason};
}

QString refusalReason(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    if (info.isDir())
        return QStringLiteral("It is a folder, not a file");
    if (!info.isFile())
        return QStringLiteral("It is not an ordinary file");
    if (info.size() > maxBytes)
        return QStringLiteral("It is larger than %1 MB, too large to open").arg(megabytes(maxBytes));
    return {};
}

bool readWholeFile(const QString &path, QByteArray &bytes, QString &reason, qint64 maxBytes)
{
    reason = refusalReason(path, maxBytes);
    if (!reason.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        reason = file.errorString();
        return false;
    }
    // The file may have grown since it was looked at: one byte more than it holds tells.
    bytes = file.read(std::min(file.size(), maxBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return false;
    }
    if (bytes.size() > maxBytes) {
        bytes.clear();
        reason = QStringLiteral("It is larger than %1 MB, too large to open").arg(megabytes(maxBytes));
        return false;
    }
    return true;
}

} // namespace zq
