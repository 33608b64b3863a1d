#include "errors/engine_error.h"
#include "picture/bmp_reader.h"
#include "picture/bmp_writer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using zq::Bitmap;
using zq::BitmapFormat;
using zq::BmpCompression;
using zq::BmpHeaderKind;

namespace {

uint32_t at16(const QByteArray &b, int i)
{
    return uint32_t(uint8_t(b[i])) | uint32_t(uint8_t(b[i + 1])) << 8;
}

uint32_t at32(const QByteArray &b, int i)
{
    return at16(b, i) | at16(b, i + 2) << 16;
}

BitmapFormat formatOf(int bpp, BmpHeaderKind header, BmpCompression compression = BmpCompression::Rgb,
                      std::array<uint32_t, 3> masks = {})
{
    BitmapFormat f;
    f.bitsPerPixel = bpp;
    f.header = header;
    f.compression = compression;
    f.masks = masks;
    if (bpp <= 8) {
        for (int i = 0; i < (1 << bpp) - 1; ++i) // one entry short of the depth's
            f.palette.push_back(qRgb(i * 13 % 256, i * 29 % 256, i * 71 % 256));
    }
    return f;
}

// A picture whose every stored value differs from its neighbours', within the table.
Bitmap pattern(int width, int height, const BitmapFormat &f)
{
    Bitmap b(width, height, f);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t v = uint32_t(x * 7 + y * 131 + 5) * 2654435761u;
            if (f.hasPalette())
                b.setRawPixel(x, y, v % f.palette.size());
            else
                b.setPixel(x, y, v);
        }
    }
    return b;
}

} // namespace

TEST(BmpWriter, WritesFileHeaderInfoHeaderAndRowsBottomUp)
{
    Bitmap b(3, 2, BitmapFormat::rgb24());
    b.setPixel(0, 0, qRgb(1, 2, 3));
    b.setPixel(2, 1, qRgb(4, 5, 6));
    const QByteArray file = zq::encodeBmp(b);
    const int stride = 12;
    ASSERT_EQ(file.size(), 14 + 40 + 2 * stride);
    EXPECT_EQ(file.left(2), "BM");
    EXPECT_EQ(at32(file, 2), uint32_t(file.size()));
    EXPECT_EQ(at32(file, 10), 54u);
    EXPECT_EQ(at32(file, 14), 40u);
    EXPECT_EQ(at32(file, 18), 3u);
    EXPECT_EQ(at32(file, 22), 2u); // positive height: bottom-up
    EXPECT_EQ(at16(file, 26), 1u);
    EXPECT_EQ(at16(file, 28), 24u);
    EXPECT_EQ(at32(file, 30), 0u);
    EXPECT_EQ(at32(file, 34), uint32_t(2 * stride));
    // The bottom row comes first: its last pixel is (4, 5, 6) as BGR.
    EXPECT_EQ(file.mid(54 + 6, 3), QByteArray("\x06\x05\x04", 3));
    EXPECT_EQ(file.mid(54 + stride, 3), QByteArray("\x03\x02\x01", 3));
    EXPECT_EQ(file.mid(54 + 9, 3), QByteArray(3, '\0')); // padding
}

TEST(BmpWriter, CoreHeaderAndTableAsLoaded)
{
    BitmapFormat f = BitmapFormat::indexed8({qRgb(10, 20, 30), qRgb(40, 50, 60), qRgb(70, 80, 90)});
    f.header = BmpHeaderKind::Core;
    Bitmap b(2, 1, f);
    b.setRawPixel(0, 0, 2);
    b.setRawPixel(1, 0, 1);
    const QByteArray file = zq::encodeBmp(b);
    EXPECT_EQ(at32(file, 14), 12u);
    EXPECT_EQ(at16(file, 18), 2u);
    EXPECT_EQ(at16(file, 20), 1u);
    EXPECT_EQ(at16(file, 24), 8u);
    // Three-byte entries, BGR, and the loaded length of three.
    EXPECT_EQ(at32(file, 10), uint32_t(14 + 12 + 3 * 3));
    EXPECT_EQ(file.mid(26, 9), QByteArray("\x1e\x14\x0a\x3c\x32\x28\x5a\x50\x46", 9));
    EXPECT_EQ(file.mid(35, 2), QByteArray("\x02\x01", 2));
}

