#include "skin/new_skin.h"

#include "errors/error_texts.h"
#include "files/file_set_writer.h"
#include "picture/jpeg_codec.h"
#include "skin/background_source.h"
#include "skin/ini_mian.h"
#include "skin/skin_template.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace zq {

namespace {

// The plain background: a dark slate the template's pictures stand out on.
constexpr QRgb plainBackground = qRgb(28, 32, 40);
constexpr PixelSize plainSize{1920, 1080};

Bitmap plainPicture(PixelSize size)
{
    if (size.width <= 0 || size.height <= 0)
        throw EngineError(
            QStringLiteral("A background of %1 x %2 has no pixels").arg(size.width).arg(size.height));
    if (qint64(size.width) * size.height > JpegCodec::maxPixels)
        throw EngineError(QStringLiteral("A background of %1 x %2 is larger than a JPEG the skin can hold")
                              .arg(size.width)
                              .arg(size.height));
    Bitmap picture(size.width, size.height, BitmapFormat::rgb24(), Bitmap::Fill::Zero);
    const std::uint32_t value = picture.encode(plainBackground);
    for (int y = 0; y < size.height; ++y)
        picture.fillRaw(y, 0, size.width, value);
    return picture;
}

// The template's layout with the pictures placed: read from a scratch copy, as the layout
// record reads only files.
QByteArray placedLayout(PixelSize size, const std::array<Point, 6> &positions)
{
    const QTemporaryDir scratch;
    const QString path = QDir(scratch.path()).filePath(layoutFileName.toString());
    QFile copy(path);
    if (!scratch.isValid() || !copy.open(QIODevice::WriteOnly) ||
        copy.write(templateFile(layoutFileName)) != templateFile(layoutFileName).size() || !copy.flush())
        throw EngineError(errors::cannotCreateFile(path, copy.errorString()));
    copy.close();
    TiniMian layout(path, size);
    for (Element e : allElements)
        layout.position(e) = positions[size_t(e)];
    return layout.layoutDocument().bytes();
}

void requireRoom(const QString &folder, bool force)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        throw EngineError(QStringLiteral("%1 is a file, not a folder").arg(folder));
    if (!force && folderHasFiles(folder))
        throw FolderInUse(folder);
}

} // namespace

FolderInUse::FolderInUse(const QString &folder)
    : EngineError(QStringLiteral("%1 is not empty: a new skin needs a folder of its own").arg(folder))
{}

bool folderHasFiles(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() &&
           !QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

QString makeNewSkin(const QString &folder, const NewSkinOptions &options)
{
    if (options.background && options.size)
        throw EngineError(QStringLiteral("A new skin takes a background picture or a size, not both"));
    requireRoom(folder, options.force);

    BackgroundSource background;
    if (options.background)
        background = readBackgroundSource(*options.background);
    else
        background.pixels = plainPicture(options.size.value_or(plainSize));
    const PixelSize size{background.pixels.width(), background.pixels.height()};
    const std::array<Point, 6> positions = templatePositions(size);
    const QByteArray jpeg = background.jpeg.encode(background.pixels);

    if (!QDir().mkpath(folder))
        throw EngineError(errors::cannotCreateFile(folder, QStringLiteral("The folder cannot be made")));
    const QDir dir(folder);
    const QString layoutPath = dir.filePath(layoutFileName.toString());
    // The eight files are saved as a skin is: all or none, in the order the client expects.
    // The template's layout brings the boxes and the keys in their order; the places follow.
    const QByteArray layout = placedLayout(size, positions);
    FileSetWriter files;
    const auto add = [&files](const QString &path, const QByteArray &bytes) {
        if (const FileWriteResult written = files.add(path, bytes); !written.ok)
            throw EngineError(errors::cannotCreateFile(path, written.reason));
    };
    add(layoutPath, layout);
    for (Element e : allElements)
        add(dir.filePath(elementPictureFileName(e).toString()), templateFile(elementPictureFileName(e)));
    add(dir.filePath(backgroundFileName.toString()), jpeg);
    if (const FileSetWriter::Result replaced = files.commit(); !replaced.ok)
        throw EngineError(replaced.failed < 0
                              ? replaced.reason
                              : errors::cannotCreateFile(files.path(replaced.failed), replaced.reason));
    return layoutPath;
}

} // namespace zq
