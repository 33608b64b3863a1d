#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace zq::jpeg {

// Gives the encoder row y of the picture as BGR bytes, or null to stop the encode. Called
// between codec calls, so it must not throw.
using RowFetch = const uint8_t *(*)(void *context, int y);

// The background's encoding: libjpeg's defaults for RGB input, quality 90 with baseline
// tables, simple progression when asked. Rows are fetched in order, each once. Returns the
// file's bytes, or nothing when fetch stopped the encode. Codec errors raise EngineError.
std::optional<QByteArray> encodeRows(int width, int height, bool progressive, RowFetch fetch, void *context);

} // namespace zq::jpeg
