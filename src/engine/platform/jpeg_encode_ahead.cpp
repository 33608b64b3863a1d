#include "platform/jpeg_encode_ahead.h"

#include "platform/jpeg_encoder.h"

namespace zq {

JpegEncodeAhead::JpegEncodeAhead(bool progressive)
    : m_progressive(progressive)
{}

JpegEncodeAhead::~JpegEncodeAhead()
{
    cancel();
}

void JpegEncodeAhead::begin(const Bitmap &bitmap) noexcept
{
    if (m_worker.joinable() || bitmap.format().bitsPerPixel != 24 || bitmap.isEmpty())
        return;
    m_pixels = bitmap.row(0);
    m_stride = bitmap.stride();
    m_width = bitmap.width();
    m_height = bitmap.height();
    try {
        m_worker = std::thread([this] { work(); });
    } catch (...) {
        // No second thread: the save encodes as it always did.
    }
}

void JpegEncodeAhead::rowsDone(int rows) noexcept
{
    {
        const std::lock_guard lock(m_mutex);
        m_rowsDone = rows;
    }
    m_changed.notify_one();
}

void JpegEncodeAhead::cancel() noexcept
{
    {
        const std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    m_changed.notify_one();
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
        m_bytes = jpeg::encodeRows(m_width, m_height, m_progressive, &JpegEncodeAhead::fetchRow, this);
    } catch (...) {
        // Left unmade; the save's own encode meets the same error and reports it.
        m_bytes.reset();
    }
}

} // namespace zq
