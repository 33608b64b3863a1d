#include "picture/jpeg_session.h"

#include "errors/engine_error.h"
#include "errors/error_texts.h"

#include <cstdlib>
#include <cstring>

#include <jerror.h>

namespace zq::jpeg {

namespace {

[[noreturn]] void errorExit(j_common_ptr info)
{
    auto *error = reinterpret_cast<ErrorManager *>(info->err);
    if (error->jump)
        std::longjmp(*error->jump, 1);
    // Every libjpeg call that can fail runs under guardedCall; anything else is a bug here.
    std::abort();
}

// Shows nothing; a warning (level -1) is counted, and the first one's text kept.
void noteMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return;
    auto *error = reinterpret_cast<ErrorManager *>(info->err);
    if (error->mgr.num_warnings++ == 0)
        error->mgr.format_message(info, error->firstWarning);
}

void ignoreOutput(j_common_ptr) {}

void initDestination(j_compress_ptr info)
{
    auto *dest = reinterpret_cast<MemoryDestination *>(info->dest);
    if (!dest->buffer) {
        dest->buffer = static_cast<JOCTET *>(std::malloc(dest->capacity));
        if (!dest->buffer)
            ERREXIT1(info, JERR_OUT_OF_MEMORY, 10);
    }
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = dest->capacity;
}

boolean emptyOutputBuffer(j_compress_ptr info)
{
    auto *dest = reinterpret_cast<MemoryDestination *>(info->dest);
    const size_t used = dest->capacity;
    const size_t grown = used * 2;
    auto *bigger = static_cast<JOCTET *>(std::realloc(dest->buffer, grown));
    if (!bigger)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 10);
    dest->buffer = bigger;
    dest->capacity = grown;
    dest->pub.next_output_byte = bigger + used;
    dest->pub.free_in_buffer = grown - used;
    return TRUE;
}

void termDestination(j_compress_ptr) {}

} // namespace

jpeg_error_mgr *installErrorManager(ErrorManager &error)
{
    jpeg_std_error(&error.mgr);
    error.mgr.error_exit = errorExit;
    error.mgr.emit_message = noteMessage;
    error.mgr.output_message = ignoreOutput;
    error.jump = nullptr;
    error.firstWarning[0] = '\0';
    return &error.mgr;
}

int guardedCall(ErrorManager &error, Step step, void *context)
{
    std::jmp_buf jump;
    error.jump = &jump;
    if (setjmp(jump) != 0) {
        error.jump = nullptr;
        // libjpeg always names its error; never report success for a failure.
        return error.mgr.msg_code != 0 ? error.mgr.msg_code : -1;
    }
    step(context);
    error.jump = nullptr;
    return 0;
}

Decompressor::Decompressor(const QByteArray &data)
{
    std::memset(&m_info, 0, sizeof m_info);
    m_info.err = installErrorManager(m_error);
    struct Start {
        jpeg_decompress_struct *info;
        const QByteArray *data;
    } start{&m_info, &data};
    const int code = guardedCall(
        m_error,
        [](void *c) {
            auto *s = static_cast<Start *>(c);
            jpeg_create_decompress(s->info);
            jpeg_mem_src(s->info, reinterpret_cast<const unsigned char *>(s->data->constData()),
                         static_cast<unsigned long>(s->data->size()));
        },
        &start);
    if (code != 0) {
        jpeg_destroy_decompress(&m_info);
        throw EngineError(errors::jpegError(code));
    }
}

Decompressor::~Decompressor()
{
    jpeg_destroy_decompress(&m_info);
}

void Decompressor::run(Step step, void *context)
{
    const int code = guardedCall(m_error, step, context);
    if (code != 0)
        throw EngineError(errors::jpegError(code));
}

void Decompressor::readHeader()
{
    run([](void *c) { jpeg_read_header(static_cast<jpeg_decompress_struct *>(c), TRUE); }, &m_info);
}

Compressor::Compressor(size_t sizeHint)
{
    std::memset(&m_info, 0, sizeof m_info);
    m_info.err = installErrorManager(m_error);
    const int code = guardedCall(
        m_error, [](void *c) { jpeg_create_compress(static_cast<jpeg_compress_struct *>(c)); }, &m_info);
    if (code != 0) {
        jpeg_destroy_compress(&m_info);
        throw EngineError(errors::jpegError(code));
    }
    m_destination.capacity = sizeHint < 4096 ? 4096 : sizeHint;
    m_destination.pub.init_destination = initDestination;
    m_destination.pub.empty_output_buffer = emptyOutputBuffer;
    m_destination.pub.term_destination = termDestination;
    m_info.dest = &m_destination.pub;
}

Compressor::~Compressor()
{
    jpeg_destroy_compress(&m_info);
    std::free(m_destination.buffer);
}

void Compressor::run(Step step, void *context)
{
    const int code = guardedCall(m_error, step, context);
    if (code != 0)
        throw EngineError(errors::jpegError(code));
}

QByteArray Compressor::bytes() const
{
    if (!m_destination.buffer)
        return {};
    const size_t size = m_destination.capacity - m_destination.pub.free_in_buffer;
    return QByteArray(reinterpret_cast<const char *>(m_destination.buffer), qsizetype(size));
}

} // namespace zq::jpeg
