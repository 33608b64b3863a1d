#include "errors/engine_error.h"
#include "picture/jpeg_codec.h"
#include "skin/skin_document.h"
#include "skin_fixture.h"
#include "support/raw_jpeg.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QProcess>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using zq::Element;
using zq::SkinDocument;

namespace {

// A 24-bit picture's pixels as interleaved RGB rows.
std::vector<uint8_t> rgbOf(const zq::Bitmap &picture)
{
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(picture.width()) * size_t(picture.height()) * 3);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb c = picture.pixel(x, y);
            rgb.insert(rgb.end(), {uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c))});
        }
    return rgb;
}

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
    EXPECT_EQ(doc.background()->BgBitmap().width(), 1920);
    EXPECT_EQ(doc.background()->BgBitmap().height(), 1080);
    for (Element e : zq::allElements) {
        ASSERT_TRUE(doc.hasElement(e));
        EXPECT_EQ(doc.element(e).X(), doc.layout()->position(e).x);
        EXPECT_EQ(doc.element(e).Y(), doc.layout()->position(e).y);
        EXPECT_EQ(doc.element(e).Name(), zq::elementName(e).toString());
        EXPECT_EQ(QFileInfo(doc.element(e).BmpPath()).fileName(), zq::elementPictureFileName(e).toString());
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
    EXPECT_TRUE(doc.background() != nullptr);
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
    EXPECT_EQ(saved, doc.background()->BgJpeg().encode(doc.background()->BgBitmap()));
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
    EXPECT_EQ(again.element(Element::FilTab).X(), 301);
    EXPECT_EQ(again.element(Element::FilTab).Y(), 7);
}

// A skin whose every file a save changes, opened and edited; the files as they were.
class ChangedSkin {
public:
    ChangedSkin()
    {
        zqtest::SampleSkinCopy::writeUnlikeASave(skin.dir.path());
        old = zqtest::snapshot(skin);
        EXPECT_TRUE(doc.open());
        doc.element(Element::LogTab).Recomposite(11, 12);
    }
    // The folder holds the eight skin files and nothing else.
    QStringList strayFiles() const
    {
        QStringList names = QDir(skin.dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const char *name : zqtest::sampleFiles)
            names.removeAll(QString::fromLatin1(name));
        return names;
    }

    zqtest::SampleSkinCopy skin;
    std::map<std::string, QByteArray> old;
    SkinDocument doc{skin.layout()};
};

void expectOldSkinNamingTheFile(const ChangedSkin &changed, const zq::EngineError &error,
                                const QString &words)
{
    EXPECT_TRUE(error.message().startsWith(words)) << error.message().toStdString();
    for (const auto &[name, bytes] : changed.old)
        EXPECT_EQ(changed.skin.bytes(name.c_str()), bytes) << name;
    EXPECT_EQ(changed.strayFiles(), QStringList());
}

TEST(SkinDocumentTest, AFileThatCannotBeWrittenReplacesNoFileAndIsNamed)
{
    ChangedSkin changed;
    // The third picture's place is taken by a folder after the skin was opened.
    QFile::remove(changed.skin.path("zqFIL.bmp"));
    ASSERT_TRUE(QDir(changed.skin.dir.path()).mkdir("zqFIL.bmp"));
    changed.old.erase("zqFIL.bmp");
    try {
        changed.doc.save();
        FAIL() << "no error";
    } catch (const zq::EngineError &error) {
        expectOldSkinNamingTheFile(
            changed, error,
            QStringLiteral("Cannot create file \"%1\". ").arg(changed.skin.path("zqFIL.bmp")));
    }
}

// The system refuses to replace an append-only file, even to root, and to link to it.
class AppendOnly {
public:
    explicit AppendOnly(QString path)
        : m_path(std::move(path))
    {
        m_set = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+a"), m_path}) == 0;
    }
    ~AppendOnly() { release(); }
    bool set() const { return m_set; }
    void release()
    {
        if (m_set)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-a"), m_path});
        m_set = false;
    }

private:
    QString m_path;
    bool m_set = false;
};

// A refused replacement after others were made: those go back, the first file, a picture in
// the middle and the last one alike.
TEST(SkinDocumentTest, ARefusedReplacementPutsBackTheFilesReplacedBeforeItAndIsNamed)
{
    const struct {
        const char *file;
        const char *words; // %1: the file's path
    } rows[] = {
        {"ZqCSkin.ini", "Unable to write to %1"},
        {"zqLOGed.bmp", "Cannot create file \"%1\". "},
        {"zqLOCKPIC.jpg", "Cannot create file \"%1\". "},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file);
        ChangedSkin changed;
        AppendOnly refused(changed.skin.path(row.file));
        if (!refused.set())
            GTEST_SKIP() << "no file can be made append-only here (chattr +a), so no replacement is refused";
        try {
            changed.doc.save();
            ADD_FAILURE() << "no error";
        } catch (const zq::EngineError &error) {
            expectOldSkinNamingTheFile(changed, error,
                                       QString::fromLatin1(row.words).arg(changed.skin.path(row.file)));
        }
        // Allowed again, the same save changes every file.
        refused.release();
        changed.doc.save();
        for (const auto &[name, bytes] : zqtest::snapshot(changed.skin))
            EXPECT_NE(bytes, changed.old.at(name)) << name;
        EXPECT_EQ(changed.strayFiles(), QStringList());
    }
}

// The files are those that writing each file by itself makes, the way a save went before it
// replaced them together; the background is plain libjpeg's encode of the same pixels.
TEST(SkinDocumentTest, TheSaveWritesTheBytesOfEachFileWrittenByItself)
{
    zqtest::SampleSkinCopy together;
    zqtest::SampleSkinCopy alone;
    QImage png(60, 40, QImage::Format_ARGB32);
    png.fill(qRgba(220, 30, 60, 120));
    const QString pngPath = together.writePicture(QStringLiteral("tab.png"), png);
    for (const zqtest::SampleSkinCopy *skin : {&together, &alone})
        zqtest::SampleSkinCopy::writeUnlikeASave(skin->dir.path());
    const auto edit = [&](SkinDocument &doc) {
        ASSERT_TRUE(doc.open(false, zq::BackgroundEncoding::Ahead));
        doc.element(Element::ManPage).Recomposite(401, 99);
        doc.element(Element::FilTab).LoadPng(pngPath, 1500, 420);
    };
    SkinDocument saved(together.layout());
    edit(saved);
    saved.save();

    SkinDocument reference(alone.layout());
    edit(reference);
    for (Element e : zq::allElements)
        reference.layout()->position(e) = zq::Point{reference.element(e).X(), reference.element(e).Y()};
    reference.layout()->WriteLayout();
    for (Element e : zq::allElements)
        reference.element(e).SaveBitmap();
    reference.background()->SaveBackground();

    for (const char *name : zqtest::sampleFiles) {
        SCOPED_TRACE(name);
        EXPECT_EQ(together.bytes(name), alone.bytes(name));
    }
    const zq::Bitmap &bg = saved.background()->BgBitmap();
    EXPECT_EQ(together.bytes("zqLOCKPIC.jpg"),
              zqtest::rawEncode(rgbOf(bg).data(), bg.width(), bg.height(), false));
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
        doc.element(Element::LogTab).Recomposite(doc.background()->BgBitmap().width() + 1, 12);
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
    EXPECT_EQ(doc.layout(), nullptr);
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
