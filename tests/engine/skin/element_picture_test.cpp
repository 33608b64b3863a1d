#include "errors/engine_error.h"
#include "picture/bmp_reader.h"
#include "picture/png_flatten.h"
#include "skin/element_picture.h"
#include "skin_fixture.h"

#include <gtest/gtest.h>

using zq::Bitmap;
using zq::BitmapFormat;
using zq::ElementPicture;

namespace {

// A background whose every pixel tells where it is, so a copied rectangle shows its origin.
Bitmap positionalBackground(int width, int height)
{
    Bitmap bg(width, height, BitmapFormat::rgb24());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bg.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256));
    return bg;
}

QImage halfTransparentPng(int width, int height)
{
    QImage png(width, height, QImage::Format_ARGB32);
    png.fill(qRgba(255, 0, 0, 255));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 2; ++x)
            png.setPixel(x, y, qRgba(0, 0, 0, 0));
    return png;
}

class ElementPictureTest : public ::testing::Test {
protected:
    zqtest::SampleSkinCopy skin;
    Bitmap background = positionalBackground(600, 400);
};

TEST_F(ElementPictureTest, LoadsItsBmpAndKeepsThePosition)
{
    ElementPicture e(background, skin.path("zqLOG.bmp"), 12, -3, QStringLiteral("登陆"));
    const Bitmap direct = zq::readBmpFile(skin.path("zqLOG.bmp"));
    EXPECT_EQ(e.Bitmap(), direct);
    EXPECT_EQ(e.PictureWidth(), direct.width());
    EXPECT_EQ(e.PictureHeight(), direct.height());
    EXPECT_EQ(e.X(), 12);
    EXPECT_EQ(e.Y(), -3);
    EXPECT_EQ(e.Name(), QStringLiteral("登陆"));
}

TEST_F(ElementPictureTest, MissingOrBrokenBmpRaisesItsMessage)
{
    try {
        ElementPicture e(background, skin.path("nothing.bmp"), 0, 0, QStringLiteral("登陆"));
        FAIL() << "no error";
    } catch (const zq::EngineError &error) {
        EXPECT_TRUE(error.message().startsWith(
            QStringLiteral("Cannot open file \"%1\". ").arg(skin.path("nothing.bmp"))));
    }
    zqtest::writeBytes(skin.path("zqLOG.bmp"), "BM not really");
    try {
        ElementPicture e(background, skin.path("zqLOG.bmp"), 0, 0, QStringLiteral("登陆"));
        FAIL() << "no error";
    } catch (const zq::EngineError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("Bitmap image is not valid"));
    }
}

TEST_F(ElementPictureTest, RecompositeWithoutPngOnlyRecordsThePosition)
{
    ElementPicture e(background, skin.path("zqFIL.bmp"), 0, 0, QStringLiteral("充值"));
    const Bitmap before = e.Bitmap();
    e.Recomposite(40, 50);
    EXPECT_EQ(e.X(), 40);
    EXPECT_EQ(e.Y(), 50);
    EXPECT_EQ(e.Bitmap(), before);
}

TEST_F(ElementPictureTest, PngIsFlattenedOntoTheBackgroundAndTakesItsSize)
{
    ElementPicture e(background, skin.path("zqLOGed.bmp"), 0, 0, QStringLiteral("登陆激活"));
    const int depth = e.Bitmap().format().bitsPerPixel;
    const QString png = skin.writePicture(QStringLiteral("half.png"), halfTransparentPng(20, 10));
    e.LoadPng(png, 100, 30);

    EXPECT_EQ(e.PictureWidth(), 20);
    EXPECT_EQ(e.PictureHeight(), 10);
    EXPECT_EQ(e.Bitmap().width(), 20);
    EXPECT_EQ(e.Bitmap().height(), 10);
    EXPECT_EQ(e.Bitmap().format().bitsPerPixel, depth) << "keeps the loaded depth";
    EXPECT_EQ(e.X(), 100);
    EXPECT_EQ(e.Y(), 30);
    // Transparent left half shows the background under the element (in the bitmap's own
    // palette), the opaque right half is the PNG's red.
    EXPECT_EQ(e.Bitmap().pixel(3, 4), e.Bitmap().decode(e.Bitmap().encode(background.pixel(103, 34))));
    EXPECT_EQ(e.Bitmap().pixel(15, 4), e.Bitmap().decode(e.Bitmap().encode(qRgb(255, 0, 0))));
}

