#include "errors/engine_error.h"
#include "picture/png_picture.h"

#include "png_test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using zq::PngMode;
using zq::PngPicture;

namespace {

const QString pngSuite = QStringLiteral(ZQ_TESTDATA_DIR "/pngsuite");

// The gamma rule worked out on its own: 255 * (v / 255)^(1 / (G * 2.2)), nearest integer.
int gammaMapped(int v, uint32_t gamma)
{
    if (gamma == 0)
        return v;
    return int(std::lround(255.0 * std::pow(v / 255.0, 1.0 / (gamma / 100000.0 * 2.2))));
}

PngPicture decode(const pngtest::Parts &parts)
{
    return zq::decodePngData(pngtest::build(parts), QStringLiteral("test.png"));
}

QString errorOf(const QByteArray &data, const QString &path)
{
    try {
        zq::decodePngData(data, path);
    } catch (const zq::EngineError &e) {
        return e.message();
    }
    return {};
}

struct ChunkFacts {
    uint32_t gamma = 0;
    bool transparency = false;
};

ChunkFacts chunksOf(const QByteArray &file)
{
    ChunkFacts facts;
    qsizetype at = 8;
    while (at + 8 <= file.size()) {
        const uint32_t length = qFromBigEndian<uint32_t>(file.constData() + at);
        const QByteArray type = file.mid(at + 4, 4);
        if (type == "gAMA" && length == 4)
            facts.gamma = qFromBigEndian<uint32_t>(file.constData() + at + 8);
        if (type == "tRNS")
            facts.transparency = true;
        if (type == "IDAT")
            break;
        at += 12 + qsizetype(length);
    }
    return facts;
}

} // namespace

