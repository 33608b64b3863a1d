// A whole skin over a 3840x2160 background, baseline and progressive: opening and saving it
// through the skin document, against libjpeg decoding or encoding the background plus plain
// reads or writes of the six BMP files' bytes.

#include "bench_pictures.h"
#include "bench_skin.h"
#include "bench_timing.h"

#include "skin/skin_document.h"
#include "support/raw_jpeg.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

const char *const pictureFiles[] = {"zqLOG.bmp",   "zqFIL.bmp",   "zqMAN.bmp",
                                    "zqLOGed.bmp", "zqFILed.bmp", "zqMANed.bmp"};

// The skins are made once, at the first benchmark that needs them.
const QTemporaryDir &skins()
{
    static QTemporaryDir dir = [] {
        QTemporaryDir made;
        if (!bench::writeFourKSkins(made.path()))
            std::abort();
        return made;
    }();
    return dir;
}

QString skinFolder(bool progressive)
{
    return skins().filePath(progressive ? QStringLiteral("progressive") : QStringLiteral("baseline"));
}

std::vector<uint8_t> readFile(const QString &path)
{
    std::vector<uint8_t> bytes;
    std::FILE *f = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!f)
        return bytes;
    std::fseek(f, 0, SEEK_END);
    bytes.resize(size_t(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
        bytes.clear();
    std::fclose(f);
    return bytes;
}

void writeFile(const QString &path, const std::vector<uint8_t> &bytes)
{
    std::FILE *f = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!f)
        std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// Quality 90 on libjpeg's defaults, written straight to a file.
void libjpegEncodeToFile(const std::vector<uint8_t> &rgb, int width, int height, bool progressive,
                         const QString &path)
{
    std::FILE *f = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!f)
        std::abort();
    zqtest::rawEncodeToFile(rgb.data(), width, height, progressive, f);
    std::fclose(f);
}

// Seconds of processor time taken by f: a save also waits for the disk to take each file.
template <typename F> double processorSeconds(F &&f)
{
    const std::clock_t start = std::clock();
    f();
    return double(std::clock() - start) / CLOCKS_PER_SEC;
}

void SkinOpen(benchmark::State &state)
{
    const QDir folder(skinFolder(state.range(0) != 0));
    const QString layout = folder.filePath(QStringLiteral("ZqCSkin.ini"));
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        baseline += bench::seconds([&] {
            const std::vector<uint8_t> jpeg = readFile(folder.filePath("zqLOCKPIC.jpg"));
            benchmark::DoNotOptimize(zqtest::rawDecode(jpeg.data(), jpeg.size()).rgb.data());
            for (const char *name : pictureFiles)
                benchmark::DoNotOptimize(readFile(folder.filePath(name)).data());
        });
        ours += bench::seconds([&] {
            zq::SkinDocument skin(layout);
            if (!skin.open())
                std::abort();
            benchmark::DoNotOptimize(skin.background()->BgBitmap().row(0));
        });
    }
    bench::report(state, ours, baseline);
}
BENCHMARK(SkinOpen)->ArgName("progressive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(8);

void SkinSave(benchmark::State &state)
{
    const bool progressive = state.range(0) != 0;
    const QDir folder(skinFolder(progressive));
    zq::SkinDocument skin(folder.filePath(QStringLiteral("ZqCSkin.ini")));
    if (!skin.open())
        std::abort();
    // The baseline encodes the very pixels the skin holds, from RGB rows.
    const zq::Bitmap &background = skin.background()->BgBitmap();
    const int width = background.width();
    const int height = background.height();
    const std::vector<uint8_t> rgb = bench::rgbOf(background);
    std::vector<std::vector<uint8_t>> pictures;
    for (const char *name : pictureFiles)
        pictures.push_back(readFile(folder.filePath(name)));
    QTemporaryDir plain;
    const QDir out(plain.path());

    // The saved background must be what plain libjpeg writes for the same pixels.
    skin.save();
    libjpegEncodeToFile(rgb, width, height, progressive, out.filePath("zqLOCKPIC.jpg"));
    if (readFile(folder.filePath("zqLOCKPIC.jpg")) != readFile(out.filePath("zqLOCKPIC.jpg"))) {
        state.SkipWithError("the saved background differs from libjpeg's own encode");
        return;
    }

    double ours = 0, oursProcessor = 0;
    double baseline = 0, baselineProcessor = 0;
    for (auto _ : state) {
        baselineProcessor += processorSeconds([&] {
            baseline += bench::seconds([&] {
                libjpegEncodeToFile(rgb, width, height, progressive, out.filePath("zqLOCKPIC.jpg"));
                for (size_t i = 0; i < pictures.size(); ++i)
                    writeFile(out.filePath(pictureFiles[i]), pictures[i]);
            });
        });
        oursProcessor += processorSeconds([&] { ours += bench::seconds([&] { skin.save(); }); });
    }
    bench::report(state, ours, baseline);
    // The save forces the files to the disk before it replaces the old ones; the baseline
    // does not. Processor time alone shows the work apart from that wait.
    state.counters["cpu_ratio"] = oursProcessor / baselineProcessor;
    state.counters["same_bytes"] = 1;
}
BENCHMARK(SkinSave)->ArgName("progressive")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(8);

} // namespace
