// info and check on whole skins, on scratch copies of the sample skin. What zqskin reports is
// compared with what Qt's own image readers and the files' header bytes say.

#include "skin_files.h"
#include "zqskin_run.h"

#include <QImageWriter>
#include <QJsonArray>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace zqtest;

namespace {

const char *const pictureFiles[] = {"zqLOG.bmp",   "zqFIL.bmp",   "zqMAN.bmp",
                                    "zqLOGed.bmp", "zqFILed.bmp", "zqMANed.bmp"};

// Each key appears in the text after the one before it.
void expectInOrder(const QString &text, const QStringList &keys)
{
    qsizetype at = 0;
    for (const QString &key : keys) {
        const qsizetype next = text.indexOf(key, at);
        EXPECT_GE(next, at) << key.toStdString() << " out of order in " << text.toStdString();
        at = std::max(at, next);
    }
}

// Where each word of a line ends.
std::vector<qsizetype> wordEnds(const QString &line)
{
    std::vector<qsizetype> ends;
    for (qsizetype i = 0; i < line.size(); ++i)
        if (!line[i].isSpace() && (i + 1 == line.size() || line[i + 1].isSpace()))
            ends.push_back(i);
    return ends;
}

// A 2x2 24-bit BMP with the 12-byte core header, written by hand.
QByteArray coreHeaderBmp()
{
    QByteArray b("BM");
    const auto put = [&b](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    };
    put(14 + 12 + 16, 4);
    put(0, 4);
    put(14 + 12, 4);
    put(12, 4);
    put(2, 2);
    put(2, 2);
    put(1, 2);
    put(24, 2);
    for (int row = 0; row < 2; ++row)
        b.append(QByteArray("\x10\x20\x30\x40\x50\x60\0\0", 8));
    return b;
}

} // namespace

