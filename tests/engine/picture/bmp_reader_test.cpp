#include "bmp_test_files.h"

#include "errors/engine_error.h"
#include "picture/bmp_reader.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using bmptest::BmpFields;
using bmptest::buildFile;
using bmptest::bytes;
using zq::Bitmap;

namespace {

const QRgb red = qRgb(255, 0, 0);
const QRgb green = qRgb(0, 255, 0);
const QRgb blue = qRgb(0, 0, 255);

std::vector<uint32_t> rawRow(const Bitmap &b, int y)
{
    std::vector<uint32_t> values;
    for (int x = 0; x < b.width(); ++x)
        values.push_back(b.rawPixel(x, y));
    return values;
}

BmpFields rle8(int width, int height, QByteArray data)
{
    BmpFields s;
    s.width = width;
    s.height = height;
    s.bitsPerPixel = 8;
    s.compression = 1;
    s.palette = {qRgb(0, 0, 0), red, green, blue};
    s.pixels = std::move(data);
    return s;
}

} // namespace

TEST(BmpReader, CoreHeaderTrueColourRowsComeBottomUp)
{
    BmpFields s;
    s.headerSize = 12;
    s.width = 2;
    s.height = 2;
    // Bottom row first, BGR, each row padded to 8 bytes.
    s.pixels = bytes({1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0});
    const Bitmap b = zq::readBmp(buildFile(s));
    EXPECT_EQ(b.format().header, zq::BmpHeaderKind::Core);
    EXPECT_EQ(b.format().bitsPerPixel, 24);
    EXPECT_EQ(b.pixel(0, 0), qRgb(9, 8, 7));
    EXPECT_EQ(b.pixel(1, 0), qRgb(12, 11, 10));
    EXPECT_EQ(b.pixel(0, 1), qRgb(3, 2, 1));
    EXPECT_EQ(b.pixel(1, 1), qRgb(6, 5, 4));
}