TEST(BmpWriter, LongHeadersBecomeTheInfoHeaderWithMasksAfterIt)
{
    const std::array<uint32_t, 3> masks{0x000000FF, 0x0000FF00, 0x00FF0000};
    const Bitmap v5(1, 1, formatOf(32, BmpHeaderKind::V5, BmpCompression::Bitfields, masks));
    QByteArray file = zq::encodeBmp(v5);
    EXPECT_EQ(at32(file, 14), 40u);
    EXPECT_EQ(at32(file, 30), 3u);
    EXPECT_EQ(at32(file, 54), masks[0]);
    EXPECT_EQ(at32(file, 58), masks[1]);
    EXPECT_EQ(at32(file, 62), masks[2]);
    EXPECT_EQ(at32(file, 10), 66u);

    const Bitmap v4(1, 1, formatOf(16, BmpHeaderKind::V4));
    file = zq::encodeBmp(v4);
    EXPECT_EQ(at32(file, 14), 40u);
    EXPECT_EQ(at32(file, 30), 0u);
    EXPECT_EQ(at32(file, 10), 54u);

    // RLE pictures are written uncompressed at their depth.
    file = zq::encodeBmp(pattern(5, 3, formatOf(4, BmpHeaderKind::Info, BmpCompression::Rle4)));
    EXPECT_EQ(at32(file, 30), 0u);
    EXPECT_EQ(at16(file, 28), 4u);
}

TEST(BmpWriter, EveryDepthAndHeaderKindRoundTripsByteForByte)
{
    std::vector<BitmapFormat> formats;
    for (int bpp : {1, 4, 8, 24})
        formats.push_back(formatOf(bpp, BmpHeaderKind::Core));
    for (int bpp : {1, 4, 8, 16, 24, 32})
        formats.push_back(formatOf(bpp, BmpHeaderKind::Info));
    formats.push_back(formatOf(16, BmpHeaderKind::Info, BmpCompression::Bitfields, {0xF800, 0x07E0, 0x001F}));
    formats.push_back(formatOf(16, BmpHeaderKind::Info, BmpCompression::Bitfields, {0x000F, 0x00F0, 0x0F00}));
    formats.push_back(
        formatOf(32, BmpHeaderKind::Info, BmpCompression::Bitfields, {0x3FF00000, 0x000FFC00, 0x000003FF}));
    for (const BitmapFormat &f : formats) {
        for (int width : {1, 7, 33}) {
            SCOPED_TRACE(testing::Message() << f.bitsPerPixel << " bpp, header " << int(f.header)
                                            << ", width " << width << ", masks " << f.masks[0]);
            const Bitmap original = pattern(width, 5, f);
            const QByteArray file = zq::encodeBmp(original);
            const Bitmap back = zq::readBmp(file);
            EXPECT_EQ(back.format(), original.format());
            EXPECT_EQ(back, original);
            EXPECT_EQ(zq::encodeBmp(back), file);
        }
    }
}

TEST(BmpWriter, TableCoversEveryStoredIndex)
{
    // Two colours, yet a stored index of 5: the file must still read back.
    Bitmap b(2, 1, BitmapFormat::indexed8({qRgb(1, 1, 1), qRgb(2, 2, 2)}));
    b.setRawPixel(1, 0, 5);
    const Bitmap back = zq::readBmp(zq::encodeBmp(b));
    EXPECT_EQ(back.format().palette.size(), 6u);
    EXPECT_EQ(back.rawPixel(1, 0), 5u);
    EXPECT_EQ(back.pixel(1, 0), b.pixel(1, 0));
}

TEST(BmpWriter, FailedWriteNamesTheFileAndKeepsTheOldOne)
{
    QTemporaryDir dir;
    const QString inMissingFolder = dir.filePath("gone/zqLOG.bmp");
    try {
        zq::writeBmpFile(inMissingFolder, Bitmap(1, 1, BitmapFormat::rgb24()));
        FAIL() << "wrote into a missing folder";
    } catch (const zq::EngineError &e) {
        EXPECT_TRUE(e.message().startsWith("Cannot create file \"" + inMissingFolder + "\". "))
            << e.message().toStdString();
    }

    const QString path = dir.filePath("zqLOG.bmp");
    const Bitmap old = pattern(4, 4, formatOf(8, BmpHeaderKind::Info));
    zq::writeBmpFile(path, old);
    EXPECT_EQ(zq::readBmpFile(path), old);

    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(dir.filePath("probe"));
    if (probe.open(QIODevice::WriteOnly)) {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "this user writes into read-only folders; the failed replace is not checked";
    }
    EXPECT_THROW(zq::writeBmpFile(path, Bitmap(9, 9, BitmapFormat::rgb24())), zq::EngineError);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(zq::readBmpFile(path), old);
}
