// One drag step of a page picture on the preview: the page moves a few pixels and the window
// repaints what changed. Processor time per step over a 3840x2160 background against the same
// over 1920x1080, measured in the same run: a step costs the damaged strip, not the screen, so
// the ratio stays near 1.

#include "bench_pictures.h"
#include "bench_timing.h"

#include "page_elements.h"
#include "preview_window.h"
#include "skin_workspace.h"
#include "support/raw_jpeg.h"
#include "support/sample_skin_files.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <stdexcept>

namespace {

// The sample skin over a synthetic background of the given size, open in the designer's
// workspace on a preview the size of the background, with the 充值 page shown on top.
class DragScene {
public:
    DragScene(int width, int height)
    {
        if (!zqtest::copySampleSkin(m_dir.path()))
            throw std::runtime_error("cannot copy the sample skin");
        const std::vector<uint8_t> rgb = bench::syntheticRgb(width, height);
        QFile jpeg(m_dir.filePath(QStringLiteral("zqLOCKPIC.jpg")));
        if (!jpeg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            jpeg.write(zqtest::rawEncode(rgb.data(), width, height, false)) < 0)
            throw std::runtime_error("cannot write the background");
        jpeg.close();

        m_preview.setGeometry(0, 0, width, height);
        m_preview.installEventFilter(&m_paints);
        m_workspace = std::make_unique<zq::SkinWorkspace>(&m_preview);
        if (!m_workspace->openLayout(m_dir.filePath(QStringLiteral("ZqCSkin.ini"))))
            throw std::runtime_error("the layout was refused");
        m_workspace->buildElements([](const QString &) {});
        zq::TFil *page = m_workspace->filPage();
        page->ShowElement();
        page->BringElementToFront();
        m_page = page->Panel();
        m_preview.show();
        settle();
    }

    // Moves the page a few pixels, right and back on alternate calls, and lets the window
    // repaint. False when nothing was painted, so the step measured nothing.
    bool step()
    {
        const int before = m_paints.count;
        m_page->move(m_page->pos() + QPoint(m_travel, 0));
        m_travel = -m_travel;
        settle();
        return m_paints.count > before;
    }

private:
    // Counts the preview's paints.
    struct PaintCounter : QObject {
        int count = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            count += event->type() == QEvent::Paint;
            return false;
        }
    };

    static void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    QTemporaryDir m_dir;
    zq::TForm2 m_preview;
    PaintCounter m_paints;
    std::unique_ptr<zq::SkinWorkspace> m_workspace;
    QWidget *m_page = nullptr;
    int m_travel = 8;
};

// Processor seconds taken by f.
template <typename F> double processorSeconds(F &&f)
{
    const std::clock_t start = std::clock();
    f();
    return double(std::clock() - start) / CLOCKS_PER_SEC;
}

void DragStep(benchmark::State &state)
{
    DragScene fullHd(1920, 1080);
    DragScene fourK(3840, 2160);
    double ours = 0, baseline = 0;
    bool painted = true;
    for (auto _ : state) {
        baseline += processorSeconds([&] { painted &= fullHd.step(); });
        ours += processorSeconds([&] { painted &= fourK.step(); });
    }
    if (!painted)
        state.SkipWithError("a drag step painted nothing");
    bench::report(state, ours, baseline);
}
BENCHMARK(DragStep)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
