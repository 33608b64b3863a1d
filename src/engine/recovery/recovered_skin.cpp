#include "recovery/recovered_skin.h"

#include "errors/engine_error.h"
#include "files/safe_file.h"
#include "picture/bmp_reader.h"
#include "recovery/png_state.h"
#include "skin/ini_mian.h"
#include "skin/skin_document.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <vector>

namespace zq {

namespace {

// Layout, six pictures, background.
constexpr size_t kFileCount = 8;

QByteArray checkedBytes(const QDir &folder, const RecoveryEntry::File &file)
{
    QByteArray bytes;
    QString reason;
    if (file.name.isEmpty() || file.name.contains(u'/') || file.name.contains(u'\\') ||
        !readWholeFile(folder.filePath(file.name), bytes, reason) || bytes.size() != file.size ||
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() != file.sha256)
        throw EngineError(QStringLiteral("恢复副本不完整：%1").arg(file.name));
    return bytes;
}

} // namespace

RecoveredSkin RecoveredSkin::read(const RecoveryEntry &entry, const SkinDocument &document)
{
    if (entry.files.size() < kFileCount)
        throw EngineError(QStringLiteral("恢复副本不完整"));
    const QDir folder(entry.filesFolder);
    std::vector<QByteArray> bytes;
    for (const RecoveryEntry::File &file : entry.files)
        bytes.push_back(checkedBytes(folder, file));

    RecoveredSkin recovered;
    const Bitmap &background = document.background()->BgBitmap();
    const PixelSize size{background.width(), background.height()};
    JpegCodec jpeg;
    jpeg.loadData(bytes[kFileCount - 1]);
    if (jpeg.width() != size.width || jpeg.height() != size.height)
        throw EngineError(QStringLiteral("背景图片的大小已变（%1×%2，恢复副本为 %3×%4）")
                              .arg(size.width)
                              .arg(size.height)
                              .arg(jpeg.width())
                              .arg(jpeg.height()));
    // A background left as the skin's file has it stays as opened, pixel for pixel: its
    // save writes the copy's bytes all the same. Another is decoded from the copy, as the
    // open background was, into its own pixel format, and saved as those very bytes.
    const TBGImage::Picture opened = document.background()->picture();
    const QByteArray openedBytes =
        opened.encoded.isEmpty() ? opened.jpeg.encode(opened.pixels) : opened.encoded;
    recovered.backgroundChanged = openedBytes != bytes[kFileCount - 1];
    if (recovered.backgroundChanged) {
        recovered.background.pixels = jpeg.decode(background.format().hasPalette());
        recovered.background.encoded = jpeg.data();
        recovered.background.jpeg = std::move(jpeg);
    }

    for (Element e : allElements) {
        Bitmap picture = readBmp(bytes[1 + size_t(e)]);
        if (!document.hasElement(e) || !(picture.format() == document.element(e).Bitmap().format()))
            throw EngineError(QStringLiteral("%1 的图片格式已变").arg(elementName(e)));
        recovered.pictures[size_t(e)] = std::move(picture);
    }

    for (size_t i = kFileCount; i < entry.files.size(); ++i) {
        for (Element e : allElements) {
            const QString name =
                SkinSnapshot::replacementName(QFileInfo(document.element(e).BmpPath()).fileName());
            if (entry.files[i].name != name)
                continue;
            recovered.replacements[size_t(e)] = unpackPngPicture(bytes[i]);
            if (!recovered.replacements[size_t(e)])
                throw EngineError(QStringLiteral("恢复副本不完整：%1").arg(name));
        }
    }

    // The layout is read as an open reads it, against the background's size.
    const TiniMian layout(folder.filePath(entry.files.front().name), size);
    for (Element e : allElements)
        recovered.positions[size_t(e)] = layout.position(e);
    for (size_t i = 0; i < boxTable.size(); ++i)
        recovered.boxes[i] = layout.box(boxTable[i].section, boxTable[i].keyNumber);
    return recovered;
}

void RecoveredSkin::applyTo(SkinDocument &document) const
{
    for (Element e : allElements) {
        ElementPicture &element = document.element(e);
        element.restore(replacements[size_t(e)], pictures[size_t(e)], positions[size_t(e)].x,
                        positions[size_t(e)].y);
    }
    for (size_t i = 0; i < boxTable.size(); ++i)
        document.layout()->box(boxTable[i].section, boxTable[i].keyNumber) = boxes[i];
    if (backgroundChanged)
        document.background()->RestorePicture(background);
}

} // namespace zq
