#pragma once

// Small PNG files built chunk by chunk, so a test decides every byte the decoder sees.

#include <QByteArray>
#include <QtEndian>

#include <cstdint>
#include <vector>

#include <zlib.h>

namespace pngtest {

enum ColourType { Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, RgbAlpha = 6 };

inline QByteArray be32(uint32_t v)
{
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}

inline QByteArray chunk(const char *type, const QByteArray &data)
{
    QByteArray body = QByteArray(type, 4) + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()));
    return be32(uint32_t(data.size())) + body + be32(uint32_t(crc));
}

struct Parts {
    Parts(int w, int h, int depth, ColourType type, std::vector<QByteArray> r = {}, QByteArray plte = {})
        : width(w)
        , height(h)
        , bitDepth(depth)
        , colourType(type)
        , rows(std::move(r))
        , palette(std::move(plte))
    {}
    int width = 1;
    int height = 1;
    int bitDepth = 8;
    ColourType colourType = Rgb;
    std::vector<QByteArray> rows; // packed samples of each row, without the filter byte
    QByteArray palette;           // PLTE body
    QByteArray transparency;      // tRNS body
    uint32_t gamma = 0;           // gAMA body, when non-zero
};

inline QByteArray build(const Parts &parts)
{
    QByteArray header = be32(uint32_t(parts.width)) + be32(uint32_t(parts.height));
    header += char(parts.bitDepth);
    header += char(parts.colourType);
    header += QByteArray(3, '\0'); // deflate, adaptive filtering, not interlaced

    QByteArray raw;
    for (const QByteArray &row : parts.rows)
        raw += '\0' + row;
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray packed(qsizetype(size), '\0');
    compress(reinterpret_cast<Bytef *>(packed.data()), &size,
             reinterpret_cast<const Bytef *>(raw.constData()), uLong(raw.size()));
    packed.resize(qsizetype(size));

    QByteArray file("\x89PNG\r\n\x1a\n", 8);
    file += chunk("IHDR", header);
    if (parts.gamma)
        file += chunk("gAMA", be32(parts.gamma));
    if (!parts.palette.isEmpty())
        file += chunk("PLTE", parts.palette);
    if (!parts.transparency.isEmpty())
        file += chunk("tRNS", parts.transparency);
    file += chunk("IDAT", packed);
    file += chunk("IEND", {});
    return file;
}

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b += char(v);
    return b;
}

} // namespace pngtest
