// new: skins made at several sizes pass check, keep their pictures on the background and the
// sample's boxes; a folder in use is refused unless --force, which touches only skin files.

#include "skin_files.h"
#include "support/raw_jpeg.h"
#include "zqskin_run.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zqtest;

namespace {

const char *const pictureFiles[] = {"zqLOG.bmp",   "zqFIL.bmp",   "zqMAN.bmp",
                                    "zqLOGed.bmp", "zqFILed.bmp", "zqMANed.bmp"};
const char *const elementNames[] = {"登陆", "充值", "管理", "登陆激活", "充值激活", "管理激活"};

QJsonObject infoOf(const QString &skin)
{
    const Outcome run = zqskin({"info", skin, "--json"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return jsonOf(run.out);
}

} // namespace

TEST(SkinNew, AtEverySizeTheSkinPassesCheckWithItsPicturesOnTheBackground)
{
    const SampleSkinCopy sample;
    const QJsonObject sampleInfo = infoOf(sample.dir.path());
    for (const QSize size : {QSize(800, 600), QSize(1920, 1080), QSize(3840, 2160), QSize(1080, 1920)}) {
        SCOPED_TRACE(size.width());
        QTemporaryDir home;
        const QString folder = home.filePath("skin");
        const Outcome made =
            zqskin({"new", folder, "--size", QStringLiteral("%1x%2").arg(size.width()).arg(size.height())});
        ASSERT_EQ(made.status, 0) << made.err.toStdString();
        const Outcome check = zqskin({"check", folder});
        EXPECT_EQ(check.status, 0) << check.out.toStdString();
        EXPECT_EQ(QImage(QDir(folder).filePath("zqLOCKPIC.jpg")).size(), size);

        const QJsonObject info = infoOf(folder);
        EXPECT_EQ(info["boxes"], sampleInfo["boxes"]);
        for (int i = 0; i < 6; ++i) {
            const QJsonArray at = info["points"].toObject()[elementNames[i]].toArray();
            const QSize picture = QImage(QDir(folder).filePath(pictureFiles[i])).size();
            EXPECT_TRUE(QRect(QPoint(0, 0), size)
                            .contains(QRect(at[0].toInt(), at[1].toInt(), picture.width(), picture.height())))
                << elementNames[i];
            // The sample's arrangement stays whole: every picture keeps its offset from the 登陆 tab.
            const QJsonArray first = info["points"].toObject()["登陆"].toArray();
            const QJsonArray sampleAt = sampleInfo["points"].toObject()[elementNames[i]].toArray();
            const QJsonArray sampleFirst = sampleInfo["points"].toObject()["登陆"].toArray();
            EXPECT_EQ(at[0].toInt() - first[0].toInt(), sampleAt[0].toInt() - sampleFirst[0].toInt());
            EXPECT_EQ(at[1].toInt() - first[1].toInt(), sampleAt[1].toInt() - sampleFirst[1].toInt());
            // At the sample's own size the places are the sample's.
            if (size == QSize(1920, 1080)) {
                EXPECT_EQ(at, sampleAt) << elementNames[i];
            }
        }
        for (const char *name : pictureFiles)
            EXPECT_EQ(readBytes(QDir(folder).filePath(name)), sample.bytes(name)) << name;
    }
}

TEST(SkinNew, ABackgroundIsStoredAsTheDesignerWouldProgressiveIfItWas)
{
    const SampleSkinCopy sample;
    const RgbPicture picture = rawDecode(sample.bytes("zqLOCKPIC.jpg"));
    for (bool progressive : {false, true}) {
        QTemporaryDir home;
        const QString source = home.filePath("chosen.jpg");
        writeBytes(source, rawEncode(picture, progressive));
        const QString folder = home.filePath("skin");
        const Outcome made = zqskin({"new", folder, "--background", source});
        ASSERT_EQ(made.status, 0) << made.err.toStdString();
        EXPECT_EQ(readBytes(QDir(folder).filePath("zqLOCKPIC.jpg")),
                  rawEncode(rawDecode(readBytes(source)), progressive));
        EXPECT_EQ(zqskin({"check", folder}).status, 0);
    }
}

TEST(SkinNew, APngOrBmpBackgroundIsStoredAsABaselineJpegTheTransparentPartsOverWhite)
{
    // Opaque and fully transparent pixels only, so that what the stored picture holds is known
    // without any blending: each opaque pixel's colour, white for each transparent one.
    const QSize size(1280, 720);
    QImage drawn(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            drawn.setPixel(x, y,
                           (x / 40 + y / 40) % 3 == 0 ? qRgba(0, 0, 0, 0)
                                                      : qRgba(x % 256, y % 256, (x + y) % 200, 255));
    QImage overWhite(size, QImage::Format_RGB888);
    overWhite.fill(Qt::white);
    QPainter(&overWhite).drawImage(0, 0, drawn);

    struct Row {
        const char *name;
        QImage picture;  // written with Qt's own encoders
        QImage expected; // what the skin's background must hold
    };
    const Row rows[] = {
        {"chosen.png", drawn, overWhite},
        {"chosen.bmp", overWhite, overWhite},
        {"grey.bmp",
         overWhite.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_Indexed8),
         overWhite.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB888)},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir home;
        const QString source = home.filePath(row.name);
        ASSERT_TRUE(row.picture.save(source));
        const QString folder = home.filePath("skin");
        const Outcome made = zqskin({"new", folder, "--background", source});
        ASSERT_EQ(made.status, 0) << made.err.toStdString();

        RgbPicture expected{size.width(), size.height(), {}};
        for (int y = 0; y < size.height(); ++y)
            expected.rgb.insert(expected.rgb.end(), row.expected.constScanLine(y),
                                row.expected.constScanLine(y) + size.width() * 3);
        EXPECT_EQ(readBytes(QDir(folder).filePath("zqLOCKPIC.jpg")), rawEncode(expected, false));
        const Outcome check = zqskin({"check", folder});
        EXPECT_EQ(check.status, 0) << check.out.toStdString();
        const QJsonObject background = infoOf(folder)["background"].toObject();
        EXPECT_EQ(background["width"].toInt(), size.width());
        EXPECT_FALSE(background["progressive"].toBool());
    }

    // Neither a JPEG, a PNG nor a BMP: refused, and no folder is made.
    QTemporaryDir home;
    const QString text = home.filePath("notes.png");
    writeBytes(text, "not a picture");
    const Outcome refused = zqskin({"new", home.filePath("skin"), "--background", text});
    EXPECT_EQ(refused.status, 1);
    EXPECT_FALSE(refused.err.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(home.filePath("skin")));
}

TEST(SkinNew, AFolderInUseIsRefusedAndForceReplacesOnlyTheSkinFiles)
{
    QTemporaryDir home;
    const QString folder = home.filePath("skin");
    ASSERT_TRUE(QDir().mkpath(folder));
    writeBytes(QDir(folder).filePath("notes.txt"), "mine");
    writeBytes(QDir(folder).filePath("zqLOG.bmp"), "not a picture");

    const Outcome refused = zqskin({"new", folder});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("--force")) << refused.err.toStdString();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(readBytes(QDir(folder).filePath("zqLOG.bmp")), "not a picture");

    const Outcome forced = zqskin({"new", folder, "--force", "--size", "1024x768"});
    ASSERT_EQ(forced.status, 0) << forced.err.toStdString();
    EXPECT_EQ(readBytes(QDir(folder).filePath("notes.txt")), "mine");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 9);
    EXPECT_EQ(zqskin({"check", folder}).status, 0);

    // Too small a background for the pages: refused before anything is written.
    const QString small = home.filePath("small");
    EXPECT_EQ(zqskin({"new", small, "--size", "300x200"}).status, 1);
    EXPECT_FALSE(QFileInfo::exists(small));
}
