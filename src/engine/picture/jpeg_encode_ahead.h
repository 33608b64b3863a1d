#pragma once

#include "picture/bitmap.h"

#include <QByteArray>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace zq {

// Encodes a 24-bit picture for its save while the picture is still being decoded. A worker
// thread makes the bitmap the decoder writes into, while the decoder is still reading the
// file's scans, then takes each row as soon as the decoder has written it: decoding and
// encoding overlap, and the encode runs on while the caller does other work. The bytes are
// those JpegCodec::encode writes for the same pixels.
//
// The worker reads the rows straight from the bitmap's pixel buffer, which travels with the
// bitmap when it is moved: until this object is cancelled or destroyed, whoever holds the
// decoded bitmap must neither change nor free it.
class JpegEncodeAhead {
public:
    explicit JpegEncodeAhead(bool progressive);
    ~JpegEncodeAhead();
    JpegEncodeAhead(const JpegEncodeAhead &) = delete;
    JpegEncodeAhead &operator=(const JpegEncodeAhead &) = delete;

    // For the decoder, before it reads the scans: starts the worker on a picture of this size.
    void begin(int width, int height) noexcept;
    // Waits for the bitmap the worker made. Empty when there is none (no thread, no memory):
    // the decoder then makes its own and nothing is encoded ahead.
    Bitmap takeBitmap();
    // Rows [0, rows) of that bitmap now hold their final pixels.
    void rowsDone(int rows) noexcept;
    // Stops the encode and waits until the worker has left the rows alone.
    void cancel() noexcept;

    // Waits for the encode. Nothing when it was not made (not begun, cancelled, or failed:
    // an encode at save time then reports the codec's error as usual).
    std::optional<QByteArray> bytes();

private:
    enum class BitmapState { Pending, Ready, Taken, Missing };

    static const uint8_t *fetchRow(void *context, int y) noexcept;
    void work() noexcept;

    const bool m_progressive;
    int m_width = 0;
    int m_height = 0;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    // Guarded by m_mutex:
    BitmapState m_bitmapState = BitmapState::Missing;
    Bitmap m_bitmap;
    const uint8_t *m_pixels = nullptr;
    qsizetype m_stride = 0;
    int m_rowsDone = 0;
    bool m_cancelled = false;

    std::optional<QByteArray> m_bytes; // written by the worker, read after joining it
    std::thread m_worker;
};

} // namespace zq
