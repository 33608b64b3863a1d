#pragma once

// Plain libjpeg, as its documentation shows it: the reference the saved backgrounds are
// compared with.

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace zqtest {

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // interleaved, top-down, no padding
};

// Full-size decode to RGB with libjpeg's defaults.
RgbPicture rawDecode(const QByteArray &jpeg);
// Quality 90 with baseline tables on libjpeg's defaults; simple progression when asked.
QByteArray rawEncode(const RgbPicture &picture, bool progressive);

} // namespace zqtest
