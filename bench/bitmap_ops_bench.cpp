// A 3840x2160 24-bit picture: stretching, rectangle copy and the BMP codec, against the plainest
// loops over a raw buffer doing the same work.

#include "bench_pictures.h"
#include "bench_timing.h"

#include "picture/bitmap_ops.h"
#include "picture/bmp_reader.h"
#include "picture/bmp_writer.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr int width = 3840;
constexpr int height = 2160;

zq::Bitmap pictureOf(int w, int h)
{
    const std::vector<uint8_t> rgb = bench::syntheticRgb(w, h);
    zq::Bitmap b(w, h, zq::BitmapFormat::rgb24());
    for (int y = 0; y < h; ++y) {
        const uint8_t *in = rgb.data() + size_t(y) * size_t(w) * 3;
        uint8_t *out = b.row(y);
        for (int x = 0; x < w; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return b;
}

// Nearest pixel for enlarging, AND of each 2x2 block for halving: scalar, byte by byte.
void plainStretch(const zq::Bitmap &source, std::vector<uint8_t> &out, int dw, int dh)
{
    const size_t stride = size_t(dw) * 3;
    const bool halving = dw < source.width();
    for (int y = 0; y < dh; ++y) {
        uint8_t *o = out.data() + size_t(y) * stride;
        for (int x = 0; x < dw; ++x) {
            for (int c = 0; c < 3; ++c) {
                if (halving) {
                    const uint8_t *a = source.row(2 * y) + 6 * x + c, *b = source.row(2 * y + 1) + 6 * x + c;
                    o[3 * x + c] = uint8_t(a[0] & a[3] & b[0] & b[3]);
                } else {
                    o[3 * x + c] = source.row(
                        int(int64_t(y) * source.height() / dh))[3 * (int64_t(x) * source.width() / dw) + c];
                }
            }
        }
    }
}

void Stretch(benchmark::State &state)
{
    const bool enlarge = state.range(0) != 0;
    const zq::Bitmap source = enlarge ? pictureOf(width / 2, height / 2) : pictureOf(width, height);
    const int dw = enlarge ? width : width / 2, dh = enlarge ? height : height / 2;
    zq::Bitmap target(dw, dh, zq::BitmapFormat::rgb24());
    std::vector<uint8_t> plain(size_t(dw) * size_t(dh) * 3);
    double ours = 0, baseline = 0;
    for (auto _ : state) {
        baseline += bench::seconds([&] { plainStretch(source, plain, dw, dh); });
        ours += bench::seconds([&] {
            zq::stretchRect(target, QRect(0, 0, dw, dh), source,
                            QRect(0, 0, source.width(), source.height()));
        });
        benchmark::DoNotOptimize(plain.data());
        benchmark::DoNotOptimize(target.row(0));
    }
    bench::report(state, ours, baseline);
}
BENCHMARK(Stretch)->Arg(1)->Arg(0)->ArgName("enlarge")->Unit(benchmark::kMillisecond);

// Rectangle copy, BMP encoding and BMP reading of the whole picture, each against one memcpy of
// its pixel bytes.
void WholePicture(benchmark::State &state)
{
    const zq::Bitmap picture = pictureOf(width, height);
    const QByteArray file = zq::encodeBmp(picture);
    zq::Bitmap target(width, height, zq::BitmapFormat::rgb24());
    std::vector<uint8_t> plain(picture.bits().size());
    double ours = 0, baseline = 0;
    for (auto _ : state) {
        baseline += bench::seconds([&] { std::memcpy(plain.data(), picture.bits().data(), plain.size()); });
        ours += bench::seconds([&] {
            switch (state.range(0)) {
            case 0:
                zq::copyRect(target, {0, 0}, picture, QRect(0, 0, width, height));
                break;
            case 1:
                benchmark::DoNotOptimize(zq::encodeBmp(picture).size());
                break;
            default:
                benchmark::DoNotOptimize(zq::readBmp(file).width());
            }
        });
        benchmark::DoNotOptimize(plain.data());
    }
    bench::report(state, ours, baseline);
}
BENCHMARK(WholePicture)->Arg(0)->Arg(1)->Arg(2)->ArgName("copy_encode_read")->Unit(benchmark::kMillisecond);

} // namespace
