#include "files/safe_file.h"

#include "platform/file_replace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

namespace zq {

namespace {

// The temporary files of one target share this prefix, so a later save finds those that
// a killed one left behind.
QString temporaryPrefix(const QFileInfo &target)
{
    return target.fileName() + QStringLiteral(".zqsave-");
}

void removeStaleTemporaries(const QFileInfo &target)
{
    const QString prefix = temporaryPrefix(target);
    const QDir folder = target.absoluteDir();
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names)
        if (name.startsWith(prefix))
            QFile::remove(folder.filePath(name));
}

bool openTemporary(const QFileInfo &target, QFile &file)
{
    const QString base = target.absoluteDir().filePath(temporaryPrefix(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        file.setFileName(
            base + QString::number(QRandomGenerator::global()->generate() % 1000000).rightJustified(6, u'0'));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        if (file.exists())
            continue;
        return false;
    }
    return false;
}

// A short write sets no error of its own (the reason reads "Unknown error"); writing the
// rest makes the system say why, for example that the disk is full.
bool writeAll(QFile &file, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return file.flush();
}

QString megabytes(qint64 bytes)
{
    return QString::number(bytes >> 20);
}

} // namespace

FileWriteResult replaceFile(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    removeStaleTemporaries(target);
    QFile file;
    if (!openTemporary(target, file))
        return {false, file.errorString()};
    const auto fail = [&file](const QString &reason) {
        file.close();
        file.remove();
        return FileWriteResult{false, reason};
    };
    if (!writeAll(file, bytes))
        return fail(file.errorString());
    if (target.exists() && !file.setPermissions(target.permissions()))
        return fail(file.errorString());
    QString reason;
    if (!platform::replaceWithTemporary(file, path, reason))
        return fail(reason);
    return {true, {}};
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
