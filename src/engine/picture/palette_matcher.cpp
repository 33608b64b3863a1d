#include "picture/palette_matcher.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace zq {

namespace {

// Least and greatest squared distance along one channel from v to any value in [low, high].
void channelRange(int v, int low, int high, int &least, int &greatest)
{
    const int nearSide = v < low ? low - v : v > high ? v - high : 0;
    const int farSide = std::max(std::abs(v - low), std::abs(v - high));
    least = nearSide * nearSide;
    greatest = farSide * farSide;
}

} // namespace

std::vector<QRgb> usablePalette(const Bitmap &bitmap)
{
    const std::vector<QRgb> &palette = bitmap.format().palette;
    return {palette.begin(), palette.begin() + qsizetype(bitmap.usablePaletteSize())};
}

PaletteMatcher::PaletteMatcher(std::vector<QRgb> palette)
    : m_palette(std::move(palette))
    , m_cellAnswers(size_t(cellsPerSide) * cellsPerSide * cellsPerSide, -1)
{
    if (m_palette.size() > 256)
        m_palette.resize(256);
}

int PaletteMatcher::nearest(QRgb colour)
{
    if (m_palette.empty())
        return 0;
    const int r = qRed(colour), g = qGreen(colour), b = qBlue(colour);
    const int cell = ((r >> cellBits) * cellsPerSide + (g >> cellBits)) * cellsPerSide + (b >> cellBits);
    int32_t at = m_cellAnswers[size_t(cell)];
    if (at < 0)
        at = buildCell(cell, r, g, b);
    constexpr int mask = cellSide - 1;
    return m_answers[size_t(at) + size_t((((r & mask) << cellBits) | (g & mask)) << cellBits | (b & mask))];
}

// An entry can be nearest for some colour of the cell only if its least distance to the cell
// is within the smallest greatest distance of any entry: that entry is at least as near to
// every colour of the cell. Every entry tied for nearest passes the same test, and entries are
// tried in index order with a strict comparison, so ties go to the lowest index.
int32_t PaletteMatcher::buildCell(int cell, int red, int green, int blue)
{
    const int r0 = red & ~(cellSide - 1), g0 = green & ~(cellSide - 1), b0 = blue & ~(cellSide - 1);
    const size_t entries = m_palette.size();
    std::array<int, 256> least{};
    int bound = 0x7FFFFFFF;
    for (size_t i = 0; i < entries; ++i) {
        int lr, gr, lg, gg, lb, gb;
        channelRange(qRed(m_palette[i]), r0, r0 + cellSide - 1, lr, gr);
        channelRange(qGreen(m_palette[i]), g0, g0 + cellSide - 1, lg, gg);
        channelRange(qBlue(m_palette[i]), b0, b0 + cellSide - 1, lb, gb);
        least[i] = lr + lg + lb;
        bound = std::min(bound, gr + gg + gb);
    }

    std::array<int, cellColours> bestDistance;
    bestDistance.fill(0x7FFFFFFF);
    std::array<int, cellColours> best{};
    for (size_t i = 0; i < entries; ++i) {
        if (least[i] > bound)
            continue;
        std::array<int, cellSide> dr2, dg2, db2;
        for (int k = 0; k < cellSide; ++k) {
            const int dr = r0 + k - qRed(m_palette[i]);
            const int dg = g0 + k - qGreen(m_palette[i]);
            const int db = b0 + k - qBlue(m_palette[i]);
            dr2[size_t(k)] = dr * dr;
            dg2[size_t(k)] = dg * dg;
            db2[size_t(k)] = db * db;
        }
        for (int ri = 0; ri < cellSide; ++ri)
            for (int gi = 0; gi < cellSide; ++gi) {
                const int base = dr2[size_t(ri)] + dg2[size_t(gi)];
                const size_t row = size_t((ri * cellSide + gi) * cellSide);
                // Branch-free, so that the compiler can do the eight at once.
                for (int bi = 0; bi < cellSide; ++bi) {
                    const int d = base + db2[size_t(bi)];
                    const bool nearer = d < bestDistance[row + size_t(bi)];
                    bestDistance[row + size_t(bi)] = nearer ? d : bestDistance[row + size_t(bi)];
                    best[row + size_t(bi)] = nearer ? int(i) : best[row + size_t(bi)];
                }
            }
    }
    const int32_t at = int32_t(m_answers.size());
    m_answers.resize(m_answers.size() + cellColours);
    std::copy(best.begin(), best.end(), m_answers.begin() + at);
    m_cellAnswers[size_t(cell)] = at;
    return at;
}

} // namespace zq
