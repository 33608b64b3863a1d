#pragma once

// What the skin tests read back apart from zqskin: the eight files' bytes and the BMP headers.

#include "engine/skin/skin_fixture.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cstdint>
#include <map>
#include <string>

namespace zqtest {

inline std::uint32_t littleEndian(const QByteArray &d, int at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(d[at + i]);
    return v;
}

// The info header's size and the bits per pixel, straight from a BMP file's bytes.
struct BmpHeaderFacts {
    int header = 0;
    int bits = 0;
};

inline BmpHeaderFacts bmpHeaderFacts(const QByteArray &bmp)
{
    if (bmp.size() < 30)
        return {};
    const int header = int(littleEndian(bmp, 14, 4));
    // The 12-byte core header has 16-bit sizes, so its bit count sits earlier.
    return {header, int(littleEndian(bmp, header == 12 ? 24 : 28, 2))};
}

inline QJsonObject jsonOf(const QByteArray &text)
{
    return QJsonDocument::fromJson(text).object();
}

// Changes one line of the skin's layout file.
inline void replaceIn(const SampleSkinCopy &skin, const char *from, const char *to)
{
    QByteArray layout = skin.bytes("ZqCSkin.ini");
    ASSERT_TRUE(layout.contains(from)) << from;
    writeBytes(skin.layout(), layout.replace(from, to));
}

} // namespace zqtest