TEST_F(ElementPictureTest, MovingRecompositesOverTheBackgroundNotThePreviousComposite)
{
    ElementPicture e(background, skin.path("zqLOG.bmp"), 0, 0, QStringLiteral("登陆"));
    e.LoadPng(skin.writePicture(QStringLiteral("half.png"), halfTransparentPng(8, 8)), 10, 10);
    e.Recomposite(200, 100);
    EXPECT_EQ(e.Bitmap().pixel(2, 2), background.pixel(202, 102));

    // A second PNG, fully transparent, shows only the background: nothing of the first.
    QImage clear(8, 8, QImage::Format_ARGB32);
    clear.fill(qRgba(0, 0, 0, 0));
    e.LoadPng(skin.writePicture(QStringLiteral("clear.png"), clear), 200, 100);
    EXPECT_EQ(e.Bitmap().pixel(6, 2), background.pixel(206, 102));
}

// A palette page keeps the nearest colours it found across re-composites; the result must be
// what the plain search of the whole colour table gives at every pixel.
TEST_F(ElementPictureTest, PalettePageFlattensToTheNearestColoursAfterEveryMove)
{
    ElementPicture e(background, skin.path("zqLOGed.bmp"), 0, 0, QStringLiteral("登陆激活"));
    ASSERT_EQ(e.Bitmap().format().bitsPerPixel, 8);
    QImage png(64, 48, QImage::Format_ARGB32);
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x)
            png.setPixel(x, y, qRgba(x * 4, 255 - y * 5, (x * y) % 256, (x * 37 + y * 11) % 256));
    e.LoadPng(skin.writePicture(QStringLiteral("varied.png"), png), 7, 9);
    for (const QPoint at : {QPoint(300, 200), QPoint(7, 9)}) {
        e.Recomposite(at.x(), at.y());
        int mismatches = 0;
        for (int y = 0; y < png.height(); ++y)
            for (int x = 0; x < png.width(); ++x) {
                const QRgb s = png.pixel(x, y);
                const QRgb d = e.Bitmap().decode(e.Bitmap().encode(background.pixel(at.x() + x, at.y() + y)));
                const int a = qAlpha(s);
                const QRgb blended =
                    qRgb(zq::blendSample(qRed(s), qRed(d), a), zq::blendSample(qGreen(s), qGreen(d), a),
                         zq::blendSample(qBlue(s), qBlue(d), a));
                if (e.Bitmap().rawPixel(x, y) != uint32_t(e.Bitmap().nearestPaletteIndex(blended)))
                    ++mismatches;
            }
        EXPECT_EQ(mismatches, 0) << at.x() << "," << at.y();
    }
}

TEST_F(ElementPictureTest, PartOffTheBackgroundIsWhite)
{
    ElementPicture e(background, skin.path("zqLOG.bmp"), 0, 0, QStringLiteral("登陆"));
    QImage clear(10, 10, QImage::Format_ARGB32);
    clear.fill(qRgba(0, 0, 0, 0));
    e.LoadPng(skin.writePicture(QStringLiteral("clear.png"), clear), -5, 395);
    EXPECT_EQ(e.Bitmap().pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(e.Bitmap().pixel(6, 0), background.pixel(1, 395));
    EXPECT_EQ(e.Bitmap().pixel(6, 6), qRgb(255, 255, 255));
}

TEST_F(ElementPictureTest, BrokenPngLeavesEverythingAsItWas)
{
    ElementPicture e(background, skin.path("zqLOG.bmp"), 7, 8, QStringLiteral("登陆"));
    e.LoadPng(skin.writePicture(QStringLiteral("half.png"), halfTransparentPng(8, 8)), 7, 8);
    const Bitmap before = e.Bitmap();

    QByteArray png = zqtest::readBytes(skin.dir.filePath("half.png"));
    zqtest::writeBytes(skin.dir.filePath("broken.png"), png.left(png.size() / 2));
    EXPECT_THROW(e.LoadPng(skin.dir.filePath("broken.png"), 50, 60), zq::EngineError);
    EXPECT_THROW(e.LoadPng(skin.dir.filePath("none.png"), 50, 60), zq::EngineError);
    EXPECT_EQ(e.Bitmap(), before);
    EXPECT_EQ(e.X(), 7);
    EXPECT_EQ(e.Y(), 8);
    EXPECT_EQ(e.PictureWidth(), 8);
}

TEST_F(ElementPictureTest, SaveWritesTheLoadedFileBackUnchanged)
{
    for (const char *name : {"zqLOG.bmp", "zqLOGed.bmp"}) {
        const QByteArray original = skin.bytes(name);
        ElementPicture e(background, skin.path(name), 0, 0, QStringLiteral("x"));
        e.Recomposite(30, 30);
        zqtest::writeBytes(skin.path(name), "scribbled over");
        e.SaveBitmap();
        EXPECT_EQ(skin.bytes(name), original) << name;
    }
}

} // namespace
