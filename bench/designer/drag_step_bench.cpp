// One step of a mouse drag in the designer: a page picture moved by one pixel with the
// selection outline and the readout following it, then everything that changed painted,
// over a 1920x1080 and over a 3840x2160 background on a 1920x1080 preview. The processor
// time of a step must not grow with the background: only what changed is painted.
// Runs on the offscreen platform unless another is asked for.

#include "bench_timing.h"

#include "editing/edit_overlay.h"
#include "elements/image_panel.h"
#include "view/preview_window.h"
#include "view/skin_canvas.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <ctime>
#include <memory>

namespace {

QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb(x % 251, y % 241, (x * 7 + y * 3) % 256);
    }
    return img;
}

// A preview with a background, one page picture on it and the overlay, as the designer has
// them while a page is dragged.
struct Scene {
    explicit Scene(QSize background)
    {
        preview.setGeometry(0, 0, 1920, 1080);
        // 24-bit rows, as the designer shows a JPEG background: read in place, converted per paint.
        preview.setBackground(
            pattern(background.width(), background.height()).convertToFormat(QImage::Format_BGR888));
        page = new zq::ImagePanel(preview.canvas());
        page->setPicture(QSize(450, 330), [] { return pattern(450, 330); });
        page->setGeometry(600, 300, 450, 330);
        overlay = new zq::EditOverlay(&preview);
        overlay->setGeometry(preview.rect());
        preview.show();
        QApplication::processEvents();
    }

    // Right and back, so that the page stays where it is seen.
    void step()
    {
        direction = page->x() > 700 ? -1 : page->x() < 600 ? 1 : direction;
        page->move(page->x() + direction, page->y());
        overlay->setSelection(page->geometry(), overlay->rect());
        overlay->setReadout(QStringLiteral("%1, %2  450 × 330").arg(page->x()).arg(page->y()),
                            page->geometry().bottomRight() + QPoint(16, 20));
        QApplication::processEvents();
    }

    zq::TForm2 preview;
    zq::ImagePanel *page = nullptr;
    zq::EditOverlay *overlay = nullptr;
    int direction = 1;
};

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
