// A 3840x2160 background: decoding and encoding through the codec, against libjpeg doing
// the same work on a plain buffer.

#include "bench_pictures.h"
#include "bench_timing.h"

#include "picture/jpeg_codec.h"
#include "support/raw_jpeg.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int width = 3840;
constexpr int height = 2160;

void JpegDecode(benchmark::State &state)
{
    const bool progressive = state.range(0) != 0;
    const QByteArray file =
        zqtest::rawEncode(bench::syntheticRgb(width, height).data(), width, height, progressive);
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        baseline += bench::seconds([&] { benchmark::DoNotOptimize(zqtest::rawDecode(file).rgb.data()); });
        ours += bench::seconds([&] {
            zq::JpegCodec codec;
            codec.loadData(file);
            benchmark::DoNotOptimize(codec.decode().row(0));
        });
    }
    bench::report(state, ours, baseline);
}
BENCHMARK(JpegDecode)->ArgName("progressive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(8);

void JpegEncode(benchmark::State &state)
{
    const bool progressive = state.range(0) != 0;
    const std::vector<uint8_t> rgb = bench::syntheticRgb(width, height);
    zq::JpegCodec codec;
    codec.loadData(zqtest::rawEncode(rgb.data(), 64, 64, progressive));
    const zq::Bitmap picture = [&] {
        zq::JpegCodec full;
        full.loadData(zqtest::rawEncode(rgb.data(), width, height, false));
        return full.decode();
    }();
    const std::vector<uint8_t> pixels = bench::rgbOf(picture);
    double ours = 0;
    double baseline = 0;
    QByteArray a;
    QByteArray b;
    for (auto _ : state) {
        baseline += bench::seconds([&] { a = zqtest::rawEncode(pixels.data(), width, height, progressive); });
        ours += bench::seconds([&] { b = codec.encode(picture); });
    }
    bench::report(state, ours, baseline);
    state.counters["same_bytes"] = a == b ? 1 : 0;
}
BENCHMARK(JpegEncode)->ArgName("progressive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
