#include "errors/engine_error.h"
#include "errors/error_texts.h"
#include "picture/jpeg_codec.h"
#include "support/raw_jpeg.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <vector>

#include "support/jpeg_suite.h"

#include <jerror.h>

using zq::Bitmap;
using zq::JpegCodec;

namespace {

const QString &turbo = zqtest::jpegTurboDir;
const QString &cmyk = zqtest::jpegCmykDir;

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

JpegCodec loaded(const QString &path)
{
    JpegCodec codec;
    codec.loadFile(path);
    return codec;
}

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const zq::EngineError &e) {
        return e.message();
    }
    return {};
}

// The picture as djpeg writes it in PPM form.
QByteArray asPpm(const Bitmap &b)
{
    QByteArray out = QStringLiteral("P6\n%1 %2\n255\n").arg(b.width()).arg(b.height()).toLatin1();
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            const QRgb c = b.pixel(x, y);
            out += char(qRed(c));
            out += char(qGreen(c));
            out += char(qBlue(c));
        }
    return out;
}

double meanDifference(const Bitmap &b, const QImage &reference)
{
    const QImage ref = reference.convertToFormat(QImage::Format_RGB32);
    double total = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            const QRgb p = b.pixel(x, y);
            const QRgb r = ref.pixel(x, y);
            total +=
                std::abs(qRed(p) - qRed(r)) + std::abs(qGreen(p) - qGreen(r)) + std::abs(qBlue(p) - qBlue(r));
        }
    return total / (3.0 * b.width() * b.height());
}

// A plain libjpeg encode of the bitmap's pixels.
QByteArray referenceEncode(const Bitmap &b, bool progressive)
{
    zqtest::RgbPicture picture{b.width(), b.height(),
                               std::vector<uint8_t>(size_t(b.width()) * size_t(b.height()) * 3)};
    uint8_t *out = picture.rgb.data();
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x, out += 3) {
            const QRgb c = b.pixel(x, y);
            out[0] = uint8_t(qRed(c));
            out[1] = uint8_t(qGreen(c));
            out[2] = uint8_t(qBlue(c));
        }
    return zqtest::rawEncode(picture, progressive);
}

} // namespace

TEST(JpegCodec, HeaderFacts)
{
    NEED_SUITE(turbo);
    const JpegCodec base = loaded(turbo + "/testimgint.jpg");
    EXPECT_EQ(base.width(), 227);
    EXPECT_EQ(base.height(), 149);
    EXPECT_FALSE(base.isProgressive());
    EXPECT_FALSE(base.isGrayscale());
    EXPECT_TRUE(loaded(turbo + "/testimgp.jpg").isProgressive());
    EXPECT_TRUE(loaded(turbo + "/testimggray.jpg").isGrayscale());
    const JpegCodec crop = loaded(turbo + "/testimgcrop.jpg");
    EXPECT_EQ(crop.width(), 124);
    EXPECT_EQ(crop.height(), 92);
}

// Baseline, progressive and arithmetic coding of the same coefficients give the same
// pixels, and those are djpeg's (accurate DCT, smooth upsampling): its PPM has this MD5.
TEST(JpegCodec, CodingsOfOnePictureDecodeToDjpegsPixels)
{
    NEED_SUITE(turbo);
    const Bitmap base = loaded(turbo + "/testimgint.jpg").decode();
    ASSERT_EQ(base.format().bitsPerPixel, 24);
    EXPECT_EQ(QCryptographicHash::hash(asPpm(base), QCryptographicHash::Md5).toHex(),
              QByteArray("4aaa551ce59d429ac673f730a56cd73d"));
    EXPECT_EQ(loaded(turbo + "/testimgp.jpg").decode(), base);
    EXPECT_EQ(loaded(turbo + "/testimgari.jpg").decode(), base);
}

TEST(JpegCodec, EveryEightBitSuiteFileDecodesAtItsSize)
{
    NEED_SUITE(turbo);
    for (const char *name :
         {"testorig.jpg", "testimgint.jpg", "testimgari.jpg", "testimgp.jpg", "testimgfst.jpg",
          "testimgflt.jpg", "testimgfst100.jpg", "testimggray.jpg", "testimgcrop.jpg"}) {
        SCOPED_TRACE(name);
        const JpegCodec codec = loaded(turbo + "/" + name);
        const Bitmap b = codec.decode();
        EXPECT_EQ(b.width(), codec.width());
        EXPECT_EQ(b.height(), codec.height());
    }
}