TEST(BmpReader, Rle8RunsAbsoluteRunsDeltaAndEarlyEnds)
{
    // Bottom row: a run of three 1s, an absolute run 2 1 2 (padded), end of line; then a delta
    // of (2, 1) skips the middle row; a run of two 2s; end of bitmap.
    const QByteArray data = bytes({3, 1, 0, 3, 2, 1, 2, 0, 0, 0, 0, 2, 2, 1, 2, 2, 0, 1});
    const Bitmap b = zq::readBmp(buildFile(rle8(6, 3, data)));
    EXPECT_EQ(b.format().compression, zq::BmpCompression::Rle8);
    EXPECT_EQ(rawRow(b, 2), (std::vector<uint32_t>{1, 1, 1, 2, 1, 2}));
    EXPECT_EQ(rawRow(b, 1), (std::vector<uint32_t>{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rawRow(b, 0), (std::vector<uint32_t>{0, 0, 2, 2, 0, 0}));
}

TEST(BmpReader, Rle4NibblesAndPadding)
{
    BmpFields s = rle8(10, 2, {});
    s.bitsPerPixel = 4;
    s.compression = 2;
    s.palette.resize(6, qRgb(9, 9, 9));
    // Run of five alternating 1 2; absolute run of five nibbles in three bytes plus a pad byte;
    // end of line; a run past the right edge, cut there; end of bitmap.
    s.pixels = bytes({5, 0x12, 0, 5, 0x34, 0x53, 0x40, 0, 0, 0, 12, 0x33, 0, 1});
    const Bitmap b = zq::readBmp(buildFile(s));
    EXPECT_EQ(rawRow(b, 1), (std::vector<uint32_t>{1, 2, 1, 2, 1, 3, 4, 5, 3, 4}));
    EXPECT_EQ(rawRow(b, 0), (std::vector<uint32_t>(10, 3)));
}

TEST(BmpReader, MissingEndOfBitmapIsForgivenOnlyAfterTheLastRow)
{
    EXPECT_NO_THROW(zq::readBmp(buildFile(rle8(2, 1, bytes({2, 1, 0, 0})))));
    EXPECT_THROW(zq::readBmp(buildFile(rle8(2, 2, bytes({2, 1, 0, 0})))), zq::EngineError);
}

TEST(BmpReader, RefusesWhatIsNoSoundBitmap)
{
    BmpFields good;
    good.bitsPerPixel = 8;
    good.width = 2;
    good.height = 2;
    good.palette = {red, green};
    good.pixels = bytes({0, 1, 0, 0, 1, 0, 0, 0});
    ASSERT_NO_THROW(zq::readBmp(buildFile(good)));

    const std::vector<std::pair<const char *, std::function<void(BmpFields &)>>> broken = {
        {"OS/2 v2 header", [](BmpFields &s) { s.headerSize = 64; }},
        {"odd header size", [](BmpFields &s) { s.headerSize = 66; }},
        {"two planes", [](BmpFields &s) { s.planes = 2; }},
        {"two bits per pixel", [](BmpFields &s) { s.bitsPerPixel = 2; }},
        {"64 bits per pixel", [](BmpFields &s) { s.bitsPerPixel = 64; }},
        {"negative width", [](BmpFields &s) { s.width = -2; }},
        {"height of INT_MIN", [](BmpFields &s) { s.height = INT_MIN; }},
        {"index past the table", [](BmpFields &s) { s.pixels[1] = 2; }},
        {"table longer than the room before the pixels", [](BmpFields &s) { s.coloursUsed = 200; }},
        {"empty table", [](BmpFields &s) { s.coloursUsed = 0, s.palette = {}, s.dataOffset = 54; }},
        {"pixels past the end", [](BmpFields &s) { s.pixels.chop(4); }},
        {"data offset inside the header", [](BmpFields &s) { s.dataOffset = 20; }},
        {"huge picture in a small file", [](BmpFields &s) { s.width = 60000, s.height = 60000; }},
        {"RLE8 at four bits", [](BmpFields &s) { s.bitsPerPixel = 4, s.compression = 1; }},
        {"RLE4 at eight bits", [](BmpFields &s) { s.compression = 2; }},
        {"JPEG payload", [](BmpFields &s) { s.compression = 4; }},
        {"bit fields at eight bits",
         [](BmpFields &s) {
             s.compression = 3, s.masks = {0xE0, 0x1C, 0x03};
         }},
    };
    for (const auto &[what, spoil] : broken) {
        BmpFields s = good;
        spoil(s);
        try {
            zq::readBmp(buildFile(s));
            ADD_FAILURE() << what << ": was read";
        } catch (const zq::EngineError &e) {
            EXPECT_EQ(e.message(), "Bitmap image is not valid") << what;
        }
    }

    QByteArray offsetPastEnd = buildFile(good);
    offsetPastEnd[11] = 0x10; // data offset 4096 + 62
    EXPECT_THROW(zq::readBmp(offsetPastEnd), zq::EngineError);

    QByteArray badSignature = buildFile(good);
    badSignature[1] = 'A';
    EXPECT_THROW(zq::readBmp(badSignature), zq::EngineError);
    EXPECT_THROW(zq::readBmp(QByteArray()), zq::EngineError);
}

TEST(BmpReader, RefusesUnsoundMasksAndRleData)
{
    const std::vector<std::pair<const char *, std::vector<uint32_t>>> masks = {
        {"overlapping", {0xFF00, 0x0FF0, 0x000F}},
        {"not one run of bits", {0xF00F, 0x0F00, 0x00F0}},
        {"past sixteen bits", {0x1F0000, 0x07E0, 0x001F}},
    };
    for (const auto &[what, m] : masks) {
        BmpFields s;
        s.bitsPerPixel = 16;
        s.compression = 3;
        s.masks = m;
        s.pixels = bytes({0, 0, 0, 0});
        EXPECT_THROW(zq::readBmp(buildFile(s)), zq::EngineError) << what;
    }

    const std::vector<std::pair<const char *, BmpFields>> rle = {
        {"pixel after the last row", rle8(2, 1, bytes({0, 0, 1, 1, 0, 1}))},
        {"delta past the bottom", rle8(2, 2, bytes({0, 2, 0, 3, 0, 1}))},
        {"delta past the right edge", rle8(2, 2, bytes({0, 2, 3, 0, 0, 1}))},
        {"index past the table", rle8(2, 1, bytes({2, 4, 0, 1}))},
        {"absolute run cut by the end", rle8(8, 1, bytes({0, 6, 1, 1, 1}))},
        {"delta cut by the end", rle8(8, 1, bytes({0, 2, 1}))},
        {"picture over the RLE ceiling", rle8(20000, 20000, bytes({0, 1}))},
    };
    for (const auto &[what, s] : rle)
        EXPECT_THROW(zq::readBmp(buildFile(s)), zq::EngineError) << what;

    BmpFields topDown = rle8(2, -1, bytes({2, 1, 0, 1}));
    EXPECT_THROW(zq::readBmp(buildFile(topDown)), zq::EngineError);
}

TEST(BmpReader, FileThatCannotBeOpenedNamesPathAndReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("zqLOG.bmp");
    try {
        zq::readBmpFile(path);
        FAIL() << "missing file was read";
    } catch (const zq::EngineError &e) {
        const QString prefix = "Cannot open file \"" + path + "\". ";
        EXPECT_TRUE(e.message().startsWith(prefix)) << e.message().toStdString();
        EXPECT_GT(e.message().size(), prefix.size());
    }
}
