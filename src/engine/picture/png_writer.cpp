#include "picture/png_writer.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"
#include "files/safe_file.h"

#include <png.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace zq {

namespace {

// libpng leaves an error with longjmp to the setjmp in guardedWrite; the frames it skips hold
// no C++ objects.
struct Output {
    png_byte *buffer = nullptr;
    size_t size = 0;
    size_t capacity = 0;
    char message[256] = {};
};

void onError(png_structp png, png_const_charp message)
{
    auto *output = static_cast<Output *>(png_get_error_ptr(png));
    std::strncpy(output->message, message ? message : "", sizeof output->message - 1);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void writeToMemory(png_structp png, png_bytep data, size_t length)
{
    auto *output = static_cast<Output *>(png_get_io_ptr(png));
    if (length > output->capacity - output->size) {
        size_t grown = output->capacity < 65536 ? 65536 : output->capacity;
        while (length > grown - output->size)
            grown *= 2;
        auto *bigger = static_cast<png_byte *>(std::realloc(output->buffer, grown));
        if (!bigger)
            png_error(png, "out of memory");
        output->buffer = bigger;
        output->capacity = grown;
    }
    std::memcpy(output->buffer + output->size, data, length);
    output->size += length;
}

void flushNothing(png_structp) {}

struct Job {
    png_structp png;
    png_infop info;
    const Bitmap *bitmap;
    png_bytep scratch; // a widened row for depths other than 24 bits, else null
    int level;
};

void writeAll(Job *job)
{
    const Bitmap &bitmap = *job->bitmap;
    png_set_IHDR(job->png, job->info, png_uint_32(bitmap.width()), png_uint_32(bitmap.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(job->png, job->level);
    png_write_info(job->png, job->info);
    // 24-bit rows are stored blue first; libpng swaps them as it writes.
    png_set_bgr(job->png);
    for (int y = 0; y < bitmap.height(); ++y) {
        if (!job->scratch) {
            png_write_row(job->png, bitmap.row(y));
            continue;
        }
        png_bytep out = job->scratch;
        for (int x = 0; x < bitmap.width(); ++x, out += 3) {
            const QRgb colour = bitmap.pixel(x, y);
            out[0] = png_byte(qBlue(colour));
            out[1] = png_byte(qGreen(colour));
            out[2] = png_byte(qRed(colour));
        }
        png_write_row(job->png, job->scratch);
    }
    png_write_end(job->png, job->info);
}

bool guardedWrite(Job *job)
{
    if (setjmp(png_jmpbuf(job->png)) != 0)
        return false;
    writeAll(job);
    return true;
}

} // namespace

QByteArray encodePng(const Bitmap &bitmap, int compressionLevel)
{
    if (bitmap.isEmpty())
        throw EngineError(QStringLiteral("An empty picture cannot be written as PNG"));
    Output output;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &output, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> scratch;
    if (bitmap.format().bitsPerPixel != 24)
        scratch.resize(size_t(bitmap.width()) * 3);
    bool ok = false;
    if (png && info) {
        png_set_write_fn(png, &output, writeToMemory, flushNothing);
        Job job{png, info, &bitmap, scratch.empty() ? nullptr : scratch.data(), compressionLevel};
        ok = guardedWrite(&job);
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    QByteArray bytes;
    if (ok)
        bytes = QByteArray(reinterpret_cast<const char *>(output.buffer), qsizetype(output.size));
    std::free(output.buffer);
    if (!ok)
        throw EngineError(QStringLiteral("PNG error: %1").arg(QString::fromUtf8(output.message)));
    return bytes;
}

void writePngFile(const QString &path, const Bitmap &bitmap, int compressionLevel)
{
    const FileWriteResult result = replaceFile(path, encodePng(bitmap, compressionLevel));
    if (!result.ok)
        throw EngineError(errors::cannotCreateFile(path, result.reason));
}

} // namespace zq
