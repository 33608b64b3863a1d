#include "picture/jpeg_encode_ahead.h"

#include "picture/jpeg_encoder.h"

namespace zq {

JpegEncodeAhead::JpegEncodeAhead(bool progressive)
    : m_progressive(progressive)
{}

JpegEncodeAhead::~JpegEncodeAhead()
{
    cancel();
}

void JpegEncodeAhead::begin(int width, int height) noexcept
{
    if (m_worker.joinable() || width <= 0 || height <= 0)
        return;
    m_width = width;
    m_height = height;
    m_bitmapState = BitmapState::Pending;
    try {
        m_worker = std::thread([this] { work(); });
    } catch (...) {
        // No second thread: the save encodes as it always did.
        m_bitmapState = BitmapState::Missing;
    }
}

Bitmap JpegEncodeAhead::takeBitmap()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_bitmapState != BitmapState::Pending; });
    if (m_bitmapState != BitmapState::Ready)
        return {};
    m_bitmapState = BitmapState::Taken;
    return std::move(m_bitmap);
}

void JpegEncodeAhead::rowsDone(int rows) noexcept
{
    {
        const std::lock_guard lock(m_mutex);
        m_rowsDone = rows;
    }
    m_changed.notify_all();
}

void JpegEncodeAhead::cancel() noexcept
{
    {
        const std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
    m_bytes.reset();
}

std::optional<QByteArray> JpegEncodeAhead::bytes()
{
    if (m_worker.joinable())
        m_worker.join();
    return m_bytes;
}

const uint8_t *JpegEncodeAhead::fetchRow(void *context, int y) noexcept
{
    auto *self = static_cast<JpegEncodeAhead *>(context);
    std::unique_lock lock(self->m_mutex);
    self->m_changed.wait(lock, [&] { return self->m_cancelled || self->m_rowsDone > y; });
    if (self->m_cancelled)
        return nullptr;
    return self->m_pixels + qsizetype(y) * self->m_stride;
}

void JpegEncodeAhead::work() noexcept
{
    try {
        // Filling the new bitmap here brings its memory in off the decoder's path.
        Bitmap made(m_width, m_height, BitmapFormat::rgb24(), Bitmap::Fill::Zero);
        {
            const std::lock_guard lock(m_mutex);
            m_pixels = made.row(0);
            m_stride = made.stride();
            m_bitmap = std::move(made);
            m_bitmapState = BitmapState::Ready;
        }
        m_changed.notify_all();
        m_bytes = jpeg::encodeRows(m_width, m_height, m_progressive, &JpegEncodeAhead::fetchRow, this);
    } catch (...) {
        // Left unmade; the save's own encode meets the same error and reports it.
        {
            const std::lock_guard lock(m_mutex);
            if (m_bitmapState == BitmapState::Pending)
                m_bitmapState = BitmapState::Missing;
        }
        m_changed.notify_all();
        m_bytes.reset();
    }
}

} // namespace zq
