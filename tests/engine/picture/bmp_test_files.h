#pragma once

// Builds BMP files field by field for the tests, independently of the writer under test.
#include <QByteArray>
#include <QRgb>

#include <cstdint>
#include <vector>

namespace bmptest {

struct BmpFields {
    int headerSize = 40;
    int32_t width = 1;
    int32_t height = 1;
    int planes = 1;
    int bitsPerPixel = 24;
    uint32_t compression = 0;
    int64_t coloursUsed = -1;    // -1: the table's length
    std::vector<uint32_t> masks; // after a 40-byte header, else inside the header
    std::vector<QRgb> palette;
    QByteArray pixels;       // exactly as stored in the file
    int64_t dataOffset = -1; // -1: right after the table
};

inline void put16(QByteArray &b, uint32_t v)
{
    b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
}

inline void put32(QByteArray &b, uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

inline QByteArray buildFile(const BmpFields &s)
{
    QByteArray header;
    put32(header, uint32_t(s.headerSize));
    if (s.headerSize == 12) {
        put16(header, uint32_t(s.width));
        put16(header, uint32_t(s.height));
        put16(header, uint32_t(s.planes));
        put16(header, uint32_t(s.bitsPerPixel));
    } else {
        put32(header, uint32_t(s.width));
        put32(header, uint32_t(s.height));
        put16(header, uint32_t(s.planes));
        put16(header, uint32_t(s.bitsPerPixel));
        put32(header, s.compression);
        put32(header, uint32_t(s.pixels.size()));
        put32(header, 2835);
        put32(header, 2835);
        put32(header, uint32_t(s.coloursUsed >= 0 ? s.coloursUsed : int64_t(s.palette.size())));
        put32(header, 0);
        for (size_t i = 0; s.headerSize > 40 && i < s.masks.size() && i < size_t(s.headerSize - 40) / 4; ++i)
            put32(header, s.masks[i]);
        header.append(QByteArray(s.headerSize - header.size(), '\0'));
    }
    if (s.headerSize == 40) {
        for (uint32_t m : s.masks)
            put32(header, m);
    }
    for (QRgb c : s.palette) {
        header.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c)));
        if (s.headerSize != 12)
            header.append('\0');
    }
    const int64_t offset = s.dataOffset >= 0 ? s.dataOffset : 14 + header.size();
    QByteArray file("BM");
    put32(file, uint32_t(offset + s.pixels.size()));
    put32(file, 0);
    put32(file, uint32_t(offset));
    file.append(header);
    if (offset > file.size())
        file.append(QByteArray(offset - file.size(), '\0'));
    file.append(s.pixels);
    return file;
}

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

} // namespace bmptest
