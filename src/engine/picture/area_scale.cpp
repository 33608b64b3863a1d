#include "picture/area_scale.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace zq {

namespace {

// How one target column (or row) draws on the source: the source indices it covers and the
// weight of each, in parts of `whole` (the source length), summing to the target length's
// share. Exact integer weights keep a plain area exactly its colour.
struct Span {
    int first = 0;
    std::vector<std::int64_t> weights;
};

// Target cell t covers [t * n, (t + 1) * n) in units of 1/m of a source pixel, where n is
// the source length and m the target length; source pixel s covers [s * m, (s + 1) * m).
std::vector<Span> spans(int sourceLength, int targetLength)
{
    std::vector<Span> result(static_cast<size_t>(targetLength));
    const std::int64_t n = sourceLength;
    const std::int64_t m = targetLength;
    for (std::int64_t t = 0; t < m; ++t) {
        const std::int64_t begin = t * n;
        const std::int64_t end = begin + n;
        Span &span = result[size_t(t)];
        span.first = int(begin / m);
        for (std::int64_t s = span.first; s * m < end; ++s)
            span.weights.push_back(std::min(end, (s + 1) * m) - std::max(begin, s * m));
    }
    return result;
}

} // namespace

Bitmap areaScaleDown(const Bitmap &source, int width, int height)
{
    if (width < 1 || height < 1 || width > source.width() || height > source.height())
        throw std::invalid_argument("areaScaleDown only shrinks");
    const std::vector<Span> columns = spans(source.width(), width);
    const std::vector<Span> rows = spans(source.height(), height);
    // Weights of a column sum to the source width, of a row to the source height.
    const std::uint64_t whole = std::uint64_t(source.width()) * std::uint64_t(source.height());

    Bitmap target(width, height, BitmapFormat::rgb24());
    std::vector<QRgb> line(static_cast<size_t>(source.width()));
    // Per target column, the sums of the source rows read so far, weighted across.
    const size_t n = static_cast<size_t>(width);
    std::vector<std::uint64_t> red(n), green(n), blue(n);
    for (int ty = 0; ty < height; ++ty) {
        std::fill(red.begin(), red.end(), 0);
        std::fill(green.begin(), green.end(), 0);
        std::fill(blue.begin(), blue.end(), 0);
        const Span &row = rows[size_t(ty)];
        for (size_t i = 0; i < row.weights.size(); ++i) {
            const int sy = row.first + int(i);
            source.readRgbRow(sy, 0, source.width(), line.data());
            const std::uint64_t rowWeight = std::uint64_t(row.weights[i]);
            for (int tx = 0; tx < width; ++tx) {
                const Span &column = columns[size_t(tx)];
                std::uint64_t r = 0, g = 0, b = 0;
                for (size_t j = 0; j < column.weights.size(); ++j) {
                    const QRgb c = line[size_t(column.first) + j];
                    const std::uint64_t w = std::uint64_t(column.weights[j]);
                    r += w * std::uint64_t(qRed(c));
                    g += w * std::uint64_t(qGreen(c));
                    b += w * std::uint64_t(qBlue(c));
                }
                red[size_t(tx)] += r * rowWeight;
                green[size_t(tx)] += g * rowWeight;
                blue[size_t(tx)] += b * rowWeight;
            }
        }
        std::uint8_t *out = target.row(ty);
        for (int tx = 0; tx < width; ++tx, out += 3) {
            out[0] = std::uint8_t((blue[size_t(tx)] + whole / 2) / whole);
            out[1] = std::uint8_t((green[size_t(tx)] + whole / 2) / whole);
            out[2] = std::uint8_t((red[size_t(tx)] + whole / 2) / whole);
        }
    }
    return target;
}

} // namespace zq
