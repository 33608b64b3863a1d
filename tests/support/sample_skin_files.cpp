#include "support/sample_skin_files.h"

#include <QDir>
#include <QFile>

namespace zqtest {

QString sampleSkinFolder()
{
    return QStringLiteral(ZQ_SOURCE_DIR "/examples/sample-skin");
}

bool copySampleSkin(const QString &folder)
{
    if (folder.isEmpty()) // a temporary folder that could not be made
        return false;
    const QDir source(sampleSkinFolder());
    const QDir target(folder);
    bool copied = true;
    for (const char *name : sampleFiles) {
        const QString file = QString::fromLatin1(name);
        copied = QFile::copy(source.filePath(file), target.filePath(file)) && copied;
    }
    return copied;
}

} // namespace zqtest
