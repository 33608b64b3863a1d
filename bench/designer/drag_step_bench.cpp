// One step of a mouse drag in the designer: a page picture moved by one pixel with the
// selection outline and the readout following it, then everything that changed painted,
// over a 1920x1080 and over a 3840x2160 background on a 1920x1080 preview. The processor
// time of a step must not grow with the background: only what changed is painted.
// Runs on the offscreen platform unless another is asked for.

#include "bench_timing.h"
#include "drag_scene.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <ctime>
#include <memory>

namespace {

using Scene = bench::DragScene;

double processorSeconds(Scene &scene, int steps)
{
    const std::clock_t start = std::clock();
    for (int i = 0; i < steps; ++i)
        scene.step();
    return double(std::clock() - start) / CLOCKS_PER_SEC;
}

void BM_DragStepOver4kAgainst1080p(benchmark::State &state)
{
    Scene fullHd(QSize(1920, 1080));
    Scene fourK(QSize(3840, 2160));
    constexpr int kSteps = 20;
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        baseline += processorSeconds(fullHd, kSteps) / kSteps;
        ours += processorSeconds(fourK, kSteps) / kSteps;
    }
    bench::report(state, ours, baseline);
}
BENCHMARK(BM_DragStepOver4kAgainst1080p)->Iterations(30)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
