#pragma once

// libjpeg reports errors by calling an exit routine that must not return. We leave it with
// longjmp, and keep every setjmp inside one small function whose frame, and the frames of the
// steps it runs, hold no C++ objects: the jump then skips only libjpeg's C frames and plain
// code. The sessions below own the libjpeg structures and free them in their destructors, so
// an error raised as an exception afterwards leaks nothing.

#include <QByteArray>

#include <csetjmp>
#include <cstddef>
#include <cstdio> // jpeglib.h needs FILE and size_t first

#include <jpeglib.h>

namespace zq::jpeg {

// A step run under the error guard. It must own no objects with destructors and must not
// throw: a codec error jumps straight out of it.
using Step = void (*)(void *context);

struct ErrorManager {
    jpeg_error_mgr mgr; // first member: libjpeg only sees this part
    std::jmp_buf *jump = nullptr;
    // The first warning's text; mgr.num_warnings counts them all.
    char firstWarning[JMSG_LENGTH_MAX] = {};
};

// Installs the exit routine that jumps back to the guard and silences warnings, counting them.
jpeg_error_mgr *installErrorManager(ErrorManager &error);

// Runs step(context); returns 0, or libjpeg's message number if the codec stopped with an error.
int guardedCall(ErrorManager &error, Step step, void *context);

class Decompressor {
public:
    // Reads from data, which must outlive the session.
    explicit Decompressor(const QByteArray &data);
    ~Decompressor();
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;

    jpeg_decompress_struct &info() { return m_info; }
    // Runs a step; a codec error raises EngineError "JPEG error #n".
    void run(Step step, void *context);
    // jpeg_read_header, guarded.
    void readHeader();
    // Warnings so far (data cut short, corrupt data), and the first one's text.
    long warnings() const { return m_error.mgr.num_warnings; }
    const char *firstWarning() const { return m_error.firstWarning; }

private:
    ErrorManager m_error;
    jpeg_decompress_struct m_info;
};

// Grows a malloc'ed buffer as libjpeg writes; freed by the session that owns it.
struct MemoryDestination {
    jpeg_destination_mgr pub; // first member: libjpeg only sees this part
    JOCTET *buffer = nullptr;
    size_t capacity = 0;
};

class Compressor {
public:
    // sizeHint: a guess of the compressed size, to spare reallocations.
    explicit Compressor(size_t sizeHint);
    ~Compressor();
    Compressor(const Compressor &) = delete;
    Compressor &operator=(const Compressor &) = delete;

    jpeg_compress_struct &info() { return m_info; }
    void run(Step step, void *context);
    // The bytes written so far (all of them after jpeg_finish_compress).
    QByteArray bytes() const;

private:
    ErrorManager m_error;
    MemoryDestination m_destination;
    jpeg_compress_struct m_info;
};

} // namespace zq::jpeg