TEST(JpegCodec, TwelveBitFilesAreRefusedWithTheCodecsError)
{
    NEED_SUITE(turbo);
    for (const char *name : {"testorig12.jpg", "monkey12.jpg"}) {
        SCOPED_TRACE(name);
        JpegCodec codec;
        EXPECT_EQ(errorOf([&] { codec.loadFile(turbo + "/" + name); }),
                  zq::errors::jpegError(JERR_BAD_PRECISION));
        EXPECT_EQ(errorOf([&] { codec.loadData(readFile(turbo + "/" + name)); }),
                  QStringLiteral("JPEG error #%1").arg(JERR_BAD_PRECISION));
    }
}

TEST(JpegCodec, CmykAndYcckDecodeToTheirColours)
{
    NEED_SUITE(cmyk);
    for (const char *name : {"jpg-cmyk-1", "jpg-cmyk-2", "ycck"}) {
        SCOPED_TRACE(name);
        const Bitmap b = loaded(cmyk + "/" + name + ".jpg").decode();
        const QImage reference(cmyk + "/" + name + ".png");
        ASSERT_EQ(b.width(), reference.width());
        ASSERT_EQ(b.height(), reference.height());
        EXPECT_LT(meanDifference(b, reference), 1.0);
    }
}

TEST(JpegCodec, GrayscaleAndLowColourDisplaysGiveAtMost236PaletteColours)
{
    NEED_SUITE(turbo);
    const Bitmap gray = loaded(turbo + "/testimggray.jpg").decode();
    ASSERT_EQ(gray.format().bitsPerPixel, 8);
    EXPECT_LE(gray.format().palette.size(), 236u);
    for (QRgb c : gray.format().palette)
        EXPECT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c));
    EXPECT_LT(meanDifference(gray, QImage(turbo + "/testimggray.jpg")), 1.0);

    const JpegCodec colour = loaded(turbo + "/testorig.jpg");
    const Bitmap low = colour.decode(true);
    ASSERT_EQ(low.format().bitsPerPixel, 8);
    EXPECT_LE(low.format().palette.size(), 236u);
    std::set<uint32_t> used;
    for (int y = 0; y < low.height(); ++y)
        for (int x = 0; x < low.width(); ++x)
            used.insert(low.rawPixel(x, y));
    EXPECT_GT(used.size(), 100u);
    EXPECT_LT(meanDifference(low, colour.decode().toImage()), 6.0);

    const Bitmap lowCmyk = loaded(cmyk + "/jpg-cmyk-2.jpg").decode(true);
    EXPECT_EQ(lowCmyk.format().bitsPerPixel, 8);
    EXPECT_LE(lowCmyk.format().palette.size(), 236u);
}

// Quality 90, baseline tables, libjpeg's defaults: byte for byte a plain libjpeg encode;
// progressive exactly when the last loaded file was.
TEST(JpegCodec, EncodesLikeLibjpegAndKeepsTheProgressionOfTheLoadedFile)
{
    NEED_SUITE(turbo);
    JpegCodec codec = loaded(turbo + "/testimgint.jpg");
    const Bitmap picture = codec.decode();
    const QByteArray baseline = codec.encode(picture);
    EXPECT_EQ(baseline, referenceEncode(picture, false));
    JpegCodec check;
    check.loadData(baseline);
    EXPECT_FALSE(check.isProgressive());

    codec.loadFile(turbo + "/testimgp.jpg");
    const QByteArray progressive = codec.encode(picture);
    EXPECT_EQ(progressive, referenceEncode(picture, true));
    check.loadData(progressive);
    EXPECT_TRUE(check.isProgressive());
    EXPECT_LT(meanDifference(check.decode(), picture.toImage()), 2.0);

    codec.loadFile(turbo + "/testimgint.jpg");
    EXPECT_FALSE([&] {
        JpegCodec again;
        again.loadData(codec.encode(picture));
        return again.isProgressive();
    }());
}

