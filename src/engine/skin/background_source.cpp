#include "skin/background_source.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"
#include "files/safe_file.h"
#include "picture/bmp_reader.h"
#include "picture/picture_too_large.h"
#include "picture/png_flatten.h"
#include "picture/png_picture.h"

namespace zq {

namespace {

bool startsWith(const QByteArray &bytes, QByteArrayView signature)
{
    return bytes.startsWith(signature);
}

Bitmap whiteUnder(const PngPicture &png)
{
    Bitmap picture(png.width, png.height, BitmapFormat::rgb24()); // white
    flattenPng(png, picture);
    return picture;
}

} // namespace

BackgroundSource readBackgroundSource(const QString &path, bool lowColourDisplay)
{
    QByteArray bytes;
    QString reason;
    if (!readWholeFile(path, bytes, reason))
        throw EngineError(errors::cannotOpenFile(path, reason));
    BackgroundSource source;
    try {
        if (startsWith(bytes, "\x89PNG\r\n\x1a\n")) {
            source.pixels = whiteUnder(decodePngData(bytes, path));
        } else if (startsWith(bytes, "BM")) {
            source.pixels = readBmp(bytes);
        } else {
            source.jpeg.loadData(bytes);
            source.pixels = source.jpeg.decode(lowColourDisplay);
        }
    } catch (const PictureTooLarge &tooLarge) {
        throw tooLarge.namedFor(path);
    }
    return source;
}

} // namespace zq
