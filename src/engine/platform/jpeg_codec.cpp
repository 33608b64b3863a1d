#include "platform/jpeg_codec.h"

#include "platform/engine_error.h"
#include "platform/error_texts.h"
#include "platform/jpeg_session.h"
#include "platform/safe_file.h"

#include <jerror.h>

#include <new>
#include <vector>

namespace zq {

namespace {

constexpr int encodeQuality = 90;

Bitmap allocateBitmap(int width, int height, BitmapFormat format)
{
    try {
        return Bitmap(width, height, std::move(format));
    } catch (const std::bad_alloc &) {
        throw EngineError(errors::jpegError(JERR_OUT_OF_MEMORY));
    }
}

struct RowsJob {
    jpeg_decompress_struct *info;
    JSAMPROW *rows; // one per output row, straight into the bitmap
};

void readRows(void *context)
{
    auto *job = static_cast<RowsJob *>(context);
    jpeg_decompress_struct *info = job->info;
    while (info->output_scanline < info->output_height) {
        const JDIMENSION read = jpeg_read_scanlines(info, job->rows + info->output_scanline,
                                                    info->output_height - info->output_scanline);
        if (read == 0)
            break; // cannot happen with data in memory; finishing reports the shortfall
    }
}

// Adobe writes CMYK inverted (0 = full ink); others write it straight. In the inverted form
// a channel is the product of its complement and black's complement.
struct CmykJob {
    jpeg_decompress_struct *info;
    JSAMPROW scratch; // one row of C, M, Y, K
    Bitmap *bitmap;
    bool inverted;
    bool toCube; // 8-bit target: index into the 6x6x6 colour cube
};

inline int cmykChannel(int ink, int black, bool inverted)
{
    if (!inverted) {
        ink = 255 - ink;
        black = 255 - black;
    }
    return (ink * black + 127) / 255;
}

void readCmykRows(void *context)
{
    auto *job = static_cast<CmykJob *>(context);
    jpeg_decompress_struct *info = job->info;
    const int width = int(info->output_width);
    while (info->output_scanline < info->output_height) {
        const int y = int(info->output_scanline);
        if (jpeg_read_scanlines(info, &job->scratch, 1) != 1)
            break;
        const JSAMPLE *in = job->scratch;
        uint8_t *out = job->bitmap->row(y);
        for (int x = 0; x < width; ++x, in += 4) {
            const int r = cmykChannel(in[0], in[3], job->inverted);
            const int g = cmykChannel(in[1], in[3], job->inverted);
            const int b = cmykChannel(in[2], in[3], job->inverted);
            if (job->toCube) {
                out[x] = uint8_t(((r + 25) / 51) * 36 + ((g + 25) / 51) * 6 + (b + 25) / 51);
            } else {
                out[3 * x] = uint8_t(b);
                out[3 * x + 1] = uint8_t(g);
                out[3 * x + 2] = uint8_t(r);
            }
        }
    }
}

std::vector<QRgb> colourCube()
{
    std::vector<QRgb> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.push_back(qRgb(r * 51, g * 51, b * 51));
    return palette;
}

std::vector<QRgb> quantisedPalette(const jpeg_decompress_struct &info)
{
    std::vector<QRgb> palette;
    palette.reserve(size_t(info.actual_number_of_colors));
    for (int i = 0; i < info.actual_number_of_colors; ++i) {
        if (info.out_color_components == 1) {
            const int v = info.colormap[0][i];
            palette.push_back(qRgb(v, v, v));
        } else {
            palette.push_back(qRgb(info.colormap[0][i], info.colormap[1][i], info.colormap[2][i]));
        }
    }
    return palette;
}

} // namespace

void JpegCodec::loadFile(const QString &path)
{
    QByteArray bytes;
    QString reason;
    if (!readWholeFile(path, bytes, reason))
        throw EngineError(errors::cannotOpenFile(path, reason));
    loadData(bytes);
}

void JpegCodec::loadData(const QByteArray &data)
{
    struct Header {
        jpeg_decompress_struct *info;
        bool multipleScans;
    };
    jpeg::Decompressor session(data);
    Header header{&session.info(), false};
    session.run(
        [](void *c) {
            auto *h = static_cast<Header *>(c);
            jpeg_read_header(h->info, TRUE);
            h->multipleScans = jpeg_has_multiple_scans(h->info);
        },
        &header);
    const jpeg_decompress_struct &info = session.info();
    if (qint64(info.image_width) * qint64(info.image_height) > maxPixels)
        throw EngineError(errors::jpegError(JERR_IMAGE_TOO_BIG));

    m_data = data;
    m_width = int(info.image_width);
    m_height = int(info.image_height);
    m_grayscale = info.jpeg_color_space == JCS_GRAYSCALE;
    m_progressive = header.multipleScans;
}

Bitmap JpegCodec::decode(bool lowColourDisplay) const
{
    jpeg::Decompressor session(m_data);
    session.readHeader();
    jpeg_decompress_struct &info = session.info();

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool grayscale = info.jpeg_color_space == JCS_GRAYSCALE;
    const bool paletted = grayscale || lowColourDisplay;
    info.scale_num = 1;
    info.scale_denom = 1;
    info.dct_method = JDCT_ISLOW;
    info.do_block_smoothing = TRUE;
    info.buffered_image = FALSE;
    if (cmyk) {
        // libjpeg turns YCCK into CMYK; the step to RGB is ours.
        info.out_color_space = JCS_CMYK;
    } else if (paletted) {
        info.out_color_space = grayscale ? JCS_GRAYSCALE : JCS_RGB;
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = paletteColours;
        info.two_pass_quantize = TRUE; // libjpeg falls back to one pass for grayscale
    } else {
        info.out_color_space = JCS_EXT_BGR;
    }
    session.run([](void *c) { jpeg_start_decompress(static_cast<jpeg_decompress_struct *>(c)); }, &info);

    const int width = int(info.output_width);
    const int height = int(info.output_height);
    Bitmap bitmap;
    if (cmyk) {
        bitmap = allocateBitmap(width, height,
                                paletted ? BitmapFormat::indexed8(colourCube()) : BitmapFormat::rgb24());
        std::vector<JSAMPLE> scratch(size_t(width) * 4);
        CmykJob job{&info, scratch.data(), &bitmap, info.saw_Adobe_marker != 0, paletted};
        session.run(readCmykRows, &job);
    } else {
        bitmap = allocateBitmap(
            width, height, paletted ? BitmapFormat::indexed8(quantisedPalette(info)) : BitmapFormat::rgb24());
        std::vector<JSAMPROW> rows(static_cast<size_t>(height));
        for (int y = 0; y < height; ++y)
            rows[size_t(y)] = bitmap.row(y);
        RowsJob job{&info, rows.data()};
        session.run(readRows, &job);
    }
    session.run([](void *c) { jpeg_finish_decompress(static_cast<jpeg_decompress_struct *>(c)); }, &info);
    return bitmap;
}

QByteArray JpegCodec::encode(const Bitmap &bitmap) const
{
    struct WriteJob {
        jpeg_compress_struct *info;
        const Bitmap *bitmap;
        JSAMPLE *scratch; // a widened row for depths other than 24 bits
        bool progressive;
    };

    const int width = bitmap.width();
    const int height = bitmap.height();
    const bool direct = bitmap.format().bitsPerPixel == 24;
    jpeg::Compressor session(size_t(width) * size_t(height) / 4 + 16384);
    jpeg_compress_struct &info = session.info();
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;

    std::vector<JSAMPLE> scratch(direct ? 0 : size_t(width) * 3);
    WriteJob job{&info, &bitmap, direct ? nullptr : scratch.data(), m_progressive};
    session.run(
        [](void *c) {
            auto *j = static_cast<WriteJob *>(c);
            jpeg_set_defaults(j->info);
            jpeg_set_quality(j->info, encodeQuality, TRUE);
            if (j->progressive)
                jpeg_simple_progression(j->info);
            jpeg_start_compress(j->info, TRUE);
        },
        &job);
    session.run(
        [](void *c) {
            auto *j = static_cast<WriteJob *>(c);
            const Bitmap &source = *j->bitmap;
            while (j->info->next_scanline < j->info->image_height) {
                const int y = int(j->info->next_scanline);
                JSAMPROW row;
                if (j->scratch) {
                    JSAMPLE *out = j->scratch;
                    for (int x = 0; x < source.width(); ++x, out += 3) {
                        const QRgb colour = source.pixel(x, y);
                        out[0] = JSAMPLE(qBlue(colour));
                        out[1] = JSAMPLE(qGreen(colour));
                        out[2] = JSAMPLE(qRed(colour));
                    }
                    row = j->scratch;
                } else {
                    // libjpeg only reads its input rows.
                    row = const_cast<JSAMPROW>(source.row(y));
                }
                jpeg_write_scanlines(j->info, &row, 1);
            }
            jpeg_finish_compress(j->info);
        },
        &job);
    return session.bytes();
}

void JpegCodec::saveFile(const QString &path, const Bitmap &bitmap) const
{
    const FileWriteResult result = replaceFile(path, encode(bitmap));
    if (!result.ok)
        throw EngineError(errors::cannotCreateFile(path, result.reason));
}

} // namespace zq
