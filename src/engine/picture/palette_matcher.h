#pragma once

#include "picture/bitmap.h"

#include <QRgb>

#include <cstdint>
#include <vector>

namespace zq {

// The nearest entry of a colour table, exactly as Bitmap::nearestPaletteIndex finds it
// (least squared distance, the lowest index on ties), for pictures with many colours. The
// colour cube is cut into cells of 8 x 8 x 8 colours. The first colour looked up in a cell
// answers the whole cell at once, comparing only the entries that can be nearest to some
// colour in it; later look-ups in the cell read the answer.
class PaletteMatcher {
public:
    // palette: the entries a bitmap may store, at most 256.
    explicit PaletteMatcher(std::vector<QRgb> palette);

    int nearest(QRgb colour);

private:
    static constexpr int cellBits = 3;
    static constexpr int cellSide = 1 << cellBits;
    static constexpr int cellColours = cellSide * cellSide * cellSide;
    static constexpr int cellsPerSide = 256 >> cellBits;

    int32_t buildCell(int cell, int red, int green, int blue);

    std::vector<QRgb> m_palette;
    std::vector<int32_t> m_cellAnswers; // into m_answers; -1 until the cell is first used
    std::vector<uint8_t> m_answers;     // per answered cell, its colours in red, green, blue order
};

// The colour-table entries a bitmap can store, for its matcher.
std::vector<QRgb> usablePalette(const Bitmap &bitmap);

} // namespace zq