// Every valid file of the suite against Qt's plain decoding of it (which applies no gamma),
// with the gamma rule applied here: the grey of grey-with-alpha files and alpha stay as stored.
TEST(PngPicture, SuiteDecodesToTheSamplesTheRulesGive)
{
    QDir dir(pngSuite);
    if (!dir.exists())
        GTEST_SKIP() << "PngSuite not found at " << pngSuite.toStdString();
    const QStringList names = dir.entryList({QStringLiteral("*.png")}, QDir::Files);
    int checked = 0;
    for (const QString &name : names) {
        if (name.startsWith(u'x'))
            continue;
        const QString path = dir.filePath(name);
        SCOPED_TRACE(name.toStdString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const ChunkFacts facts = chunksOf(file.readAll());
        const bool greyAlpha = name.mid(4, 2) == u"4a";
        // Qt mangles 16-bit files with a colour key (the key tests below cover them).
        const bool qtMangles = facts.transparency && name.mid(6, 2) == u"16";

        PngPicture picture;
        ASSERT_NO_THROW(picture = zq::decodePngFile(path));
        const QImage reference = QImage(path).convertToFormat(QImage::Format_RGBA64);
        ASSERT_EQ(picture.width, reference.width());
        ASSERT_EQ(picture.height, reference.height());
        ++checked;
        if (qtMangles)
            continue;
        int mismatches = 0;
        for (int y = 0; y < reference.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgba64 *>(reference.constScanLine(y));
            for (int x = 0; x < reference.width(); ++x) {
                const QRgba64 c = line[x];
                const auto channel = [&](quint16 v) {
                    return greyAlpha ? v >> 8 : gammaMapped(v >> 8, facts.gamma);
                };
                const QRgb expected =
                    qRgba(channel(c.red()), channel(c.green()), channel(c.blue()), c.alpha() >> 8);
                const QRgb got = picture.pixel(x, y);
                // Qt gives fully transparent pixels no colour, which never shows anyway.
                const bool sameColour = qAlpha(expected) == 0 || (got & 0xFFFFFF) == (expected & 0xFFFFFF);
                const bool sameAlpha = qAlpha(got) == qAlpha(expected);
                if (!(sameColour && sameAlpha) && mismatches++ == 0)
                    ADD_FAILURE() << "at " << x << "," << y << std::hex << " got " << picture.pixel(x, y)
                                  << " expected " << expected;
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
    EXPECT_EQ(checked, 161);
}

TEST(PngPicture, SuiteCorruptFilesAreRefusedNamingTheFile)
{
    QDir dir(pngSuite);
    if (!dir.exists())
        GTEST_SKIP() << "PngSuite not found at " << pngSuite.toStdString();
    const QStringList names = dir.entryList({QStringLiteral("x*.png")}, QDir::Files);
    EXPECT_EQ(names.size(), 14);
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        SCOPED_TRACE(name.toStdString());
        try {
            zq::decodePngFile(path);
            ADD_FAILURE() << "accepted";
        } catch (const zq::EngineError &e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(path)))
                << e.message().toStdString();
        }
    }
}

TEST(PngPicture, ModeFollowsColourTypeAndTransparency)
{
    using namespace pngtest;
    Parts rgb{1, 1, 8, Rgb, {bytes({1, 2, 3})}};
    EXPECT_EQ(decode(rgb).mode, PngMode::Copy);
    rgb.transparency = bytes({0, 9, 0, 9, 0, 9});
    EXPECT_EQ(decode(rgb).mode, PngMode::ColourKey);

    Parts palette{1, 1, 8, Palette, {bytes({0})}, bytes({1, 2, 3})};
    EXPECT_EQ(decode(palette).mode, PngMode::Copy);
    palette.transparency = bytes({7});
    EXPECT_EQ(decode(palette).mode, PngMode::Blend);

    EXPECT_EQ(decode({1, 1, 8, GreyAlpha, {bytes({5, 6})}}).mode, PngMode::Blend);
    EXPECT_EQ(decode({1, 1, 8, RgbAlpha, {bytes({5, 6, 7, 8})}}).mode, PngMode::Blend);
}

// The key is compared with the stored 16-bit samples, not with the reduced ones.
TEST(PngPicture, SixteenBitKeyMatchesStoredSamplesAndColourTakesHighByte)
{
    using namespace pngtest;
    Parts parts{3, 1, 16, Rgb};
    parts.rows = {bytes({0x12, 0xAB, 0xFF, 0x00, 0x00, 0x80, // the key itself
                         0x12, 0xAC, 0xFF, 0x00, 0x00, 0x80, // same high bytes
                         0x40, 0x01, 0x80, 0xFF, 0xC0, 0x7F})};
    parts.transparency = bytes({0x12, 0xAB, 0xFF, 0x00, 0x00, 0x80});
    const PngPicture p = decode(parts);
    EXPECT_EQ(p.mode, PngMode::ColourKey);
    EXPECT_EQ(p.pixel(0, 0), qRgba(0x12, 0xFF, 0x00, 0));
    EXPECT_EQ(p.pixel(1, 0), qRgba(0x12, 0xFF, 0x00, 255));
    EXPECT_EQ(p.pixel(2, 0), qRgba(0x40, 0x80, 0xC0, 255));

    Parts grey{2, 1, 16, Grey, {bytes({0x80, 0x01, 0x80, 0x02})}};
    grey.transparency = bytes({0x80, 0x02});
    const PngPicture g = decode(grey);
    EXPECT_EQ(g.pixel(0, 0), qRgba(0x80, 0x80, 0x80, 255));
    EXPECT_EQ(g.pixel(1, 0), qRgba(0x80, 0x80, 0x80, 0));
}

TEST(PngPicture, PaletteTransparencyGivesAlphaAndOpaquePastTheTable)
{
    using namespace pngtest;
    Parts parts{4, 1, 8, Palette, {bytes({0, 1, 2, 3})}};
    parts.palette = bytes({10, 20, 30, 40, 50, 60, 70, 80, 90});
    parts.transparency = bytes({0, 128});
    const PngPicture p = decode(parts);
    EXPECT_EQ(p.pixel(0, 0), qRgba(10, 20, 30, 0));
    EXPECT_EQ(p.pixel(1, 0), qRgba(40, 50, 60, 128));
    EXPECT_EQ(p.pixel(2, 0), qRgba(70, 80, 90, 255));
    EXPECT_EQ(p.pixel(3, 0), qRgba(0, 0, 0, 255)); // index past the palette
}

TEST(PngPicture, LowDepthGreyIsScaledAndKeyedOnItsStoredLevel)
{
    using namespace pngtest;
    // 2 bits: levels 0, 1, 2, 3 -> 0, 85, 170, 255; level 2 is the key.
    Parts two{4, 1, 2, Grey, {bytes({0b00011011})}};
    two.transparency = bytes({0, 2});
    const PngPicture p = decode(two);
    EXPECT_EQ(p.pixel(0, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(p.pixel(1, 0), qRgba(85, 85, 85, 255));
    EXPECT_EQ(p.pixel(2, 0), qRgba(170, 170, 170, 0));
    EXPECT_EQ(p.pixel(3, 0), qRgba(255, 255, 255, 255));

    const PngPicture four = decode({2, 1, 4, Grey, {bytes({0x1E})}});
    EXPECT_EQ(four.pixel(0, 0), qRgb(17, 17, 17));
    EXPECT_EQ(four.pixel(1, 0), qRgb(238, 238, 238));
    const PngPicture one = decode({9, 1, 1, Grey, {bytes({0xA0, 0x80})}});
    EXPECT_EQ(one.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(one.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(one.pixel(2, 0), qRgb(255, 255, 255));
    EXPECT_EQ(one.pixel(8, 0), qRgb(255, 255, 255));
}

TEST(PngPicture, GammaMapsColourAndPlainGreyButNotAlphaNorGreyWithAlpha)
{
    using namespace pngtest;
    // G = 1.0: worked by hand, 255 * (128/255)^(1/2.2) = 186.4 and 255 * (64/255)^(1/2.2) = 136.0.
    Parts rgba{2, 1, 8, RgbAlpha, {bytes({128, 64, 0, 128, 255, 200, 17, 9})}};
    rgba.gamma = 100000;
    const PngPicture p = decode(rgba);
    EXPECT_EQ(p.pixel(0, 0), qRgba(186, 136, 0, 128));
    EXPECT_EQ(p.pixel(1, 0), qRgba(255, gammaMapped(200, 100000), gammaMapped(17, 100000), 9));

    Parts greyAlpha{1, 1, 8, GreyAlpha, {bytes({128, 64})}};
    greyAlpha.gamma = 100000;
    EXPECT_EQ(decode(greyAlpha).pixel(0, 0), qRgba(128, 128, 128, 64));

    Parts grey{1, 1, 2, Grey, {bytes({0x40})}}; // level 1 -> 85, then mapped
    grey.gamma = 70000;
    const int v = gammaMapped(85, 70000);
    EXPECT_EQ(decode(grey).pixel(0, 0), qRgb(v, v, v));

    Parts palette{1, 1, 8, Palette, {bytes({0})}, bytes({128, 64, 250})};
    palette.gamma = 250000;
    EXPECT_EQ(decode(palette).pixel(0, 0),
              qRgb(gammaMapped(128, 250000), gammaMapped(64, 250000), gammaMapped(250, 250000)));

    Parts sixteen{1, 1, 16, Rgb, {bytes({0x80, 0xFF, 0x40, 0x00, 0x00, 0x01})}};
    sixteen.gamma = 100000;
    EXPECT_EQ(decode(sixteen).pixel(0, 0), qRgb(186, 136, 0));
}

TEST(PngPicture, CommonGammaLeavesEveryValueUnchanged)
{
    using namespace pngtest;
    Parts parts{256, 1, 8, Grey};
    QByteArray row;
    for (int v = 0; v < 256; ++v)
        row += char(v);
    parts.rows = {row};
    parts.gamma = 45455;
    const PngPicture p = decode(parts);
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(p.pixel(v, 0), qRgb(v, v, v)) << v;
}

TEST(PngPicture, UnreadableOrBrokenFilesRaiseNamingTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("none.png"));
    try {
        zq::decodePngFile(missing);
        ADD_FAILURE() << "missing file accepted";
    } catch (const zq::EngineError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(missing)));
    }

    using namespace pngtest;
    const QByteArray good = build({2, 2, 8, Rgb, {bytes({1, 2, 3, 4, 5, 6}), bytes({7, 8, 9, 10, 11, 12})}});
    ASSERT_EQ(errorOf(good, QStringLiteral("a.png")), QString());
    const QString prefix = QStringLiteral("Cannot open file \"b.png\". ");
    for (qsizetype cut : {qsizetype(0), qsizetype(5), qsizetype(20), good.size() - 20, good.size() - 13}) {
        SCOPED_TRACE(cut);
        EXPECT_TRUE(errorOf(good.left(cut), QStringLiteral("b.png")).startsWith(prefix));
    }
    QByteArray flipped = good;
    flipped[good.size() - 20] = char(flipped[good.size() - 20] ^ 0x55); // inside IDAT: its CRC fails
    EXPECT_TRUE(errorOf(flipped, QStringLiteral("b.png")).startsWith(prefix));
    // A header that claims 60000 x 60000 pixels is refused before anything is allocated.
    EXPECT_EQ(errorOf(build({60000, 60000, 8, RgbAlpha}), QStringLiteral("b.png")),
              prefix + QStringLiteral("Not a valid PNG picture (picture too large)"));
    EXPECT_TRUE(errorOf(QByteArray("GIF89a not a png at all"), QStringLiteral("b.png")).startsWith(prefix));
}
