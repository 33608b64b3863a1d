// A BMP that reads is written back, and the written file reads to the same pixels; resized as
// a flatten resizes it, it keeps the pixels both sizes share.
#include "fuzz_support.h"

#include "errors/engine_error.h"
#include "picture/bmp_reader.h"
#include "picture/bmp_writer.h"

#include <algorithm>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace zq;
    Bitmap first;
    try {
        first = readBmp(fuzz::bytesOf(data, size));
    } catch (const EngineError &) {
        return 0;
    }
    // A flatten gives the picture its PNG's size, whatever size the BMP had.
    {
        Bitmap resized = first;
        const int width = std::min(first.width(), 5) + 2, height = std::min(first.height(), 5) + 1;
        resized.resize(width, height);
        fuzz::check(resized.width() == width && resized.height() == height, "a resize misses its size");
        for (int y = 0; y < std::min(height, first.height()); ++y)
            for (int x = 0; x < std::min(width, first.width()); ++x)
                fuzz::check(resized.rawPixel(x, y) == first.rawPixel(x, y), "a resize loses a kept pixel");
    }
    QByteArray written;
    try {
        written = encodeBmp(first);
    } catch (const EngineError &) {
        // Refusing to write is allowed, for pictures no BMP file can hold.
        return 0;
    }
    Bitmap second;
    try {
        second = readBmp(written);
    } catch (const EngineError &) {
        fuzz::fail("a written BMP does not read back");
    }
    fuzz::check(second.width() == first.width() && second.height() == first.height(),
                "the written BMP reads back at another size");
    if (first.width() == 0 || first.height() == 0)
        return 0; // rows of nothing, however long the other side claims to be
    std::vector<QRgb> before(size_t(first.width()));
    std::vector<QRgb> after(size_t(first.width()));
    for (int y = 0; y < first.height(); ++y) {
        first.readRgbRow(y, 0, first.width(), before.data());
        second.readRgbRow(y, 0, second.width(), after.data());
        fuzz::check(before == after, "the written BMP reads back other pixels");
    }
    return 0;
}
