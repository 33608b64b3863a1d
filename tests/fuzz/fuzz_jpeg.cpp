// A JPEG that decodes is encoded again; the encoding's header gives the same size, and the
// encode made while decoding gives the same bytes as the encode made afterwards.
#include "fuzz_support.h"

#include "errors/engine_error.h"
#include "picture/jpeg_codec.h"
#include "picture/jpeg_encode_ahead.h"

#include <optional>

namespace {

// Past this many pixels a run is slow enough to starve the search; such frames are skipped
// by the target, not by the codec.
constexpr qint64 pixelBudget = qint64(1) << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace zq;
    JpegCodec codec;
    try {
        codec.loadData(fuzz::bytesOf(data, size));
    } catch (const EngineError &) {
        return 0;
    }
    if (qint64(codec.width()) * codec.height() > pixelBudget)
        return 0;

    const unsigned choice = fuzz::lastByte(data, size);
    const bool lowColour = choice & 1;
    Bitmap bitmap;
    std::optional<QByteArray> ahead;
    try {
        if (choice & 2) {
            JpegEncodeAhead encodeAhead(codec.isProgressive());
            bitmap = codec.decode(lowColour, &encodeAhead);
            ahead = encodeAhead.bytes();
        } else {
            bitmap = codec.decode(lowColour);
        }
    } catch (const EngineError &) {
        return 0;
    }
    fuzz::check(bitmap.width() == codec.width() && bitmap.height() == codec.height(),
                "the decoded picture differs from the header's size");

    QByteArray encoded;
    try {
        encoded = codec.encode(bitmap);
    } catch (const EngineError &) {
        fuzz::fail("a decoded picture does not encode");
    }
    if (ahead)
        fuzz::check(*ahead == encoded, "the encode made while decoding differs from the later one");

    JpegCodec again;
    try {
        again.loadData(encoded);
    } catch (const EngineError &) {
        fuzz::fail("the encoded picture does not read back");
    }
    fuzz::check(again.width() == bitmap.width() && again.height() == bitmap.height(),
                "the encoded picture reads back at another size");
    return 0;
}