TEST(SkinInfo, DescribesTheBackgroundAndEveryPictureInTheReadmeKeyOrder)
{
    SampleSkinCopy skin;
    writeBytes(skin.path("zqMAN.bmp"), coreHeaderBmp());
    const Outcome run = zqskin({"info", skin.dir.path(), "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty());
    const QString text = QString::fromUtf8(run.out);
    expectInOrder(text,
                  {"\"layout\"", "\"size\"", "\"version_ok\"", "\"points\"", "\"boxes\"", "\"background\"",
                   "\"width\"", "\"height\"", "\"progressive\"", "\"grayscale\"", "\"pictures\"", "zqLOG.bmp",
                   "zqFIL.bmp", "zqMAN.bmp", "zqLOGed.bmp", "zqFILed.bmp", "zqMANed.bmp"});
    expectInOrder(text.mid(text.indexOf("zqLOG.bmp")), {"\"width\"", "\"height\"", "\"bits\"", "\"header\""});

    const QJsonObject json = jsonOf(run.out);
    EXPECT_EQ(json["layout"].toString(), skin.layout());
    const QImage background(skin.path("zqLOCKPIC.jpg"));
    EXPECT_EQ(json["size"].toArray(), (QJsonArray{background.width(), background.height()}));
    const QJsonObject bg = json["background"].toObject();
    EXPECT_EQ(bg["width"].toInt(), background.width());
    EXPECT_EQ(bg["height"].toInt(), background.height());
    EXPECT_FALSE(bg["progressive"].toBool(true));
    EXPECT_FALSE(bg["grayscale"].toBool(true));

    const QJsonObject pictures = json["pictures"].toObject();
    ASSERT_EQ(pictures.size(), 6);
    for (const char *name : pictureFiles) {
        SCOPED_TRACE(name);
        const QImage picture(skin.path(name));
        const BmpHeaderFacts header = bmpHeaderFacts(skin.bytes(name));
        const QJsonObject facts = pictures[name].toObject();
        EXPECT_EQ(facts["width"].toInt(), picture.width());
        EXPECT_EQ(facts["height"].toInt(), picture.height());
        EXPECT_EQ(facts["bits"].toInt(), header.bits);
        EXPECT_EQ(facts["header"].toInt(), header.header);
    }
    EXPECT_EQ(pictures["zqMAN.bmp"].toObject()["header"].toInt(), 12);
    EXPECT_EQ(pictures["zqLOGed.bmp"].toObject()["bits"].toInt(), 8);

    // The layout file names the same skin as its folder.
    EXPECT_EQ(zqskin({"info", skin.layout(), "--json"}).out, run.out);
}

TEST(SkinInfo, SizeComesFromTheBackgroundAndItsKindIsShown)
{
    SampleSkinCopy skin;
    QImage grey(640, 360, QImage::Format_Grayscale8);
    grey.fill(90);
    QImageWriter writer(skin.path("zqLOCKPIC.jpg"), "jpeg");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(grey));

    const Outcome json = zqskin({"info", skin.dir.path(), "--json"});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonObject facts = jsonOf(json.out);
    EXPECT_EQ(facts["size"].toArray(), (QJsonArray{640, 360}));
    EXPECT_TRUE(facts["background"].toObject()["progressive"].toBool());
    EXPECT_TRUE(facts["background"].toObject()["grayscale"].toBool());
    // 0.6796875 and 0.375 are exact binary fractions: 435 and 135 on this background.
    EXPECT_EQ(facts["points"].toObject()["登陆"].toArray(), (QJsonArray{435, 135}));

    const Outcome table = zqskin({"info", skin.dir.path()});
    ASSERT_EQ(table.status, 0);
    EXPECT_TRUE(table.out.contains("640 x 360, progressive, grayscale")) << table.out.toStdString();
}

TEST(SkinInfo, TableHeadingsStandOverTheirNumbers)
{
    SampleSkinCopy skin;
    const Outcome run = zqskin({"info", skin.dir.path()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n');
    // The table's title, then its headings, then rows led by this many numbers.
    for (const auto &[title, numbers] : {std::pair{"Pictures", 6}, std::pair{"Boxes", 4}}) {
        SCOPED_TRACE(title);
        const qsizetype at = lines.indexOf(QString::fromLatin1(title));
        ASSERT_GE(at, 0) << run.out.toStdString();
        ASSERT_LT(at + 2, lines.size());
        std::vector<qsizetype> headings = wordEnds(lines[at + 1]);
        std::vector<qsizetype> row = wordEnds(lines[at + 2]);
        ASSERT_GE(headings.size(), size_t(numbers));
        ASSERT_GE(row.size(), size_t(numbers));
        headings.resize(size_t(numbers));
        row.resize(size_t(numbers));
        EXPECT_EQ(headings, row) << lines[at + 1].toStdString() << "\n" << lines[at + 2].toStdString();
    }
}

TEST(SkinInfo, WithSizeThePicturesThatAreThereAreDescribed)
{
    SampleSkinCopy skin;
    ASSERT_TRUE(QFile::remove(skin.path("zqLOCKPIC.jpg")));
    ASSERT_TRUE(QFile::remove(skin.path("zqFIL.bmp")));

    // Without --size the background gives the size, so it must be there.
    Outcome run = zqskin({"info", skin.dir.path()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith("Cannot open file \"" + skin.path("zqLOCKPIC.jpg").toUtf8() + "\". "))
        << run.err.toStdString();

    run = zqskin({"info", skin.dir.path(), "--size", "3840x2160", "--json"});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonObject json = jsonOf(run.out);
    EXPECT_TRUE(json["background"].isNull());
    EXPECT_TRUE(json["pictures"].toObject()["zqFIL.bmp"].isNull());
    EXPECT_EQ(json["pictures"].toObject()["zqLOG.bmp"].toObject()["width"].toInt(),
              QImage(skin.path("zqLOG.bmp")).width());
    EXPECT_EQ(json["points"].toObject()["登陆"].toArray(), (QJsonArray{2610, 810}));

    // A picture that is there but broken is an error either way.
    writeBytes(skin.path("zqMAN.bmp"), "BMnot a bitmap");
    run = zqskin({"info", skin.dir.path(), "--size", "3840x2160"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.trimmed(), "Bitmap image is not valid");
}

TEST(SkinCheck, TheSampleSkinIsOk)
{
    SampleSkinCopy skin;
    const Outcome run = zqskin({"check", skin.dir.path()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "ok\n");
    EXPECT_TRUE(run.err.isEmpty());
}

TEST(SkinCheck, ListsEveryProblemOnALineAndChangesNothing)
{
    SampleSkinCopy skin;
    writeBytes(skin.path("zqFIL.bmp"), "BM but nothing else");
    ASSERT_TRUE(QFile::remove(skin.path("zqMANed.bmp")));
    QByteArray layout = skin.bytes("ZqCSkin.ini");
    // The management tab at 0.99 of 1920 reaches past the right edge; the login box is wider
    // than its page; one recharge box lost its height.
    layout.replace("Man1left=0.8359375", "Man1left=0.99");
    layout.replace("logbox1Width=270\r\nlogbox1Height=34\r\nlogbox2left=140\r\nlogbox2Top=136",
                   "logbox1Width=1000\r\nlogbox1Height=34\r\nlogbox2left=140\r\nlogbox2Top=136");
    layout.replace("logbox2Top=120\r\nlogbox2Width=270\r\nlogbox2Height=34\r\n",
                   "logbox2Top=120\r\nlogbox2Width=270\r\n");
    writeBytes(skin.layout(), layout);
    const auto before = snapshot(skin);

    const Outcome run = zqskin({"check", skin.layout()});
    EXPECT_EQ(run.status, 1);
    const QStringList lines = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << run.out.toStdString();
    EXPECT_EQ(lines[0], "zqFIL.bmp: Bitmap image is not valid");
    EXPECT_TRUE(lines[1].startsWith("zqMANed.bmp: Cannot open file \"" + skin.path("zqMANed.bmp") + "\". "));
    EXPECT_TRUE(lines[2].startsWith("管理 (zqMAN.bmp) at 1900,405, 150 x 44,")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith("reaches past the background (1920 x 1080)"));
    EXPECT_TRUE(lines[3].startsWith("用户名 (PageLog logbox1) at 140,82, 1000 x 34,"));
    EXPECT_TRUE(lines[3].endsWith("reaches past its page 登陆激活 (450 x 330)"));
    EXPECT_TRUE(lines[4].startsWith("充值卡密码 (PageFil logbox2)"));
    EXPECT_TRUE(lines[4].endsWith("has no area"));
    EXPECT_EQ(snapshot(skin), before);
}

TEST(SkinCheck, MissingLayoutAndOlderLayoutAreProblems)
{
    SampleSkinCopy skin;
    QByteArray layout = skin.bytes("ZqCSkin.ini");
    layout.replace("log1left=0.6796875", "log1left=1305");
    writeBytes(skin.layout(), layout);
    Outcome run = zqskin({"check", skin.dir.path()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(QString::fromUtf8(run.out),
              "ZqCSkin.ini: 你的Zenqa客户端版本过低，只能使用第五版软件，或升级你的Zenqa客户端。\n");

    ASSERT_TRUE(QFile::remove(skin.layout()));
    run = zqskin({"check", skin.dir.path()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.startsWith("ZqCSkin.ini: Cannot open file \"" + skin.layout().toUtf8() + "\". "))
        << run.out.toStdString();
    EXPECT_EQ(run.out.count('\n'), 1);
}
