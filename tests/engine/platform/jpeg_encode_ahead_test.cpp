#include "platform/engine_error.h"
#include "platform/error_texts.h"
#include "platform/jpeg_codec.h"
#include "platform/jpeg_encode_ahead.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

using zq::Bitmap;
using zq::JpegCodec;
using zq::JpegEncodeAhead;

namespace {

const QString turbo = QStringLiteral(ZQ_TESTDATA_DIR "/jpeg/libjpeg-turbo");
const QString cmyk = QStringLiteral(ZQ_TESTDATA_DIR "/jpeg/cmyk");

#define NEED_SUITE(dir)                                                                                      \
    if (!QDir(dir).exists())                                                                                 \
    GTEST_SKIP() << "JPEG test pictures not found at " << (dir).toStdString()

JpegCodec loaded(const QString &path)
{
    JpegCodec codec;
    codec.loadFile(path);
    return codec;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Many colours, and a height that is no multiple of the encoder's 16-row step.
Bitmap pattern(int width, int height)
{
    Bitmap b(width, height, zq::BitmapFormat::rgb24());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.setPixel(x, y, qRgb((x * 7 + y) & 255, (x * y) & 255, (y * 5) & 255));
    return b;
}

} // namespace

// Baseline, progressive and CMYK files: the picture is the one a plain decode gives, and the
// bytes made while decoding are those the save would encode from it.
TEST(JpegEncodeAhead, DecodingHandsItsRowsToAnEncodeThatWritesTheSavesBytes)
{
    NEED_SUITE(turbo);
    for (const QString &file : {turbo + "/testimgint.jpg", turbo + "/testimgp.jpg", turbo + "/testorig.jpg",
                                cmyk + "/jpg-cmyk-1.jpg"}) {
        SCOPED_TRACE(file.toStdString());
        const JpegCodec codec = loaded(file);
        JpegEncodeAhead ahead(codec.isProgressive());
        const Bitmap decoded = codec.decode(false, &ahead);
        EXPECT_EQ(decoded, codec.decode());
        const std::optional<QByteArray> bytes = ahead.bytes();
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(*bytes, codec.encode(decoded));
        EXPECT_EQ(ahead.bytes(), bytes);
    }
}

TEST(JpegEncodeAhead, PaletteDecodesAreLeftToTheSave)
{
    NEED_SUITE(turbo);
    const JpegCodec gray = loaded(turbo + "/testimggray.jpg");
    JpegEncodeAhead grayAhead(false);
    EXPECT_EQ(gray.decode(false, &grayAhead), gray.decode());
    EXPECT_FALSE(grayAhead.bytes().has_value());

    const JpegCodec colour = loaded(turbo + "/testorig.jpg");
    JpegEncodeAhead lowAhead(false);
    EXPECT_EQ(colour.decode(true, &lowAhead), colour.decode(true));
    EXPECT_FALSE(lowAhead.bytes().has_value());
}

// Rows may come in bands of any size; the encode waits for each one.
TEST(JpegEncodeAhead, RowsHandedOverInUnevenBandsGiveTheSameBytes)
{
    NEED_SUITE(turbo);
    const Bitmap picture = pattern(101, 77);
    for (const char *name : {"testimgint.jpg", "testimgp.jpg"}) {
        SCOPED_TRACE(name);
        const JpegCodec codec = loaded(turbo + "/" + name);
        JpegEncodeAhead ahead(codec.isProgressive());
        ahead.begin(picture);
        for (int rows = 3; rows < picture.height(); rows += 11)
            ahead.rowsDone(rows);
        ahead.rowsDone(picture.height());
        const std::optional<QByteArray> bytes = ahead.bytes();
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(*bytes, codec.encode(picture));
    }
}

TEST(JpegEncodeAhead, CancellingStopsAWaitingEncodeAndLeavesNothing)
{
    const Bitmap picture = pattern(64, 64);
    JpegEncodeAhead ahead(true);
    ahead.begin(picture);
    ahead.rowsDone(16);
    ahead.cancel();
    EXPECT_FALSE(ahead.bytes().has_value());

    // Begun and never fed: going out of scope must not hang.
    JpegEncodeAhead abandoned(false);
    abandoned.begin(picture);
}

// A file whose rows decode but whose end is broken: the decode raises the codec's error, and
// the encode that was reading its rows is stopped before they are freed.
TEST(JpegEncodeAhead, AFailedDecodeStopsTheEncodeAndReportsTheCodecsError)
{
    NEED_SUITE(turbo);
    QByteArray data = readFile(turbo + "/testimgint.jpg");
    ASSERT_TRUE(data.endsWith("\xFF\xD9"));
    // A second scan naming a component the frame does not have.
    data.insert(data.size() - 2, QByteArray("\xFF\xDA\x00\x08\x01\x99\x00\x00\x3F\x00", 10));
    JpegCodec codec;
    codec.loadData(data);
    JpegEncodeAhead ahead(false);
    try {
        codec.decode(false, &ahead);
        ADD_FAILURE() << "the broken file decoded";
    } catch (const zq::EngineError &error) {
        EXPECT_EQ(error.message(), zq::errors::jpegError(JERR_BAD_COMPONENT_ID));
    }
    EXPECT_FALSE(ahead.bytes().has_value());
}
