#include "picture/jpeg_codec.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"
#include "files/safe_file.h"
#include "picture/jpeg_encode_ahead.h"
#include "picture/jpeg_encoder.h"
#include "picture/jpeg_session.h"
#include "picture/picture_too_large.h"

#include <jerror.h>

#include <new>
#include <vector>

namespace zq {

namespace {

// The decoder writes every pixel of every row, so the bitmap is not filled first.
Bitmap allocateBitmap(int width, int height, BitmapFormat format)
{
    try {
        return Bitmap(width, height, std::move(format), Bitmap::Fill::Unfilled);
    } catch (const std::bad_alloc &) {
        throw EngineError(errors::jpegError(JERR_OUT_OF_MEMORY));
    }
}

// Hands finished rows to an encode running ahead, a band of 16 (the encoder's own step) at a
// time, so that its thread is not woken for every row.
void passRows(JpegEncodeAhead *ahead, int before, int after, int height)
{
    constexpr int band = 16;
    if (ahead && (after / band != before / band || after == height))
        ahead->rowsDone(after);
}

struct RowsJob {
    jpeg_decompress_struct *info;
    JSAMPROW *rows; // one per output row, straight into the bitmap
    JpegEncodeAhead *ahead;
};

void readRows(void *context)
{
    auto *job = static_cast<RowsJob *>(context);
    jpeg_decompress_struct *info = job->info;
    while (info->output_scanline < info->output_height) {
        const int before = int(info->output_scanline);
        const JDIMENSION read = jpeg_read_scanlines(info, job->rows + info->output_scanline,
                                                    info->output_height - info->output_scanline);
        if (read == 0)
            break; // cannot happen with data in memory; finishing reports the shortfall
        passRows(job->ahead, before, int(info->output_scanline), int(info->output_height));
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
    JpegEncodeAhead *ahead;
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
        passRows(job->ahead, y, y + 1, int(info->output_height));
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

// What a decode makes of a file's colours.
struct DecodeKind {
    bool cmyk;     // CMYK or YCCK, turned into RGB here
    bool paletted; // an 8-bit bitmap with a palette
};

// Sets the decoder's output: full size, the accurate DCT, block smoothing, and the pixel form
// the bitmap takes.
DecodeKind chooseOutput(jpeg_decompress_struct &info, bool lowColourDisplay)
{
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
        info.desired_number_of_colors = JpegCodec::paletteColours;
        info.two_pass_quantize = TRUE; // libjpeg falls back to one pass for grayscale
    } else {
        info.out_color_space = JCS_EXT_BGR;
    }
    return {cmyk, paletted};
}

// A bitmap of the decoded size, in the form the decode writes, once decompression has started.
Bitmap outputBitmap(const jpeg_decompress_struct &info, DecodeKind kind)
{
    const int width = int(info.output_width);
    const int height = int(info.output_height);
    if (kind.cmyk)
        return allocateBitmap(width, height,
                              kind.paletted ? BitmapFormat::indexed8(colourCube()) : BitmapFormat::rgb24());
    return allocateBitmap(width, height,
                          kind.paletted ? BitmapFormat::indexed8(quantisedPalette(info))
                                        : BitmapFormat::rgb24());
}

// Reads every scan line into the bitmap, handing finished rows to an encode running ahead.
void readAllRows(jpeg::Decompressor &session, Bitmap &bitmap, DecodeKind kind, JpegEncodeAhead *ahead)
{
    jpeg_decompress_struct &info = session.info();
    const int width = int(info.output_width);
    const int height = int(info.output_height);
    if (kind.cmyk) {
        std::vector<JSAMPLE> scratch(size_t(width) * 4);
        CmykJob job{&info, scratch.data(), &bitmap, info.saw_Adobe_marker != 0, kind.paletted, ahead};
        session.run(readCmykRows, &job);
    } else {
        std::vector<JSAMPROW> rows(static_cast<size_t>(height));
        for (int y = 0; y < height; ++y)
            rows[size_t(y)] = bitmap.row(y);
        RowsJob job{&info, rows.data(), ahead};
        session.run(readRows, &job);
    }
}

} // namespace

void JpegCodec::loadFile(const QString &path)
{
    QByteArray bytes;
    QString reason;
    if (!readWholeFile(path, bytes, reason))
        throw EngineError(errors::cannotOpenFile(path, reason));
    try {
        loadData(bytes);
    } catch (const PictureTooLarge &tooLarge) {
        throw tooLarge.namedFor(path);
    }
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
        throw PictureTooLarge(errors::jpegError(JERR_IMAGE_TOO_BIG), info.image_width, info.image_height);

    m_data = data;
    m_width = int(info.image_width);
    m_height = int(info.image_height);
    m_grayscale = info.jpeg_color_space == JCS_GRAYSCALE;
    m_progressive = header.multipleScans;
}

Bitmap JpegCodec::decode(bool lowColourDisplay, JpegEncodeAhead *ahead, JpegWarnings *warnings) const
{
    jpeg::Decompressor session(m_data);
    session.readHeader();
    jpeg_decompress_struct &info = session.info();
    const DecodeKind kind = chooseOutput(info, lowColourDisplay);
    // An encode ahead begins before the scans are read: its worker makes the 24-bit bitmap
    // meanwhile. A failed decode frees the rows, so the encode reading them is stopped first.
    Bitmap bitmap;
    struct StopOnFailure {
        JpegEncodeAhead *ahead;
        ~StopOnFailure()
        {
            if (ahead)
                ahead->cancel();
        }
    } stop{kind.paletted ? nullptr : ahead};
    if (stop.ahead)
        stop.ahead->begin(int(info.image_width), int(info.image_height));
    session.run([](void *c) { jpeg_start_decompress(static_cast<jpeg_decompress_struct *>(c)); }, &info);

    if (stop.ahead) {
        bitmap = stop.ahead->takeBitmap();
        if (bitmap.width() != int(info.output_width) || bitmap.height() != int(info.output_height)) {
            stop.ahead->cancel();
            stop.ahead = nullptr;
            bitmap = Bitmap();
        }
    }
    if (bitmap.isEmpty())
        bitmap = outputBitmap(info, kind);
    readAllRows(session, bitmap, kind, stop.ahead);
    session.run([](void *c) { jpeg_finish_decompress(static_cast<jpeg_decompress_struct *>(c)); }, &info);
    stop.ahead = nullptr;
    if (warnings)
        *warnings = {session.warnings(), QString::fromLocal8Bit(session.firstWarning())};
    return bitmap;
}

QByteArray JpegCodec::encode(const Bitmap &bitmap) const
{
    struct Source {
        const Bitmap *bitmap;
        std::vector<uint8_t> scratch; // a widened row for depths other than 24 bits
    };
    Source source{&bitmap, {}};
    if (bitmap.format().bitsPerPixel != 24)
        source.scratch.resize(size_t(bitmap.width()) * 3);
    const auto fetch = [](void *context, int y) noexcept -> const uint8_t * {
        auto *s = static_cast<Source *>(context);
        if (s->scratch.empty())
            return s->bitmap->row(y);
        uint8_t *out = s->scratch.data();
        for (int x = 0; x < s->bitmap->width(); ++x, out += 3) {
            const QRgb colour = s->bitmap->pixel(x, y);
            out[0] = uint8_t(qBlue(colour));
            out[1] = uint8_t(qGreen(colour));
            out[2] = uint8_t(qRed(colour));
        }
        return s->scratch.data();
    };
    // This source never stops the encode.
    return *jpeg::encodeRows(bitmap.width(), bitmap.height(), m_progressive, fetch, &source);
}

void JpegCodec::saveFile(const QString &path, const Bitmap &bitmap) const
{
    writeEncoded(path, encode(bitmap));
}

void JpegCodec::writeEncoded(const QString &path, const QByteArray &bytes)
{
    const FileWriteResult result = replaceFile(path, bytes);
    if (!result.ok)
        throw EngineError(errors::cannotCreateFile(path, result.reason));
}

} // namespace zq
