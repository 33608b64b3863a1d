// Flattening a 1024x768 RGBA PNG: decoding and blending, against libpng decoding the same
// file to 8-bit RGBA plus a plain scalar pass of the blend formula.

#include "bench_pictures.h"
#include "bench_timing.h"

#include "picture/bitmap.h"
#include "picture/png_flatten.h"
#include "picture/png_picture.h"

#include <benchmark/benchmark.h>

#include <png.h>

#include <cstring>

namespace {

constexpr int width = 1024;
constexpr int height = 768;

struct Source {
    const QByteArray *data;
    size_t offset;
};

void readFromMemory(png_structp png, png_bytep out, size_t length)
{
    auto *source = static_cast<Source *>(png_get_io_ptr(png));
    std::memcpy(out, source->data->constData() + source->offset, length);
    source->offset += length;
}

// The baseline decoder: libpng's own transforms down to 8-bit RGBA.
std::vector<uint8_t> libpngRgba(const QByteArray &data)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Source source{&data, 0};
    png_set_read_fn(png, &source, readFromMemory);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info);
    const png_uint_32 h = png_get_image_height(png, info);
    std::vector<uint8_t> out(size_t(w) * h * 4);
    std::vector<png_bytep> rows(h);
    for (png_uint_32 y = 0; y < h; ++y)
        rows[y] = out.data() + size_t(y) * w * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return out;
}

// The plain scalar pass of the blend formula, RGBA over BGR rows.
void scalarBlend(const std::vector<uint8_t> &rgba, zq::Bitmap &target)
{
    for (int y = 0; y < height; ++y) {
        const uint8_t *s = rgba.data() + size_t(y) * width * 4;
        uint8_t *d = target.row(y);
        for (int x = 0; x < width; ++x, s += 4, d += 3) {
            const int a = s[3];
            d[0] = uint8_t((s[2] * a + d[0] * (255 - a) + 255) / 256);
            d[1] = uint8_t((s[1] * a + d[1] * (255 - a) + 255) / 256);
            d[2] = uint8_t((s[0] * a + d[2] * (255 - a) + 255) / 256);
        }
    }
}

zq::Bitmap background()
{
    zq::Bitmap b(width, height, zq::BitmapFormat::rgb24());
    const std::vector<uint8_t> rgb = bench::syntheticRgb(width, height);
    for (int y = 0; y < height; ++y)
        std::memcpy(b.row(y), rgb.data() + size_t(y) * width * 3, size_t(width) * 3);
    return b;
}

void PngFlatten(benchmark::State &state)
{
    const QByteArray file = bench::encodePngRgba(bench::syntheticRgba(width, height), width, height);
    const zq::Bitmap under = background();
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        zq::Bitmap a = under;
        zq::Bitmap b = under;
        baseline += bench::seconds([&] { scalarBlend(libpngRgba(file), a); });
        ours +=
            bench::seconds([&] { zq::flattenPng(zq::decodePngData(file, QStringLiteral("bench.png")), b); });
        benchmark::DoNotOptimize(a.row(0));
        benchmark::DoNotOptimize(b.row(0));
    }
    bench::report(state, ours, baseline);
}
BENCHMARK(PngFlatten)->Unit(benchmark::kMillisecond)->Iterations(30);

// A later re-composite only blends: the blend alone against the scalar pass.
void PngBlendOnly(benchmark::State &state)
{
    const QByteArray file = bench::encodePngRgba(bench::syntheticRgba(width, height), width, height);
    const zq::PngPicture picture = zq::decodePngData(file, QStringLiteral("bench.png"));
    const std::vector<uint8_t> rgba = libpngRgba(file);
    const zq::Bitmap under = background();
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        zq::Bitmap a = under;
        zq::Bitmap b = under;
        baseline += bench::seconds([&] { scalarBlend(rgba, a); });
        ours += bench::seconds([&] { zq::flattenPng(picture, b); });
        benchmark::DoNotOptimize(a.row(0));
        benchmark::DoNotOptimize(b.row(0));
    }
    bench::report(state, ours, baseline);
}
BENCHMARK(PngBlendOnly)->Unit(benchmark::kMillisecond)->Iterations(100);

} // namespace
