#include "picture/png_samples.h"

#include <cmath>
#include <cstring>

namespace zq::png {

namespace {

inline uint16_t stored16(const uint8_t *p)
{
    return uint16_t((p[0] << 8) | p[1]);
}

inline void put(uint8_t *out, int r, int g, int b, int a)
{
    out[0] = uint8_t(b);
    out[1] = uint8_t(g);
    out[2] = uint8_t(r);
    out[3] = uint8_t(a);
}

// Palette indices and grey levels of 1, 2, 4 or 8 bits, through the lookup table.
void convertPacked(const SampleRules &rules, const uint8_t *raw, uint8_t *out, int width)
{
    const int depth = rules.bitDepth;
    if (depth == 8) {
        for (int x = 0; x < width; ++x, out += 4)
            std::memcpy(out, rules.lookup[raw[x]].data(), 4);
        return;
    }
    const int mask = (1 << depth) - 1;
    for (int x = 0; x < width; ++x, out += 4) {
        const int bit = x * depth;
        const int value = (raw[bit >> 3] >> (8 - depth - (bit & 7))) & mask;
        std::memcpy(out, rules.lookup[size_t(value)].data(), 4);
    }
}

void convertGrey16(const SampleRules &rules, const uint8_t *raw, uint8_t *out, int width)
{
    for (int x = 0; x < width; ++x, raw += 2, out += 4) {
        const int v = rules.gamma[raw[0]];
        const bool clear = rules.keyed && stored16(raw) == rules.keyGrey;
        put(out, v, v, v, clear ? 0 : 255);
    }
}

void convertRgb(const SampleRules &rules, const uint8_t *raw, uint8_t *out, int width)
{
    const auto &g = rules.gamma;
    if (rules.bitDepth == 8) {
        for (int x = 0; x < width; ++x, raw += 3, out += 4) {
            const bool clear =
                rules.keyed && raw[0] == rules.keyRed && raw[1] == rules.keyGreen && raw[2] == rules.keyBlue;
            put(out, g[raw[0]], g[raw[1]], g[raw[2]], clear ? 0 : 255);
        }
        return;
    }
    for (int x = 0; x < width; ++x, raw += 6, out += 4) {
        const bool clear = rules.keyed && stored16(raw) == rules.keyRed &&
                           stored16(raw + 2) == rules.keyGreen && stored16(raw + 4) == rules.keyBlue;
        put(out, g[raw[0]], g[raw[2]], g[raw[4]], clear ? 0 : 255);
    }
}

// The grey of a grey-with-alpha picture is used as stored, without gamma.
void convertGreyAlpha(const SampleRules &rules, const uint8_t *raw, uint8_t *out, int width)
{
    const int step = rules.bitDepth == 16 ? 2 : 1;
    for (int x = 0; x < width; ++x, raw += 2 * step, out += 4)
        put(out, raw[0], raw[0], raw[0], raw[step]);
}

void convertRgbAlpha(const SampleRules &rules, const uint8_t *raw, uint8_t *out, int width)
{
    const auto &g = rules.gamma;
    if (rules.bitDepth == 8) {
        for (int x = 0; x < width; ++x, raw += 4, out += 4) {
            out[0] = g[raw[2]];
            out[1] = g[raw[1]];
            out[2] = g[raw[0]];
            out[3] = raw[3];
        }
        return;
    }
    for (int x = 0; x < width; ++x, raw += 8, out += 4)
        put(out, g[raw[0]], g[raw[2]], g[raw[4]], raw[6]);
}

} // namespace

PngMode modeOf(PngColourType colourType, bool hasTransparency)
{
    switch (colourType) {
    case PngColourType::GreyAlpha:
    case PngColourType::RgbAlpha:
        return PngMode::Blend;
    case PngColourType::Palette:
        return hasTransparency ? PngMode::Blend : PngMode::Copy;
    case PngColourType::Grey:
    case PngColourType::Rgb:
        break;
    }
    return hasTransparency ? PngMode::ColourKey : PngMode::Copy;
}

std::array<uint8_t, 256> gammaTable(int gamma)
{
    std::array<uint8_t, 256> table{};
    const double exponent = gamma > 0 ? 1.0 / (gamma / 100000.0 * 2.2) : 1.0;
    for (int v = 0; v < 256; ++v) {
        const double mapped = gamma > 0 ? 255.0 * std::pow(v / 255.0, exponent) : double(v);
        table[size_t(v)] = uint8_t(std::lround(std::fmin(std::fmax(mapped, 0.0), 255.0)));
    }
    return table;
}

SampleRules sampleRules(const PngFacts &facts)
{
    SampleRules rules;
    rules.colourType = facts.colourType;
    rules.bitDepth = facts.bitDepth;
    rules.mode = modeOf(facts.colourType, facts.hasTransparency);
    rules.gamma = gammaTable(facts.gamma);
    rules.keyed = rules.mode == PngMode::ColourKey;
    rules.keyGrey = facts.keyGrey;
    rules.keyRed = facts.keyRed;
    rules.keyGreen = facts.keyGreen;
    rules.keyBlue = facts.keyBlue;

    if (facts.colourType == PngColourType::Palette) {
        for (size_t i = 0; i < 256; ++i) {
            // An index past the palette has no colour of its own: black.
            const QRgb colour = i < facts.palette.size() ? facts.palette[i] : qRgb(0, 0, 0);
            const int alpha =
                rules.mode == PngMode::Blend && i < facts.paletteAlpha.size() ? facts.paletteAlpha[i] : 255;
            put(rules.lookup[i].data(), rules.gamma[size_t(qRed(colour))],
                rules.gamma[size_t(qGreen(colour))], rules.gamma[size_t(qBlue(colour))], alpha);
        }
    } else if (facts.colourType == PngColourType::Grey && facts.bitDepth <= 8) {
        const int levels = 1 << facts.bitDepth;
        const int scale = 255 / (levels - 1); // 255, 85, 17 or 1
        for (int level = 0; level < levels; ++level) {
            const int v = rules.gamma[size_t(level * scale)];
            const bool clear = rules.keyed && level == facts.keyGrey;
            put(rules.lookup[size_t(level)].data(), v, v, v, clear ? 0 : 255);
        }
    }
    return rules;
}

void convertRow(const SampleRules &rules, const uint8_t *raw, uint8_t *out, int width)
{
    switch (rules.colourType) {
    case PngColourType::Palette:
        convertPacked(rules, raw, out, width);
        break;
    case PngColourType::Grey:
        if (rules.bitDepth == 16)
            convertGrey16(rules, raw, out, width);
        else
            convertPacked(rules, raw, out, width);
        break;
    case PngColourType::Rgb:
        convertRgb(rules, raw, out, width);
        break;
    case PngColourType::GreyAlpha:
        convertGreyAlpha(rules, raw, out, width);
        break;
    case PngColourType::RgbAlpha:
        convertRgbAlpha(rules, raw, out, width);
        break;
    }
}

} // namespace zq::png
