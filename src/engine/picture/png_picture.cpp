#include "picture/png_picture.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"
#include "files/safe_file.h"
#include "picture/png_samples.h"

#include <png.h>

#include <cstring>
#include <new>

namespace zq {

namespace {

// Pictures past this many pixels are refused before anything is allocated for them: their
// samples and the flattened copy must fit well within a 32-bit process's memory.
constexpr qint64 maxPixels = qint64(1) << 26;

// libpng reports errors through a routine that must not return; it leaves with longjmp to
// the setjmp in guardedCall. Neither that frame nor the steps it runs hold C++ objects, so
// the jump skips only libpng's C frames and plain code.
struct ErrorContext {
    char message[256] = {};
};

void onError(png_structp png, png_const_charp message)
{
    auto *context = static_cast<ErrorContext *>(png_get_error_ptr(png));
    if (context) {
        std::strncpy(context->message, message ? message : "", sizeof context->message - 1);
        context->message[sizeof context->message - 1] = '\0';
    }
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

struct Source {
    const png_byte *data;
    size_t size;
    size_t offset;
};

void readFromMemory(png_structp png, png_bytep out, size_t length)
{
    auto *source = static_cast<Source *>(png_get_io_ptr(png));
    if (length > source->size - source->offset)
        png_error(png, "unexpected end of file");
    std::memcpy(out, source->data + source->offset, length);
    source->offset += length;
}

using Step = void (*)(void *context);

bool guardedCall(png_structp png, Step step, void *context)
{
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    step(context);
    return true;
}

QString invalid(const QString &path, const QString &detail)
{
    return errors::cannotOpenFile(path, QStringLiteral("Not a valid PNG picture (%1)").arg(detail));
}

// Owns libpng's structures for one decoding.
class Reader {
public:
    Reader(const QByteArray &data, const QString &path)
        : m_path(path)
        , m_source{reinterpret_cast<const png_byte *>(data.constData()), size_t(data.size()), 0}
    {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &m_error, onError, onWarning);
        if (png)
            info = png_create_info_struct(png);
        if (!png || !info) {
            png_destroy_read_struct(png ? &png : nullptr, nullptr, nullptr);
            throw EngineError(invalid(path, QStringLiteral("insufficient memory")));
        }
        png_set_read_fn(png, &m_source, readFromMemory);
        // Chunks that never change the pixels are skipped unread: libpng would otherwise
        // allocate whatever length they claim (up to 2 GB in a file of a hundred bytes).
        static const png_byte skipped[] = "tEXt\0zTXt\0iTXt\0iCCP\0sPLT\0eXIf";
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, skipped, int(sizeof skipped / 5));
    }
    ~Reader() { png_destroy_read_struct(&png, &info, nullptr); }
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    void run(Step step, void *context)
    {
        if (!guardedCall(png, step, context))
            throw EngineError(invalid(m_path, QString::fromLatin1(m_error.message)));
    }

    png_structp png = nullptr;
    png_infop info = nullptr;

private:
    QString m_path;
    ErrorContext m_error;
    Source m_source;
};

struct RowsJob {
    Reader *reader;
    const png::SampleRules *rules;
    png_bytep raw;   // one row, or the whole picture when interlaced
    png_bytepp rows; // row pointers into raw, interlaced only
    size_t rowBytes;
    uint8_t *out;
    int width;
    int height;
};

void readRows(void *context)
{
    auto *job = static_cast<RowsJob *>(context);
    const size_t outStride = size_t(job->width) * 4;
    if (job->rows) {
        png_read_image(job->reader->png, job->rows);
        for (int y = 0; y < job->height; ++y)
            png::convertRow(*job->rules, job->rows[y], job->out + size_t(y) * outStride, job->width);
    } else {
        for (int y = 0; y < job->height; ++y) {
            png_read_row(job->reader->png, job->raw, nullptr);
            png::convertRow(*job->rules, job->raw, job->out + size_t(y) * outStride, job->width);
        }
    }
    png_read_end(job->reader->png, job->reader->info);
}

png::PngFacts factsOf(png_structp png, png_infop info, int colourType, int bitDepth)
{
    png::PngFacts facts;
    facts.colourType = PngColourType(colourType);
    facts.bitDepth = bitDepth;
    png_fixed_point gamma = 0;
    if (png_get_gAMA_fixed(png, info, &gamma) != 0 && gamma > 0)
        facts.gamma = int(gamma);
    png_colorp palette = nullptr;
    int paletteSize = 0;
    if (png_get_PLTE(png, info, &palette, &paletteSize) != 0) {
        for (int i = 0; i < paletteSize; ++i)
            facts.palette.push_back(qRgb(palette[i].red, palette[i].green, palette[i].blue));
    }
    png_bytep alpha = nullptr;
    int alphaCount = 0;
    png_color_16p key = nullptr;
    if (png_get_tRNS(png, info, &alpha, &alphaCount, &key) != 0) {
        facts.hasTransparency = true;
        if (colourType == PNG_COLOR_TYPE_PALETTE && alpha)
            facts.paletteAlpha.assign(alpha, alpha + alphaCount);
        if (key) {
            facts.keyGrey = key->gray;
            facts.keyRed = key->red;
            facts.keyGreen = key->green;
            facts.keyBlue = key->blue;
        }
    }
    return facts;
}

} // namespace

PngPicture decodePngFile(const QString &path)
{
    QByteArray bytes;
    QString reason;
    if (!readWholeFile(path, bytes, reason))
        throw EngineError(errors::cannotOpenFile(path, reason));
    return decodePngData(bytes, path);
}

PngPicture decodePngData(const QByteArray &data, const QString &path)
{
    Reader reader(data, path);
    reader.run(
        [](void *c) {
            auto *r = static_cast<Reader *>(c);
            png_read_info(r->png, r->info);
        },
        &reader);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    int interlace = 0;
    png_get_IHDR(reader.png, reader.info, &width, &height, &bitDepth, &colourType, &interlace, nullptr,
                 nullptr);
    if (qint64(width) * qint64(height) > maxPixels)
        throw EngineError(invalid(path, QStringLiteral("picture too large")));

    PngPicture picture;
    picture.width = int(width);
    picture.height = int(height);
    picture.colourType = PngColourType(colourType);
    picture.bitDepth = bitDepth;
    const png::SampleRules rules = png::sampleRules(factsOf(reader.png, reader.info, colourType, bitDepth));
    picture.mode = rules.mode;

    const bool interlaced = interlace != PNG_INTERLACE_NONE;
    if (interlaced)
        png_set_interlace_handling(reader.png);
    reader.run(
        [](void *c) {
            auto *r = static_cast<Reader *>(c);
            png_read_update_info(r->png, r->info);
        },
        &reader);
    const size_t rowBytes = png_get_rowbytes(reader.png, reader.info);

    std::vector<png_byte> raw;
    std::vector<png_bytep> rows;
    try {
        picture.pixels.resize(size_t(width) * size_t(height) * 4);
        raw.resize(interlaced ? rowBytes * height : rowBytes);
        if (interlaced) {
            rows.resize(height);
            for (png_uint_32 y = 0; y < height; ++y)
                rows[y] = raw.data() + y * rowBytes;
        }
    } catch (const std::bad_alloc &) {
        throw EngineError(invalid(path, QStringLiteral("insufficient memory")));
    }
    RowsJob job{&reader,       &rules,
                raw.data(),    interlaced ? rows.data() : nullptr,
                rowBytes,      picture.pixels.data(),
                picture.width, picture.height};
    reader.run(readRows, &job);
    return picture;
}

} // namespace zq
