#include "new_verb.h"

#include "skin_template.h"

#include "files/engine_error.h"
#include "files/error_texts.h"
#include "files/safe_file.h"
#include "picture/jpeg_codec.h"
#include "skin/ini_mian.h"

#include <QDir>
#include <QFileInfo>

namespace zqskin {

namespace {

// The plain background of --size: a dark slate the template's pictures stand out on.
constexpr QRgb plainBackground = qRgb(28, 32, 40);

zq::Bitmap plainPicture(zq::PixelSize size)
{
    if (qint64(size.width) * size.height > zq::JpegCodec::maxPixels)
        throw zq::EngineError(
            QStringLiteral("A background of %1 x %2 is larger than a JPEG the skin can hold")
                .arg(size.width)
                .arg(size.height));
    zq::Bitmap picture(size.width, size.height, zq::BitmapFormat::rgb24(), zq::Bitmap::Fill::Zero);
    const std::uint32_t value = picture.encode(plainBackground);
    for (int y = 0; y < size.height; ++y)
        picture.fillRaw(y, 0, size.width, value);
    return picture;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    const zq::FileWriteResult result = zq::replaceFile(path, bytes);
    if (!result.ok)
        throw zq::EngineError(zq::errors::cannotCreateFile(path, result.reason));
}

void requireRoom(const QString &path, bool force)
{
    const QFileInfo info(path);
    if (!info.exists())
        return;
    if (!info.isDir())
        throw zq::EngineError(QStringLiteral("%1 is a file, not a folder").arg(path));
    const bool empty =
        QDir(path).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    if (!empty && !force)
        throw zq::EngineError(
            QStringLiteral("%1 is not empty; --force replaces its eight skin files and leaves the rest alone")
                .arg(path));
}

} // namespace

int runNew(const Invocation &invocation, QTextStream &)
{
    if (invocation.background && invocation.size)
        throw UsageError(QStringLiteral("--background and --size cannot go together"));
    const QString folder = invocation.skinPath;
    requireRoom(folder, invocation.force);

    // Everything is made before anything is written, so a refusal leaves no half skin.
    zq::JpegCodec codec; // baseline unless the chosen background was progressive
    zq::Bitmap background;
    if (invocation.background) {
        codec.loadFile(*invocation.background);
        background = codec.decode();
    } else {
        background = plainPicture(invocation.size.value_or(zq::PixelSize{1920, 1080}));
    }
    const zq::PixelSize size{background.width(), background.height()};
    const std::array<zq::Point, 6> positions = templatePositions(size);
    const QByteArray jpeg = codec.encode(background);

    if (!QDir().mkpath(folder))
        throw zq::EngineError(
            zq::errors::cannotCreateFile(folder, QStringLiteral("The folder cannot be made")));
    const QDir dir(folder);
    const QString layoutPath = dir.filePath(zq::layoutFileName.toString());
    // The template's layout brings the boxes and the keys in their order; the places follow.
    writeFile(layoutPath, templateFile(zq::layoutFileName));
    zq::TiniMian layout(layoutPath, size);
    for (zq::Element e : zq::allElements)
        layout.position(e) = positions[size_t(e)];
    layout.WriteLayout();
    for (zq::Element e : zq::allElements)
        writeFile(dir.filePath(zq::elementPictureFileName(e).toString()),
                  templateFile(zq::elementPictureFileName(e)));
    zq::JpegCodec::writeEncoded(dir.filePath(zq::backgroundFileName.toString()), jpeg);
    return 0;
}

} // namespace zqskin
