#include "files/safe_file.h"

#include <QFile>
#include <QSaveFile>

namespace zq {

FileWriteResult replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Write straight through only if the folder forbids temporary files; never here.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    // QSaveFile::commit() ignores a failed flush of its own buffer (a short write on a full
    // disk), and would then move the cut-off file into place: flush and check first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        QString reason = file.errorString();
        file.cancelWriting();
        return {false, reason};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

bool readWholeFile(const QString &path, QByteArray &bytes, QString &reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace zq
