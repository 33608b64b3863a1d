#include "files/engine_error.h"
#include "picture/jpeg_codec.h"
#include "skin/skin_document.h"
#include "skin_fixture.h"

#include <QFileInfo>
#include <QImageWriter>

#include <vector>

#include <gtest/gtest.h>

using zq::Element;
using zq::SkinDocument;

namespace {

bool isProgressiveJpeg(const QByteArray &jpeg)
{
    // A progressive frame starts with SOF2.
    return jpeg.contains(QByteArray("\xFF\xC2", 2));
}

TEST(SkinDocumentTest, FolderIsThePathUpToItsLastSeparator)
{
    EXPECT_EQ(SkinDocument::skinFolderOf(QStringLiteral("/a/b/ZqCSkin.ini")), QStringLiteral("/a/b/"));
    EXPECT_EQ(SkinDocument::skinFolderOf(QStringLiteral("ZqCSkin.ini")), QStringLiteral("./"));
}

TEST(SkinDocumentTest, OpenBuildsTheSixElementsAtTheirLayoutPoints)
{
    zqtest::SampleSkinCopy skin;
    SkinDocument doc(skin.layout());
    ASSERT_TRUE(doc.open());
    EXPECT_EQ(doc.Background->BgBitmap().width(), 1920);
    EXPECT_EQ(doc.Background->BgBitmap().height(), 1080);
    for (Element e : zq::allElements) {
        ASSERT_TRUE(doc.hasElement(e));
        EXPECT_EQ(doc.element(e).X, doc.Layout->position(e).x);
        EXPECT_EQ(doc.element(e).Y, doc.Layout->position(e).y);
        EXPECT_EQ(doc.element(e).Name, zq::elementName(e).toString());
        EXPECT_EQ(QFileInfo(doc.element(e).BmpPath).fileName(), zq::elementPictureFileName(e).toString());
    }
}

TEST(SkinDocumentTest, OldLayoutBuildsNoElements)
{
    zqtest::SampleSkinCopy skin;
    QByteArray ini = skin.bytes("ZqCSkin.ini");
    const int at = ini.indexOf("log1left=");
    ini.insert(at + 9, "3");
    zqtest::writeBytes(skin.layout(), ini);
    SkinDocument doc(skin.layout());
    EXPECT_FALSE(doc.open());
    EXPECT_TRUE(doc.Background != nullptr);
    EXPECT_FALSE(doc.hasElement(Element::LogTab));
}

TEST(SkinDocumentTest, SavingAnUnchangedSkinKeepsLayoutAndPicturesAndReencodesTheBackground)
{
    zqtest::SampleSkinCopy skin;
    const QByteArray ini = skin.bytes("ZqCSkin.ini");
    const QByteArray log = skin.bytes("zqLOGed.bmp");
    const QByteArray jpeg = skin.bytes("zqLOCKPIC.jpg");
    SkinDocument doc(skin.layout());
    ASSERT_TRUE(doc.open());
    doc.save();
    EXPECT_EQ(skin.bytes("ZqCSkin.ini"), ini);
    EXPECT_EQ(skin.bytes("zqLOGed.bmp"), log);
    const QByteArray saved = skin.bytes("zqLOCKPIC.jpg");
    EXPECT_NE(saved, jpeg) << "the background is encoded again at quality 90";
    EXPECT_EQ(saved, doc.Background->BgJpeg().encode(doc.Background->BgBitmap()));
    EXPECT_EQ(QImage(skin.path("zqLOCKPIC.jpg")).size(), QSize(1920, 1080));
}

TEST(SkinDocumentTest, MovedElementIsSavedAndReopensThere)
{
    zqtest::SampleSkinCopy skin;
    {
        SkinDocument doc(skin.layout());
        ASSERT_TRUE(doc.open());
        doc.element(Element::FilTab).Recomposite(301, 7);
        doc.save();
    }
    SkinDocument again(skin.layout());
    ASSERT_TRUE(again.open());
    EXPECT_EQ(again.element(Element::FilTab).X, 301);
    EXPECT_EQ(again.element(Element::FilTab).Y, 7);
}

TEST(SkinDocumentTest, SaveStopsAtTheFirstFileItCannotWriteAndKeepsItWhole)
{
    zqtest::SampleSkinCopy skin;
    SkinDocument doc(skin.layout());
    ASSERT_TRUE(doc.open());
    doc.element(Element::LogTab).Recomposite(11, 12);
    doc.element(Element::ManTab).Recomposite(13, 14);
    const QByteArray man = skin.bytes("zqMAN.bmp");
    const QByteArray jpeg = skin.bytes("zqLOCKPIC.jpg");
    const QByteArray ini = skin.bytes("ZqCSkin.ini");

    // The folder disappears under the third picture: make its path a folder of the same name.
    QFile::remove(skin.path("zqFIL.bmp"));
    ASSERT_TRUE(QDir(skin.dir.path()).mkdir("zqFIL.bmp"));
    try {
        doc.save();
        FAIL() << "no error";
    } catch (const zq::EngineError &error) {
        EXPECT_TRUE(error.message().startsWith(
            QStringLiteral("Cannot create file \"%1\". ").arg(skin.path("zqFIL.bmp"))))
            << error.message().toStdString();
    }
    EXPECT_NE(skin.bytes("ZqCSkin.ini"), ini) << "the layout is written first";
    EXPECT_EQ(skin.bytes("zqMAN.bmp"), man) << "later pictures are not written";
    EXPECT_EQ(skin.bytes("zqLOCKPIC.jpg"), jpeg);
    EXPECT_EQ(QDir(skin.dir.path()).entryList(QDir::Files).size(), 7) << "no temporary file is left";
}

TEST(SkinDocumentTest, ALoginTabBeyondTheRightEdgeIsNotSavedAndTheSkinStillOpens)
{
    zqtest::SampleSkinCopy skin;
    const char *names[] = {"ZqCSkin.ini", "zqLOG.bmp",   "zqFIL.bmp",   "zqMAN.bmp",
                           "zqLOGed.bmp", "zqFILed.bmp", "zqMANed.bmp", "zqLOCKPIC.jpg"};
    std::vector<QByteArray> before;
    for (const char *name : names)
        before.push_back(skin.bytes(name));
    {
        SkinDocument doc(skin.layout());
        ASSERT_TRUE(doc.open());
        doc.element(Element::LogTab).Recomposite(doc.Background->BgBitmap().width() + 1, 12);
        EXPECT_THROW(doc.save(), zq::EngineError);
    }
    for (size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(skin.bytes(names[i]), before[i]) << names[i];
    SkinDocument again(skin.layout());
    EXPECT_TRUE(again.open());
}

TEST(SkinDocumentTest, MissingBackgroundStopsTheOpenBeforeTheLayout)
{
    zqtest::SampleSkinCopy skin;
    QFile::remove(skin.path("zqLOCKPIC.jpg"));
    SkinDocument doc(skin.layout());
    try {
        doc.open();
        FAIL() << "no error";
    } catch (const zq::EngineError &error) {
        EXPECT_TRUE(error.message().startsWith(
            QStringLiteral("Cannot open file \"%1\". ").arg(skin.path("zqLOCKPIC.jpg"))));
    }
    EXPECT_EQ(doc.Layout, nullptr);
}

class BackgroundTest : public ::testing::Test {
protected:
    zqtest::SampleSkinCopy skin;
    QImage picture() const
    {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(qRgb(20, 200, 40));
        return image;
    }
};

TEST_F(BackgroundTest, ReplacementFillsTheWholeBackgroundAtItsOpenedSize)
{
    zq::TBGImage bg(skin.path("zqLOCKPIC.jpg"));
    bg.ReplacePicture(skin.writePicture(QStringLiteral("green.jpg"), picture(), 95));
    ASSERT_EQ(bg.BgBitmap().width(), 1920);
    ASSERT_EQ(bg.BgBitmap().height(), 1080);
    for (QPoint p : {QPoint(0, 0), QPoint(1919, 1079), QPoint(960, 540), QPoint(1919, 0)}) {
        const QRgb c = bg.BgBitmap().pixel(p.x(), p.y());
        EXPECT_NEAR(qRed(c), 20, 4);
        EXPECT_NEAR(qGreen(c), 200, 4);
        EXPECT_NEAR(qBlue(c), 40, 4);
    }
    bg.SaveBackground();
    EXPECT_EQ(QImage(skin.path("zqLOCKPIC.jpg")).size(), QSize(1920, 1080));
}

TEST_F(BackgroundTest, BrokenReplacementChangesNothing)
{
    zq::TBGImage bg(skin.path("zqLOCKPIC.jpg"));
    const zq::Bitmap before = bg.BgBitmap();
    const QString good = skin.writePicture(QStringLiteral("green.jpg"), picture());
    const QByteArray bytes = zqtest::readBytes(good);
    zqtest::writeBytes(skin.dir.filePath("cut.jpg"), bytes.left(30));
    zqtest::writeBytes(skin.dir.filePath("text.jpg"), "not a picture");
    EXPECT_THROW(bg.ReplacePicture(skin.dir.filePath("cut.jpg")), zq::EngineError);
    EXPECT_THROW(bg.ReplacePicture(skin.dir.filePath("text.jpg")), zq::EngineError);
    EXPECT_THROW(bg.ReplacePicture(skin.dir.filePath("none.jpg")), zq::EngineError);
    EXPECT_TRUE(bg.BgBitmap() == before);
    bg.SaveBackground();
    EXPECT_FALSE(isProgressiveJpeg(skin.bytes("zqLOCKPIC.jpg")));
}

TEST_F(BackgroundTest, SaveIsProgressiveExactlyWhenTheLastLoadedJpegWas)
{
    QImage progressive = picture();
    const QString p = skin.dir.filePath("progressive.jpg");
    {
        zq::JpegCodec codec;
        codec.loadFile(skin.path("zqLOCKPIC.jpg"));
        ASSERT_FALSE(codec.isProgressive());
    }
    // Make a progressive file with the codec itself: load one, then encode progressive.
    QImageWriter writer(p, "jpeg");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(progressive));

    zq::TBGImage bg(skin.path("zqLOCKPIC.jpg"));
    bg.ReplacePicture(p);
    bg.SaveBackground();
    EXPECT_TRUE(isProgressiveJpeg(skin.bytes("zqLOCKPIC.jpg")));

    bg.ReplacePicture(skin.writePicture(QStringLiteral("plain.jpg"), picture()));
    bg.SaveBackground();
    EXPECT_FALSE(isProgressiveJpeg(skin.bytes("zqLOCKPIC.jpg")));
}

// Encoding ahead only moves the work: the pixels held and every saved byte are those of the
// ordinary save, for a baseline and a progressive background, and after a replacement.
TEST_F(BackgroundTest, EncodingAheadSavesTheBytesOfTheOrdinarySave)
{
    QImageWriter writer(skin.dir.filePath("progressive.jpg"), "jpeg");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(QImage(skin.path("zqLOCKPIC.jpg"))));
    const QString green = skin.writePicture(QStringLiteral("green.jpg"), picture());
    for (const QString &source : {skin.path("zqLOCKPIC.jpg"), skin.dir.filePath("progressive.jpg")}) {
        SCOPED_TRACE(source.toStdString());
        const QByteArray original = zqtest::readBytes(source);
        const QString plainPath = skin.dir.filePath("plain.jpg");
        const QString aheadPath = skin.dir.filePath("ahead.jpg");
        zqtest::writeBytes(plainPath, original);
        zqtest::writeBytes(aheadPath, original);

        zq::TBGImage plain(plainPath);
        zq::TBGImage ahead(aheadPath, false, zq::BackgroundEncoding::Ahead);
        EXPECT_TRUE(ahead.BgBitmap() == plain.BgBitmap());
        plain.SaveBackground();
        ahead.SaveBackground();
        const QByteArray saved = zqtest::readBytes(plainPath);
        EXPECT_EQ(isProgressiveJpeg(saved), isProgressiveJpeg(original));
        EXPECT_EQ(zqtest::readBytes(aheadPath), saved);
        ahead.SaveBackground();
        EXPECT_EQ(zqtest::readBytes(aheadPath), saved);

        plain.ReplacePicture(green);
        ahead.ReplacePicture(green);
        plain.SaveBackground();
        ahead.SaveBackground();
        EXPECT_NE(zqtest::readBytes(plainPath), saved);
        EXPECT_EQ(zqtest::readBytes(aheadPath), zqtest::readBytes(plainPath));
    }
}

TEST(SkinDocumentTest, ASkinOpenedToEncodeAheadSavesTheSameFiles)
{
    zqtest::SampleSkinCopy plainSkin;
    zqtest::SampleSkinCopy aheadSkin;
    SkinDocument plain(plainSkin.layout());
    SkinDocument ahead(aheadSkin.layout());
    ASSERT_TRUE(plain.open());
    ASSERT_TRUE(ahead.open(false, zq::BackgroundEncoding::Ahead));
    plain.save();
    ahead.save();
    for (const char *name : zqtest::sampleFiles) {
        SCOPED_TRACE(name);
        EXPECT_EQ(aheadSkin.bytes(name), plainSkin.bytes(name));
    }
}

} // namespace
