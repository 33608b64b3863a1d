// zqskin's render and check on 4K skins. Render (read the skin, composite, encode the PNG)
// against plain libjpeg decoding the background plus plain libpng encoding the same composite
// at the same compression level; check of 16 skins on two threads against one.

#include "bench_pictures.h"
#include "bench_skin.h"
#include "bench_timing.h"

#include "picture/png_writer.h"
#include "skin/lock_screen.h"
#include "support/raw_jpeg.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>
#include <vector>

namespace {

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

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

void appendToVector(png_structp png, png_bytep data, size_t length)
{
    auto *out = static_cast<std::vector<uint8_t> *>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

// libpng as its manual shows it: 8-bit RGB rows, default filters, the given zlib level.
std::vector<uint8_t> libpngEncode(const std::vector<uint8_t> &rgb, int width, int height, int level)
{
    std::vector<uint8_t> out;
    out.reserve(rgb.size() / 2);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)))
        std::abort();
    png_set_write_fn(png, &out, appendToVector, nullptr);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, level);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rgb.data() + size_t(y) * size_t(width) * 3);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

void SkinRender(benchmark::State &state)
{
    const QDir folder(skins().filePath(QStringLiteral("baseline")));
    const QString layout = folder.filePath(QStringLiteral("ZqCSkin.ini"));
    // The baseline encodes the very pixels the render makes.
    zq::LockScreenSkin first = zq::LockScreenSkin::read(layout);
    const zq::Bitmap composite = zq::renderLockScreen(first, zq::Element::LogTab);
    const std::vector<uint8_t> rgb = bench::rgbOf(composite);
    const int width = composite.width();
    const int height = composite.height();

    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        baseline += bench::seconds([&] {
            const QByteArray jpeg = readAll(folder.filePath(QStringLiteral("zqLOCKPIC.jpg")));
            benchmark::DoNotOptimize(zqtest::rawDecode(jpeg).rgb.data());
            benchmark::DoNotOptimize(libpngEncode(rgb, width, height, zq::pngCompressionLevel).data());
        });
        ours += bench::seconds([&] {
            zq::LockScreenSkin skin = zq::LockScreenSkin::read(layout);
            const zq::Bitmap screen = zq::renderLockScreen(skin, zq::Element::LogTab);
            benchmark::DoNotOptimize(zq::encodePng(screen).data());
        });
    }
    bench::report(state, ours, baseline);
}
BENCHMARK(SkinRender)->Unit(benchmark::kMillisecond)->Iterations(5);

double checkSeconds(const QStringList &folders, int jobs)
{
    return bench::seconds([&] {
        QProcess process;
        process.start(QStringLiteral(ZQSKIN_PATH),
                      QStringList{QStringLiteral("check"), QStringLiteral("--jobs"), QString::number(jobs)} +
                          folders);
        if (!process.waitForFinished(600000) || process.exitCode() != 0)
            std::abort();
    });
}

// Sixteen 4K skins checked by one process, on two threads against one.
void SkinCheckJobs(benchmark::State &state)
{
    QStringList folders;
    for (int i = 0; i < 16; ++i)
        folders << skins().filePath(i % 2 ? QStringLiteral("progressive") : QStringLiteral("baseline"));
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        baseline += checkSeconds(folders, 1);
        ours += checkSeconds(folders, 2);
    }
    bench::report(state, ours, baseline);
}
BENCHMARK(SkinCheckJobs)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
