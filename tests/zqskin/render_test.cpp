// render on scratch copies of the sample skin: the picture is checked against a composite the
// test makes itself from plain libjpeg, Qt's BMP reader and the layout file's fractions.

#include "skin_files.h"
#include "support/raw_jpeg.h"
#include "zqskin_run.h"

#include <QImage>
#include <QSettings>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zqtest;

namespace {

struct Shown {
    const char *file;
    const char *leftKey;
    const char *topKey;
};

// The sample's pictures and their keys, by the tab chosen: the other two tab pictures, then
// the tab's page on top.
struct TabCase {
    const char *tab;
    std::vector<Shown> shown;
};

const std::vector<TabCase> tabCases = {
    {"登陆",
     {{"zqMAN.bmp", "Man1left", "Man1Top"},
      {"zqFIL.bmp", "Fil1left", "Fil1Top"},
      {"zqLOGed.bmp", "Log2left", "Log2Top"}}},
    {"充值",
     {{"zqMAN.bmp", "Man1left", "Man1Top"},
      {"zqLOG.bmp", "log1left", "log1Top"},
      {"zqFILed.bmp", "Fil2left", "Fil2Top"}}},
    {"管理",
     {{"zqFIL.bmp", "Fil1left", "Fil1Top"},
      {"zqLOG.bmp", "log1left", "log1Top"},
      {"zqMANed.bmp", "Man2left", "Man2Top"}}},
};

QImage backgroundOf(const SampleSkinCopy &skin)
{
    const RgbPicture bg = rawDecode(skin.bytes("zqLOCKPIC.jpg"));
    QImage image(bg.width, bg.height, QImage::Format_RGB32);
    for (int y = 0; y < bg.height; ++y)
        for (int x = 0; x < bg.width; ++x) {
            const uint8_t *p = bg.rgb.data() + (size_t(y) * size_t(bg.width) + size_t(x)) * 3;
            image.setPixel(x, y, qRgb(p[0], p[1], p[2]));
        }
    return image;
}

QPoint placeOf(const SampleSkinCopy &skin, const Shown &shown, QSize size)
{
    const QSettings layout(skin.layout(), QSettings::IniFormat);
    const double left = layout.value(QStringLiteral("Normal/") + shown.leftKey).toDouble();
    const double top = layout.value(QStringLiteral("Normal/") + shown.topKey).toDouble();
    // Far-off places are kept far off, inside the range QRect can hold.
    const auto pixel = [](double v) { return int(std::clamp(std::trunc(v), -1e9, 1e9)); };
    return {pixel(left * size.width()), pixel(top * size.height())};
}

QImage expectedScreen(const SampleSkinCopy &skin, const TabCase &tab)
{
    QImage screen = backgroundOf(skin);
    for (const Shown &shown : tab.shown) {
        const QImage picture = QImage(skin.path(shown.file)).convertToFormat(QImage::Format_RGB32);
        const QPoint at = placeOf(skin, shown, screen.size());
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (screen.rect().contains(at.x() + x, at.y() + y))
                    screen.setPixel(at.x() + x, at.y() + y, picture.pixel(x, y));
    }
    return screen;
}

QImage rendered(const SampleSkinCopy &skin, const QStringList &options)
{
    const QString out = skin.dir.filePath(QStringLiteral("render.png"));
    const Outcome run = zqskin(QStringList{"render", skin.dir.path(), out} + options);
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    return QImage(out).convertToFormat(QImage::Format_RGB32);
}

long differingPixels(const QImage &a, const QImage &b, const QRect &where)
{
    long count = 0;
    for (int y = where.top(); y <= where.bottom(); ++y)
        for (int x = where.left(); x <= where.right(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

} // namespace

TEST(SkinRender, EachTabIsTheBackgroundWithItsPicturesCopiedAtTheirPlaces)
{
    SampleSkinCopy skin;
    for (const TabCase &tab : tabCases) {
        SCOPED_TRACE(tab.tab);
        const QImage expected = expectedScreen(skin, tab);
        const QImage image = rendered(skin, {"--tab", tab.tab});
        ASSERT_EQ(image.size(), expected.size());
        EXPECT_EQ(differingPixels(image, expected, image.rect()), 0);
    }
}

TEST(SkinRender, PicturesPastTheBackgroundAreCutOff)
{
    SampleSkinCopy skin;
    // The login page reaches 100 pixels past the right edge and 50 past the bottom.
    const QSize size = QImage(skin.path("zqLOCKPIC.jpg")).size();
    const QSize page = QImage(skin.path("zqLOGed.bmp")).size();
    ASSERT_EQ(zqskin({"set", skin.dir.path(), "登陆激活", "--at",
                      QStringLiteral("%1,%2")
                          .arg(size.width() - page.width() + 100)
                          .arg(size.height() - page.height() + 50)})
                  .status,
              0);
    const QImage expected = expectedScreen(skin, tabCases[0]);
    const QImage image = rendered(skin, {});
    ASSERT_EQ(image.size(), expected.size());
    EXPECT_EQ(differingPixels(image, expected, image.rect()), 0);
}

TEST(SkinRender, BoxesAreDrawnInsideThePageOnly)
{
    SampleSkinCopy skin;
    // One box reaching far out of its page on every side.
    ASSERT_EQ(zqskin({"box", skin.dir.path(), "管理密码", "--rect", "-300,-20,2000,120"}).status, 0);
    const QImage plain = rendered(skin, {"--tab", "管理"});
    const QImage boxed = rendered(skin, {"--tab", "管理", "--boxes"});
    const QSize size = QImage(skin.path("zqMANed.bmp")).size();
    const QPoint at = placeOf(skin, {"zqMANed.bmp", "Man2left", "Man2Top"}, plain.size());
    const QRect page(at, size);
    ASSERT_EQ(plain.size(), boxed.size());
    EXPECT_EQ(differingPixels(plain, boxed, plain.rect()), differingPixels(plain, boxed, page));
    // The stretched box covers the page's whole top row.
    EXPECT_GT(differingPixels(plain, boxed, QRect(page.left(), page.top(), page.width(), 1)),
              page.width() / 2);
    // Each of the other three boxes changes pixels too.
    const QSettings layout(skin.layout(), QSettings::IniFormat);
    for (int key : {2, 3, 4}) {
        const auto value = [&](const char *part) {
            return layout.value(QStringLiteral("PageMan/logbox%1%2").arg(key).arg(part)).toInt();
        };
        const QRect box(page.left() + value("left"), page.top() + value("Top"), value("Width"),
                        value("Height"));
        EXPECT_GT(differingPixels(plain, boxed, box), box.width()) << key;
    }
}

TEST(SkinRender, AQuarterScaleAveragesEachFourByFourBlock)
{
    SampleSkinCopy skin;
    const QImage full = rendered(skin, {});
    const QImage small = rendered(skin, {"--scale", "0.25"});
    ASSERT_EQ(full.size(), QSize(1920, 1080));
    ASSERT_EQ(small.size(), QSize(480, 270));
    long wrong = 0;
    for (int y = 0; y < small.height(); y += 7)
        for (int x = 0; x < small.width(); x += 5) {
            int sum[3] = {0, 0, 0};
            for (int dy = 0; dy < 4; ++dy)
                for (int dx = 0; dx < 4; ++dx) {
                    const QRgb c = full.pixel(4 * x + dx, 4 * y + dy);
                    sum[0] += qRed(c);
                    sum[1] += qGreen(c);
                    sum[2] += qBlue(c);
                }
            const QRgb got = small.pixel(x, y);
            wrong += qRed(got) != (sum[0] + 8) / 16 || qGreen(got) != (sum[1] + 8) / 16 ||
                     qBlue(got) != (sum[2] + 8) / 16;
        }
    EXPECT_EQ(wrong, 0);
}

TEST(SkinRender, ExtremePlacesAndBoxesDrawOnlyWhatLiesOnThePage)
{
    struct Case {
        const char *pageAt;
        const char *box;
    };
    const Case cases[] = {
        {"2147483647,2147483647", "0,0,100,100"},
        {"-2147483648,-2147483648", "2147483647,2147483647,2147483647,2147483647"},
        {"1400,700", "-2147483648,-2147483648,2147483647,2147483647"},
        {"1400,700", "-2147483648,-100,2147483647,2147483647"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.box);
        SampleSkinCopy skin;
        ASSERT_EQ(zqskin({"set", skin.dir.path(), "管理激活", "--at", c.pageAt}).status, 0);
        ASSERT_EQ(zqskin({"box", skin.dir.path(), "关机", "--rect", c.box}).status, 0);
        const QImage plain = rendered(skin, {"--tab", "管理"});
        const QImage boxed = rendered(skin, {"--tab", "管理", "--boxes"});
        ASSERT_EQ(plain.size(), boxed.size());
        const QSize size = QImage(skin.path("zqMANed.bmp")).size();
        const QRect page =
            QRect(placeOf(skin, {"zqMANed.bmp", "Man2left", "Man2Top"}, plain.size()), size) & plain.rect();
        EXPECT_EQ(differingPixels(plain, boxed, plain.rect()),
                  page.isEmpty() ? 0 : differingPixels(plain, boxed, page));
    }
}
