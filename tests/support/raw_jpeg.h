#pragma once

// Plain libjpeg, as its documentation shows it: the reference the codec's output is compared
// with in the tests and the baseline the benchmarks time it against.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace zqtest {

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // interleaved, top-down, no padding
};

// Full-size decode to RGB with libjpeg's defaults.
RgbPicture rawDecode(const unsigned char *jpeg, size_t size);
inline RgbPicture rawDecode(const QByteArray &jpeg)
{
    return rawDecode(reinterpret_cast<const unsigned char *>(jpeg.constData()), size_t(jpeg.size()));
}

// Quality 90 with baseline tables on libjpeg's defaults; simple progression when asked.
// `rgb` holds width x height pixels laid out as in RgbPicture.
QByteArray rawEncode(const uint8_t *rgb, int width, int height, bool progressive);
inline QByteArray rawEncode(const RgbPicture &picture, bool progressive)
{
    return rawEncode(picture.rgb.data(), picture.width, picture.height, progressive);
}
// The same encode written straight to an open file.
void rawEncodeToFile(const uint8_t *rgb, int width, int height, bool progressive, std::FILE *file);

} // namespace zqtest
