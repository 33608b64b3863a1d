#include "picture/jpeg_encoder.h"

#include "picture/jpeg_session.h"

namespace zq::jpeg {

namespace {

constexpr int encodeQuality = 90;

struct EncodeJob {
    jpeg_compress_struct *info;
    bool progressive;
    RowFetch fetch;
    void *context;
    bool stopped;
};

void startEncode(void *context)
{
    auto *job = static_cast<EncodeJob *>(context);
    jpeg_set_defaults(job->info);
    jpeg_set_quality(job->info, encodeQuality, TRUE);
    if (job->progressive)
        jpeg_simple_progression(job->info);
    jpeg_start_compress(job->info, TRUE);
}

void writeRows(void *context)
{
    auto *job = static_cast<EncodeJob *>(context);
    jpeg_compress_struct *info = job->info;
    while (info->next_scanline < info->image_height) {
        const uint8_t *row = job->fetch(job->context, int(info->next_scanline));
        if (!row) {
            job->stopped = true;
            return;
        }
        // libjpeg only reads its input rows.
        JSAMPROW rows[1] = {const_cast<JSAMPROW>(row)};
        jpeg_write_scanlines(info, rows, 1);
    }
    jpeg_finish_compress(info);
}

} // namespace

std::optional<QByteArray> encodeRows(int width, int height, bool progressive, RowFetch fetch, void *context)
{
    Compressor session(size_t(width) * size_t(height) / 4 + 16384);
    jpeg_compress_struct &info = session.info();
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;

    EncodeJob job{&info, progressive, fetch, context, false};
    session.run(startEncode, &job);
    session.run(writeRows, &job);
    if (job.stopped)
        return std::nullopt;
    return session.bytes();
}

} // namespace zq::jpeg