// The decoder's bitmap is not filled before the rows are written, so the padding at each row's
// end must be set on its own: else two decodes of one file differ and a saved BMP carries
// whatever the memory held.
TEST(JpegCodec, DecodedRowsEndInZeroPadding)
{
    for (int width : {1, 2, 3, 5, 7}) {
        std::vector<uint8_t> rgb(size_t(width) * 3 * 3);
        for (size_t i = 0; i < rgb.size(); ++i)
            rgb[i] = uint8_t(37 * i + 11);
        JpegCodec codec;
        codec.loadData(zqtest::rawEncode(rgb.data(), width, 3, false));
        for (bool lowColour : {false, true}) {
            const Bitmap picture = codec.decode(lowColour);
            const qsizetype used = (qsizetype(width) * picture.format().bitsPerPixel + 7) / 8;
            ASSERT_LT(used, picture.stride()) << "width " << width;
            for (int y = 0; y < picture.height(); ++y)
                for (qsizetype i = used; i < picture.stride(); ++i)
                    EXPECT_EQ(picture.row(y)[i], 0) << "width " << width << ", row " << y << ", byte " << i;
            EXPECT_EQ(picture, codec.decode(lowColour)) << "width " << width;
        }
    }
}

TEST(JpegCodec, GrayscaleBitmapIsSavedAsColour)
{
    NEED_SUITE(turbo);
    const JpegCodec gray = loaded(turbo + "/testimggray.jpg");
    const Bitmap eight = gray.decode();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("zqLOCKPIC.jpg"));
    gray.saveFile(out, eight);
    const JpegCodec back = loaded(out);
    EXPECT_FALSE(back.isGrayscale());
    EXPECT_EQ(back.width(), eight.width());
    EXPECT_LT(meanDifference(back.decode(), eight.toImage()), 2.0);
}

TEST(JpegCodec, BrokenDataRaisesTheCodecsErrorAndKeepsWhatWasLoaded)
{
    NEED_SUITE(turbo);
    JpegCodec codec = loaded(turbo + "/testimgp.jpg");
    const QByteArray good = readFile(turbo + "/testimgint.jpg");
    const QString anyJpegError = QStringLiteral("JPEG error #");
    EXPECT_EQ(errorOf([&] { codec.loadData({}); }), zq::errors::jpegError(JERR_INPUT_EMPTY));
    EXPECT_TRUE(errorOf([&] { codec.loadData("not a picture at all"); }).startsWith(anyJpegError));
    EXPECT_TRUE(errorOf([&] { codec.loadData(good.left(200)); }).startsWith(anyJpegError));
    EXPECT_EQ(codec.width(), 227);
    EXPECT_TRUE(codec.isProgressive());

    // A header that claims a picture of 60000 x 60000 is refused before anything is allocated.
    QByteArray huge = good;
    const qsizetype sof = huge.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    huge[sof + 5] = huge[sof + 7] = char(0xEA);
    huge[sof + 6] = huge[sof + 8] = char(0x60);
    EXPECT_EQ(errorOf([&] { codec.loadData(huge); }), zq::errors::jpegError(JERR_IMAGE_TOO_BIG));
    EXPECT_EQ(codec.width(), 227);

    // A later scan of the progressive file asks for coefficients past the block's end: the
    // header reads, decoding fails.
    QByteArray bad = readFile(turbo + "/testimgp.jpg");
    const qsizetype first = bad.indexOf("\xFF\xDA");
    const qsizetype second = bad.indexOf("\xFF\xDA", first + 2);
    ASSERT_GT(second, 0);
    const int components = uchar(bad[second + 4]);
    bad[second + 5 + 2 * components] = char(70); // Ss
    bad[second + 6 + 2 * components] = char(80); // Se
    codec.loadData(bad);
    EXPECT_TRUE(errorOf([&] { codec.decode(); }).startsWith(anyJpegError));
}

TEST(JpegCodec, FilesThatCannotBeOpenedOrCreated)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("none.jpg"));
    JpegCodec codec;
    EXPECT_TRUE(errorOf([&] {
                    codec.loadFile(missing);
                }).startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(missing)));

    const QString unwritable = dir.filePath(QStringLiteral("no/such/folder/zqLOCKPIC.jpg"));
    const Bitmap picture(8, 8, zq::BitmapFormat::rgb24());
    EXPECT_TRUE(errorOf([&] {
                    codec.saveFile(unwritable, picture);
                }).startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(unwritable)));

    EXPECT_EQ(errorOf([&] { codec.encode(Bitmap()); }), zq::errors::jpegError(JERR_EMPTY_IMAGE));
}
