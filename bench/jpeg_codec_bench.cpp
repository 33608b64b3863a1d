// A 3840x2160 background: decoding and encoding through the codec, against libjpeg doing
// the same work on a plain buffer.

#include "bench_pictures.h"

#include "platform/jpeg_codec.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace {

constexpr int width = 3840;
constexpr int height = 2160;

std::vector<uint8_t> libjpegDecode(const QByteArray &data)
{
    jpeg_decompress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()),
                 (unsigned long)data.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const size_t stride = size_t(info.output_width) * 3;
    std::vector<uint8_t> out(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}

void report(benchmark::State &state, double ours, double baseline)
{
    const double n = double(state.iterations());
    state.counters["ours_ms"] = 1000 * ours / n;
    state.counters["baseline_ms"] = 1000 * baseline / n;
    state.counters["ratio"] = ours / baseline;
}

void JpegDecode(benchmark::State &state)
{
    const bool progressive = state.range(0) != 0;
    const QByteArray file =
        bench::encodeJpegRgb(bench::syntheticRgb(width, height), width, height, progressive);
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        baseline += bench::seconds([&] { benchmark::DoNotOptimize(libjpegDecode(file).data()); });
        ours += bench::seconds([&] {
            zq::JpegCodec codec;
            codec.loadData(file);
            benchmark::DoNotOptimize(codec.decode().row(0));
        });
    }
    report(state, ours, baseline);
}
BENCHMARK(JpegDecode)->ArgName("progressive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(8);

void JpegEncode(benchmark::State &state)
{
    const bool progressive = state.range(0) != 0;
    const std::vector<uint8_t> rgb = bench::syntheticRgb(width, height);
    zq::JpegCodec codec;
    codec.loadData(bench::encodeJpegRgb(rgb, 64, 64, progressive));
    const zq::Bitmap picture = [&] {
        zq::JpegCodec full;
        full.loadData(bench::encodeJpegRgb(rgb, width, height, false));
        return full.decode();
    }();
    std::vector<uint8_t> pixels(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t *p = picture.row(y) + 3 * x;
            uint8_t *q = pixels.data() + (size_t(y) * width + x) * 3;
            q[0] = p[2];
            q[1] = p[1];
            q[2] = p[0];
        }
    double ours = 0;
    double baseline = 0;
    QByteArray a;
    QByteArray b;
    for (auto _ : state) {
        baseline += bench::seconds([&] { a = bench::encodeJpegRgb(pixels, width, height, progressive); });
        ours += bench::seconds([&] { b = codec.encode(picture); });
    }
    report(state, ours, baseline);
    state.counters["same_bytes"] = a == b ? 1 : 0;
}
BENCHMARK(JpegEncode)->ArgName("progressive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
