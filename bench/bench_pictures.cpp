#include "bench_pictures.h"

#include <png.h>

namespace bench {

namespace {

// A cheap deterministic texture.
uint8_t noise(uint32_t x, uint32_t y)
{
    uint32_t h = x * 374761393u + y * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return uint8_t((h >> 24) & 0x1F);
}

} // namespace

std::vector<uint8_t> syntheticRgb(int width, int height)
{
    std::vector<uint8_t> out(size_t(width) * size_t(height) * 3);
    uint8_t *p = out.data();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, p += 3) {
            p[0] = uint8_t((x * 200 / width) + noise(uint32_t(x), uint32_t(y)));
            p[1] = uint8_t((y * 200 / height) + noise(uint32_t(y), uint32_t(x)));
            p[2] = uint8_t(((x + y) * 100 / (width + height)) + 2 * noise(uint32_t(x + 7), uint32_t(y)));
        }
    return out;
}

std::vector<uint8_t> syntheticRgba(int width, int height)
{
    const std::vector<uint8_t> rgb = syntheticRgb(width, height);
    std::vector<uint8_t> out(size_t(width) * size_t(height) * 4);
    for (size_t i = 0, n = size_t(width) * size_t(height); i < n; ++i) {
        out[4 * i] = rgb[3 * i];
        out[4 * i + 1] = rgb[3 * i + 1];
        out[4 * i + 2] = rgb[3 * i + 2];
        const size_t x = i % size_t(width);
        // Opaque, clear and part-transparent bands, as a skin's button picture has them.
        out[4 * i + 3] = x < size_t(width) / 3       ? 255
                         : x < size_t(width) * 2 / 3 ? uint8_t(x * 255 / width)
                                                     : 0;
    }
    return out;
}

std::vector<uint8_t> rgbOf(const zq::Bitmap &picture)
{
    const int width = picture.width();
    std::vector<uint8_t> rgb(size_t(width) * size_t(picture.height()) * 3);
    for (int y = 0; y < picture.height(); ++y) {
        const uint8_t *in = picture.row(y);
        uint8_t *out = rgb.data() + size_t(y) * size_t(width) * 3;
        for (int x = 0; x < width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return rgb;
}

QByteArray encodePngRgba(const std::vector<uint8_t> &rgba, int width, int height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    QByteArray out(qsizetype(size), '\0');
    png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr);
    out.resize(qsizetype(size));
    return out;
}

} // namespace bench
