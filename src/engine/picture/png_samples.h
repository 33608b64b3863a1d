#pragma once

#include "picture/png_picture.h"

#include <array>
#include <cstdint>
#include <vector>

// Turning a PNG's stored rows into the 8-bit B, G, R, A pixels of a PngPicture.
namespace zq::png {

// What the file's header and chunks say about its samples.
struct PngFacts {
    PngColourType colourType = PngColourType::Rgb;
    int bitDepth = 8;
    int gamma = 0;                     // gAMA × 100000; 0 when absent
    std::vector<QRgb> palette;         // PLTE
    bool hasTransparency = false;      // tRNS
    std::vector<uint8_t> paletteAlpha; // tRNS of a palette picture
    uint16_t keyGrey = 0;              // tRNS of grey and RGB pictures, as stored
    uint16_t keyRed = 0;
    uint16_t keyGreen = 0;
    uint16_t keyBlue = 0;
};

struct SampleRules {
    PngColourType colourType = PngColourType::Rgb;
    int bitDepth = 8;
    PngMode mode = PngMode::Copy;
    std::array<uint8_t, 256> gamma{}; // applied to colour samples; identity without gAMA
    // Palette pictures and grey of 8 bits or fewer: the finished pixel of every stored value.
    std::array<std::array<uint8_t, 4>, 256> lookup{};
    bool keyed = false;
    uint16_t keyGrey = 0;
    uint16_t keyRed = 0;
    uint16_t keyGreen = 0;
    uint16_t keyBlue = 0;
};

PngMode modeOf(PngColourType colourType, bool hasTransparency);
// v -> 255 * (v / 255)^(1 / (G * 2.2)) to the nearest integer, G = gamma / 100000.
std::array<uint8_t, 256> gammaTable(int gamma);
SampleRules sampleRules(const PngFacts &facts);
// raw: one unfiltered row as stored; out: width pixels of B, G, R, A.
void convertRow(const SampleRules &rules, const uint8_t *raw, uint8_t *out, int width);

} // namespace zq::png
