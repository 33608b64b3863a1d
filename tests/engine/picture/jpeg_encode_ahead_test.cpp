#include "errors/engine_error.h"
#include "errors/error_texts.h"
#include "picture/jpeg_codec.h"
#include "picture/jpeg_encode_ahead.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdio>

#include "support/jpeg_suite.h"

#include <jerror.h>
#include <jpeglib.h>

using zq::Bitmap;
using zq::JpegCodec;
using zq::JpegEncodeAhead;

namespace {

const QString &turbo = zqtest::jpegTurboDir;
const QString &cmyk = zqtest::jpegCmykDir;

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
void drawPattern(Bitmap &b)
{
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            b.setPixel(x, y, qRgb((x * 7 + y) & 255, (x * y) & 255, (y * 5) & 255));
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

// The worker makes the bitmap; rows may then come in bands of any size, the encode waits
// for each one.
TEST(JpegEncodeAhead, RowsHandedOverInUnevenBandsGiveTheSameBytes)
{
    NEED_SUITE(turbo);
    for (const char *name : {"testimgint.jpg", "testimgp.jpg"}) {
        SCOPED_TRACE(name);
        const JpegCodec codec = loaded(turbo + "/" + name);
        JpegEncodeAhead ahead(codec.isProgressive());
        ahead.begin(101, 77);
        Bitmap picture = ahead.takeBitmap();
        ASSERT_EQ(picture.width(), 101);
        ASSERT_EQ(picture.height(), 77);
        EXPECT_EQ(picture.format(), zq::BitmapFormat::rgb24());
        drawPattern(picture);
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
    JpegEncodeAhead ahead(true);
    ahead.begin(64, 64);
    Bitmap picture = ahead.takeBitmap();
    drawPattern(picture);
    ahead.rowsDone(16);
    ahead.cancel();
    EXPECT_FALSE(ahead.bytes().has_value());

    // Begun and never fed, its bitmap never taken: going out of scope must not hang.
    JpegEncodeAhead abandoned(false);
    abandoned.begin(64, 64);

    // Nothing to make, nothing made.
    JpegEncodeAhead empty(false);
    empty.begin(0, 0);
    EXPECT_TRUE(empty.takeBitmap().isEmpty());
    EXPECT_FALSE(empty.bytes().has_value());
}

// Broken files fail before the rows (a progressive scan asking for coefficients past the
// block's end) or after them (a scan naming a component the frame lacks): either way the
// decode raises the codec's error, and the encode is stopped before its bitmap goes.
TEST(JpegEncodeAhead, AFailedDecodeStopsTheEncodeAndReportsTheCodecsError)
{
    NEED_SUITE(turbo);
    QByteArray scans = readFile(turbo + "/testimgp.jpg");
    const qsizetype first = scans.indexOf("\xFF\xDA");
    const qsizetype second = scans.indexOf("\xFF\xDA", first + 2);
    ASSERT_GT(second, 0);
    const int components = uchar(scans[second + 4]);
    scans[second + 5 + 2 * components] = char(70); // Ss
    scans[second + 6 + 2 * components] = char(80); // Se

    QByteArray end = readFile(turbo + "/testimgint.jpg");
    ASSERT_TRUE(end.endsWith("\xFF\xD9"));
    end.insert(end.size() - 2, QByteArray("\xFF\xDA\x00\x08\x01\x99\x00\x00\x3F\x00", 10));

    for (const QByteArray &data : {scans, end}) {
        JpegCodec codec;
        codec.loadData(data);
        JpegEncodeAhead ahead(codec.isProgressive());
        try {
            codec.decode(false, &ahead);
            ADD_FAILURE() << "the broken file decoded";
        } catch (const zq::EngineError &error) {
            EXPECT_EQ(error.message(),
                      zq::errors::jpegError(data == end ? JERR_BAD_COMPONENT_ID : JERR_BAD_PROGRESSION));
        }
        EXPECT_FALSE(ahead.bytes().has_value());
    }
}
