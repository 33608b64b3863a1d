// The verbs that save a whole skin (resave, flatten, background), their failures and the
// command line's usage errors, on scratch copies of the sample skin.

#include "skin_files.h"
#include "support/raw_jpeg.h"
#include "zqskin_run.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using namespace zqtest;

namespace {

QRgb rawPixel(const RgbPicture &picture, int x, int y)
{
    const uint8_t *p = picture.rgb.data() + (size_t(y) * size_t(picture.width) + size_t(x)) * 3;
    return qRgb(p[0], p[1], p[2]);
}

int blend(int s, int d, int a)
{
    return (s * a + d * (255 - a) + 255) / 256;
}

// 200x100: an opaque red third, a half-transparent blue third and a clear green third.
QImage bandedPicture()
{
    QImage image(200, 100, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y,
                           x < 66    ? qRgba(255, 0, 0, 255)
                           : x < 133 ? qRgba(0, 0, 255, 128)
                                     : qRgba(0, 255, 0, 0));
    return image;
}

QJsonArray pointOf(const SampleSkinCopy &skin, const char *element)
{
    return jsonOf(zqskin({"info", skin.dir.path(), "--json"}).out)["points"].toObject()[element].toArray();
}

bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

} // namespace

TEST(SkinResave, WritesTheSkinBackAndTheBackgroundIsAPlainLibjpegEncode)
{
    SampleSkinCopy skin;
    const auto before = snapshot(skin);
    const Outcome run = zqskin({"resave", skin.dir.path()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    auto after = snapshot(skin);
    // The sample's positions have exact fractions, and no picture changed.
    for (const char *name : sampleFiles) {
        if (std::string(name) == "zqLOCKPIC.jpg")
            continue;
        EXPECT_EQ(after[name], before.at(name)) << name;
    }
    EXPECT_EQ(after["zqLOCKPIC.jpg"], rawEncode(rawDecode(before.at("zqLOCKPIC.jpg")), false));
}

TEST(SkinResave, AProgressiveBackgroundIsSavedProgressiveByteForByte)
{
    SampleSkinCopy skin;
    const QByteArray progressive = rawEncode(rawDecode(skin.bytes("zqLOCKPIC.jpg")), true);
    writeBytes(skin.path("zqLOCKPIC.jpg"), progressive);
    const Outcome run = zqskin({"resave", skin.layout()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(skin.bytes("zqLOCKPIC.jpg"), rawEncode(rawDecode(progressive), true));
}

TEST(SkinFlatten, MovesTheElementFlattensThePngAndSavesTheSkin)
{
    SampleSkinCopy skin;
    const auto before = snapshot(skin);
    const RgbPicture background = rawDecode(before.at("zqLOCKPIC.jpg"));
    const QString png = skin.writePicture("banded.png", bandedPicture());

    const Outcome run = zqskin({"flatten", skin.dir.path(), "充值", png, "--at", "300,270"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());

    const QImage saved(skin.path("zqFIL.bmp"));
    ASSERT_EQ(saved.size(), QSize(200, 100));
    EXPECT_EQ(bmpHeaderFacts(skin.bytes("zqFIL.bmp")).bits, 24);
    EXPECT_EQ(saved.pixel(10, 50), qRgb(255, 0, 0));
    EXPECT_EQ(saved.pixel(190, 50), rawPixel(background, 490, 320));
    const QRgb under = rawPixel(background, 400, 320);
    EXPECT_EQ(saved.pixel(100, 50),
              qRgb(blend(0, qRed(under), 128), blend(0, qGreen(under), 128), blend(255, qBlue(under), 128)));

    // The layout follows the move; 300/1920 and 270/1080 have short exact fractions.
    const QByteArray layout = skin.bytes("ZqCSkin.ini");
    EXPECT_TRUE(layout.contains("Fil1left=0.15625\r\nFil1Top=0.25\r\n")) << layout.toStdString();
    EXPECT_EQ(pointOf(skin, "充值"), (QJsonArray{300, 270}));
    EXPECT_EQ(pointOf(skin, "登陆"), (QJsonArray{1305, 405}));
    for (const char *name : {"zqLOG.bmp", "zqMAN.bmp", "zqLOGed.bmp", "zqFILed.bmp", "zqMANed.bmp"})
        EXPECT_EQ(skin.bytes(name), before.at(name)) << name;
    EXPECT_EQ(QImage(skin.path("zqLOCKPIC.jpg")).size(), QSize(1920, 1080));
}

TEST(SkinFlatten, WithoutAtTheElementStaysAndKeepsItsDepth)
{
    SampleSkinCopy skin;
    const QByteArray layout = skin.bytes("ZqCSkin.ini");
    const QString png = skin.writePicture("banded.png", bandedPicture());
    const Outcome run = zqskin({"flatten", skin.layout(), "管理激活", png});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(QImage(skin.path("zqMANed.bmp")).size(), QSize(200, 100));
    EXPECT_EQ(bmpHeaderFacts(skin.bytes("zqMANed.bmp")).bits, 8);
    EXPECT_EQ(skin.bytes("ZqCSkin.ini"), layout);
}

TEST(SkinFlatten, AnElementMovedPartlyOffTheBackgroundIsFoundByCheck)
{
    SampleSkinCopy skin;
    const QString png = skin.writePicture("banded.png", bandedPicture());
    ASSERT_EQ(zqskin({"flatten", skin.dir.path(), "充值", png, "--at=-20,-10"}).status, 0);
    EXPECT_EQ(pointOf(skin, "充值"), (QJsonArray{-20, -10}));
    const Outcome check = zqskin({"check", skin.dir.path()});
    EXPECT_EQ(check.status, 1);
    EXPECT_TRUE(check.out.startsWith("充值 (zqFIL.bmp) at -20,-10, 200 x 100,")) << check.out.toStdString();
}

TEST(SkinBackground, TheNewPictureFillsTheBackgroundAtItsSize)
{
    SampleSkinCopy skin;
    const auto before = snapshot(skin);
    QImage replacement(640, 360, QImage::Format_RGB32);
    replacement.fill(qRgb(200, 30, 30));
    for (int y = 0; y < 360; ++y)
        for (int x = 320; x < 640; ++x)
            replacement.setPixel(x, y, qRgb(30, 30, 200));
    const QString jpeg = skin.writePicture("new.jpg", replacement, 95);

    const Outcome run = zqskin({"background", skin.dir.path(), jpeg});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QImage saved(skin.path("zqLOCKPIC.jpg"));
    ASSERT_EQ(saved.size(), QSize(1920, 1080));
    EXPECT_TRUE(near(saved.pixel(200, 540), qRgb(200, 30, 30), 12));
    EXPECT_TRUE(near(saved.pixel(1900, 1070), qRgb(30, 30, 200), 12));
    for (const char *name : sampleFiles) {
        if (std::string(name) == "zqLOCKPIC.jpg")
            continue;
        EXPECT_EQ(skin.bytes(name), before.at(name)) << name;
    }
}

TEST(SkinVerbs, FailuresExitWithOneInTheSystemsWordsAndWriteNothing)
{
    SampleSkinCopy skin;
    const QString brokenPng = skin.dir.filePath("broken.png");
    writeBytes(brokenPng, "\x89PNG\r\n\x1a\nthen nothing");
    const QString brokenJpeg = skin.dir.filePath("broken.jpg");
    writeBytes(brokenJpeg, "not a jpeg at all");
    const QString missing = skin.dir.filePath("missing.png");
    const auto before = snapshot(skin);

    Outcome run = zqskin({"flatten", skin.dir.path(), "登陆", missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith("Cannot open file \"" + missing.toUtf8() + "\". "))
        << run.err.toStdString();

    run = zqskin({"flatten", skin.dir.path(), "登陆", brokenPng, "--at", "5,5"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(brokenPng.toUtf8())) << run.err.toStdString();

    run = zqskin({"background", skin.dir.path(), brokenJpeg});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith("JPEG error #")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(snapshot(skin), before);

    QByteArray old = before.at("ZqCSkin.ini");
    old.replace("log1left=0.6796875", "log1left=1305");
    writeBytes(skin.layout(), old);
    run = zqskin({"resave", skin.dir.path()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(QString::fromUtf8(run.err).trimmed(),
              skin.layout() + ": 你的Zenqa客户端版本过低，只能使用第五版软件，或升级你的Zenqa客户端。");
    EXPECT_EQ(skin.bytes("ZqCSkin.ini"), old);
    writeBytes(skin.layout(), before.at("ZqCSkin.ini"));

    ASSERT_TRUE(QFile::remove(skin.path("zqMAN.bmp")));
    run = zqskin({"resave", skin.dir.path()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith("Cannot open file \"" + skin.path("zqMAN.bmp").toUtf8() + "\". "));
    EXPECT_EQ(skin.bytes("zqLOCKPIC.jpg"), before.at("zqLOCKPIC.jpg"));
}

TEST(SkinFlatten, TheLoginTabBeyondTheRightEdgeIsRefusedAndNothingIsWritten)
{
    SampleSkinCopy skin;
    const QString png = skin.writePicture("banded.png", bandedPicture());
    const auto before = snapshot(skin);
    // The sample's background is 1920 pixels wide.
    Outcome run = zqskin({"flatten", skin.dir.path(), "登陆", png, "--at", "1921,0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("登陆") && run.err.contains("right edge")) << run.err.toStdString();
    EXPECT_EQ(snapshot(skin), before);
    EXPECT_EQ(QDir(skin.dir.path()).entryList(QDir::Files).size(), qsizetype(std::size(sampleFiles)) + 1);

    // Right at the edge is still on the background: saved, and the skin opens again.
    run = zqskin({"flatten", skin.dir.path(), "登陆", png, "--at", "1920,0"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(skin.bytes("ZqCSkin.ini").contains("log1left=1\r\n"));
    EXPECT_EQ(pointOf(skin, "登陆"), (QJsonArray{1920, 0}));
}

TEST(SkinVerbs, ASaveThatCannotWriteStopsThereAndLeavesTheFileWhole)
{
    if (!FileSizeLimit::available())
        GTEST_SKIP() << "no way to make a write fail on this system";
    SampleSkinCopy skin;
    const auto before = snapshot(skin);
    Outcome run;
    {
        // The child inherits the limit: the layout and the tabs fit, the first page does not.
        FileSizeLimit limit(60000);
        run = zqskin({"resave", skin.dir.path()});
    }
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.startsWith("Cannot create file \"" + skin.path("zqLOGed.bmp").toUtf8() + "\". "))
        << run.err.toStdString();
    EXPECT_EQ(snapshot(skin), before);
    EXPECT_EQ(QDir(skin.dir.path()).entryList(QDir::Files).size(), qsizetype(std::size(sampleFiles)));
}

TEST(SkinVerbs, UsageErrorsExitWithTwoAndTouchNothing)
{
    SampleSkinCopy skin;
    const QString png = skin.writePicture("banded.png", bandedPicture());
    const QString jpeg = skin.path("zqLOCKPIC.jpg");
    const QString s = skin.dir.path();
    const auto before = snapshot(skin);
    for (const QStringList &arguments : {
             QStringList{},
             QStringList{"check"},
             QStringList{"paint", s},
             QStringList{"check", s, "--tab", "登陆"},
             QStringList{"check", s, "--jobs", "0"},
             QStringList{"info", s, "--at", "1,2"},
             QStringList{"info", s, "--size", "0x5"},
             QStringList{"info", s, "--size", "12"},
             QStringList{"info", s, "--size"},
             QStringList{"info", s, "--bogus"},
             QStringList{"resave", s, "--json"},
             QStringList{"flatten", s, "充值"},
             QStringList{"flatten", s, "登录", png},
             QStringList{"flatten", s, "充值", png, "--at", "1,2,3"},
             QStringList{"flatten", s, "充值", png, "--at", "x,2"},
             QStringList{"flatten", s, "充值", png, "--at", "1,99999999999"},
             QStringList{"flatten", s, "充值", png, "--size", "5x5"},
             QStringList{"background", s},
             QStringList{"background", s, jpeg, "--at", "1,1"},
             QStringList{"set", s, "登陆"},
             QStringList{"set", s, "登录", "--at", "1,1"},
             QStringList{"box", s, "关机", "--rect", "1,2,3"},
             QStringList{"box", s, "关机", "--at", "1,2"},
             QStringList{"render", s},
             QStringList{"render", s, s + "/out.png", "--tab", "登陆激活"},
             QStringList{"render", s, s + "/out.png", "--scale", "0"},
             QStringList{"render", s, s + "/out.png", "--scale", "1.5"},
             QStringList{"render", s, s + "/out.png", "--out-dir", s},
             QStringList{"new", s + "/new", "--size", "800x600", "--background", jpeg},
             QStringList{"new", s + "/new", "--tab", "充值"},
         }) {
        const Outcome run = zqskin(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("usage: zqskin info SKIN... [--json] [--size WxH] [--jobs N]\n"));
        EXPECT_TRUE(run.err.contains("zqskin flatten SKIN ELEMENT PNG [--at X,Y]\n"))
            << run.err.toStdString();
    }
    EXPECT_EQ(snapshot(skin), before);

    const Outcome help = zqskin({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("usage: zqskin info"));
}
