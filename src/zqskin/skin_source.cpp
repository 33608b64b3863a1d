#include "skin_source.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"
#include "files/safe_file.h"
#include "skin/asset_names.h"

#include <QDir>
#include <QFileInfo>

namespace zqskin {

QString layoutPathOf(const QString &skinPath)
{
    if (QFileInfo(skinPath).isDir())
        return QDir(skinPath).filePath(zq::layoutFileName.toString());
    return skinPath;
}

void finishInterruptedSaves(const QStringList &skinPaths, QTextStream &err)
{
    for (const QString &skinPath : skinPaths) {
        if (!QFileInfo::exists(skinPath))
            continue;
        const QString note = zq::SkinDocument::finishInterruptedSave(layoutPathOf(skinPath));
        if (!note.isEmpty())
            err << note << '\n';
    }
    err.flush();
}

void requireLayoutFile(const QString &layoutPath)
{
    QByteArray bytes;
    QString reason;
    if (!zq::readWholeFile(layoutPath, bytes, reason, zq::ProfileFile::maxFileBytes))
        throw zq::EngineError(zq::errors::cannotOpenFile(layoutPath, reason));
}

QString oldLayoutError(const QString &layoutPath)
{
    return layoutPath + QStringLiteral(": ") + zq::oldLayoutMessage();
}

zq::TiniMian openLayout(const QString &layoutPath, zq::PixelSize size)
{
    requireLayoutFile(layoutPath);
    return zq::TiniMian(layoutPath, size);
}

zq::SkinDocument openSkin(const QString &skinPath, zq::BackgroundEncoding encoding)
{
    const QString layoutPath = layoutPathOf(skinPath);
    requireLayoutFile(layoutPath);
    zq::SkinDocument document(layoutPath);
    if (!document.open(false, encoding))
        throw zq::EngineError(oldLayoutError(layoutPath));
    return document;
}

} // namespace zqskin
