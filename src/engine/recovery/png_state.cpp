#include "recovery/png_state.h"

#include <QDataStream>
#include <QIODevice>

namespace zq {

namespace {

constexpr quint32 kMagic = 0x7a71706e; // "zqpn"
// Larger than any picture the engine decodes.
constexpr qint64 kMaxPixels = qint64(1) << 28;

} // namespace

QByteArray packPngPicture(const PngPicture &picture)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kMagic << qint32(picture.width) << qint32(picture.height) << qint32(picture.colourType)
        << qint32(picture.bitDepth) << qint32(picture.mode);
    out.writeRawData(reinterpret_cast<const char *>(picture.pixels.data()), qsizetype(picture.pixels.size()));
    return bytes;
}

std::optional<PngPicture> unpackPngPicture(const QByteArray &bytes)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    qint32 width = 0, height = 0, colourType = 0, bitDepth = 0, mode = 0;
    in >> magic >> width >> height >> colourType >> bitDepth >> mode;
    if (in.status() != QDataStream::Ok || magic != kMagic || width <= 0 || height <= 0 ||
        qint64(width) * height > kMaxPixels || mode < int(PngMode::Copy) || mode > int(PngMode::Blend))
        return std::nullopt;
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colourType = PngColourType(colourType);
    picture.bitDepth = bitDepth;
    picture.mode = PngMode(mode);
    const qsizetype size = qsizetype(width) * height * 4;
    const qsizetype header = qsizetype(in.device()->pos());
    if (bytes.size() - header != size)
        return std::nullopt;
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.constData() + header);
    picture.pixels.assign(data, data + size);
    return picture;
}

} // namespace zq
