// The designer's preview at a zoom other than 100 %, each figure beside the full repaint at
// 100 % measured in the same run, on a 3840x2160 background in a 1920x1080 view: a full
// repaint at 50 % and at 200 %, a pan step (what stays on the screen moved by a few pixels,
// and only the strips that come in painted), and one drag step at 50 % against one at 100 %.
// Processor time, as the drag step's.

#include "bench_timing.h"
#include "drag_scene.h"

#include "view/skin_canvas.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <ctime>

namespace {

const QSize kFourK(3840, 2160);

template <typename F> double processorSeconds(int times, F &&f)
{
    const std::clock_t start = std::clock();
    for (int i = 0; i < times; ++i)
        f();
    return double(std::clock() - start) / CLOCKS_PER_SEC / times;
}

// The whole view painted again, as when the window is uncovered or the zoom changes.
void repaint(bench::DragScene &scene)
{
    scene.preview.canvas()->update();
    QApplication::processEvents();
}

// A scene at `zoom`, painted once, so that anything made when first needed is there.
void zoomTo(bench::DragScene &scene, double zoom)
{
    scene.preview.canvas()->setZoom(zoom);
    repaint(scene);
}

constexpr int kTimes = 10;

void repaintAgainst100(benchmark::State &state, double zoom)
{
    bench::DragScene actual(kFourK);
    bench::DragScene zoomed(kFourK);
    zoomTo(actual, 1.0);
    zoomTo(zoomed, zoom);
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        baseline += processorSeconds(kTimes, [&] { repaint(actual); });
        ours += processorSeconds(kTimes, [&] { repaint(zoomed); });
    }
    bench::report(state, ours, baseline);
}

void BM_RepaintAt50Against100(benchmark::State &state)
{
    repaintAgainst100(state, 0.5);
}
BENCHMARK(BM_RepaintAt50Against100)->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_RepaintAt200Against100(benchmark::State &state)
{
    repaintAgainst100(state, 2.0);
}
BENCHMARK(BM_RepaintAt200Against100)->Iterations(20)->Unit(benchmark::kMillisecond);

// At 100 %, the view panned by 4 pixels each way and back, against the full repaint.
void BM_PanStepAgainstRepaint(benchmark::State &state)
{
    bench::DragScene scene(kFourK);
    zq::SkinCanvas *canvas = scene.preview.canvas();
    canvas->panTo(QPoint(400, 400));
    repaint(scene);
    int direction = 1;
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        baseline += processorSeconds(kTimes, [&] { repaint(scene); });
        ours += processorSeconds(kTimes, [&] {
            canvas->panBy(QPoint(4, 4) * direction);
            direction = -direction;
            QApplication::processEvents();
        });
    }
    bench::report(state, ours, baseline);
}
BENCHMARK(BM_PanStepAgainstRepaint)->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_DragStepAt50Against100(benchmark::State &state)
{
    bench::DragScene actual(kFourK);
    bench::DragScene zoomed(kFourK);
    zoomTo(actual, 1.0);
    zoomTo(zoomed, 0.5);
    constexpr int kSteps = 20;
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        baseline += processorSeconds(kSteps, [&] { actual.step(); });
        ours += processorSeconds(kSteps, [&] { zoomed.step(); });
    }
    bench::report(state, ours, baseline);
}
BENCHMARK(BM_DragStepAt50Against100)->Iterations(30)->Unit(benchmark::kMillisecond);

} // namespace
