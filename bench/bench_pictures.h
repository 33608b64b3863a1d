#pragma once

// Synthetic pictures for the benchmarks: smooth gradients with some texture, so that the
// codecs do work of a realistic kind.

#include <QByteArray>

#include <chrono>
#include <cstdint>
#include <vector>

namespace bench {

// Interleaved 8-bit samples, top-down, no padding.
std::vector<uint8_t> syntheticRgb(int width, int height);
std::vector<uint8_t> syntheticRgba(int width, int height);

QByteArray encodeJpegRgb(const std::vector<uint8_t> &rgb, int width, int height, bool progressive);
QByteArray encodePngRgba(const std::vector<uint8_t> &rgba, int width, int height);

// Seconds taken by f.
template <typename F> double seconds(F &&f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace bench
