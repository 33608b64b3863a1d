// The reduced copies of a 3840x2160 background, halved down to 1/8 as the designer first
// shows the skin below 100 %, against decoding that background: the copies should cost at
// most half of the decode, so zooming out never waits longer than opening the skin did.

#include "bench_pictures.h"
#include "bench_skin.h"
#include "bench_timing.h"

#include "picture/jpeg_codec.h"
#include "picture/reduced_copies.h"
#include "support/raw_jpeg.h"

#include <benchmark/benchmark.h>

#include <QImage>

namespace {

void ReducedCopiesAgainstDecode(benchmark::State &state)
{
    const QByteArray file = zqtest::rawEncode(bench::syntheticRgb(bench::skinWidth, bench::skinHeight).data(),
                                              bench::skinWidth, bench::skinHeight, false);
    zq::JpegCodec codec;
    codec.loadData(file);
    const zq::Bitmap background = codec.decode();
    // The designer shows the decoded rows as they are, 24-bit BGR.
    const QImage shown(background.row(0), background.width(), background.height(), background.stride(),
                       QImage::Format_BGR888);
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        baseline += bench::seconds([&] {
            zq::JpegCodec decoder;
            decoder.loadData(file);
            benchmark::DoNotOptimize(decoder.decode().row(0));
        });
        ours += bench::seconds([&] {
            zq::ReducedCopies copies(shown);
            benchmark::DoNotOptimize(copies.forZoom(0.125).constBits());
        });
    }
    bench::report(state, ours, baseline);
}
BENCHMARK(ReducedCopiesAgainstDecode)->Unit(benchmark::kMillisecond)->Iterations(8);

} // namespace
