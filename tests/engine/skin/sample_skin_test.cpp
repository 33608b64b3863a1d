// The committed sample skin: every file present and well formed, every picture inside the lock screen and
// every box on its page. The layout file and the BMP headers are read here by hand, apart from the
// engine, so that a fault in the engine's readers cannot hide a broken sample.

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

const QString kDir = QStringLiteral(ZQ_SOURCE_DIR "/examples/sample-skin/");
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

QByteArray readFile(const QString &name)
{
    QFile f(kDir + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::uint32_t le(const QByteArray &d, int at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(d[at + i]);
    return v;
}

struct BmpHeader {
    int width = 0;
    int height = 0;
    int bits = 0;
};

// Checks the 14-byte file header, the 40-byte info header, the colour table and the pixel rows (zero
// padding, indices inside the table).
BmpHeader checkBmp(const QString &name)
{
    SCOPED_TRACE(name.toStdString());
    const QByteArray d = readFile(name);
    BmpHeader h;
    if (d.size() < 54) {
        ADD_FAILURE() << "too short for a BMP: " << d.size() << " bytes";
        return h;
    }
    EXPECT_EQ(d.left(2), QByteArray("BM"));
    EXPECT_EQ(le(d, 2, 4), static_cast<std::uint32_t>(d.size())) << "file size field";
    EXPECT_EQ(le(d, 6, 4), 0u) << "reserved fields";
    EXPECT_EQ(le(d, 14, 4), 40u) << "info header size";
    h.width = static_cast<std::int32_t>(le(d, 18, 4));
    h.height = static_cast<std::int32_t>(le(d, 22, 4));
    h.bits = static_cast<int>(le(d, 28, 2));
    EXPECT_EQ(le(d, 26, 2), 1u) << "planes";
    EXPECT_EQ(le(d, 30, 4), 0u) << "uncompressed";
    EXPECT_GT(h.width, 0);
    EXPECT_GT(h.height, 0) << "rows stored bottom-up";

    const std::uint32_t used = le(d, 46, 4);
    const std::uint32_t colours = h.bits <= 8 ? (used ? used : 1u << h.bits) : used;
    if (h.bits <= 8) {
        EXPECT_LE(colours, 1u << h.bits);
    }
    const std::uint32_t offset = le(d, 10, 4);
    EXPECT_EQ(offset, 54 + 4 * colours) << "pixels follow the colour table";
    const std::int64_t stride = (std::int64_t(h.width) * h.bits + 31) / 32 * 4;
    const std::int64_t end = offset + stride * h.height;
    EXPECT_LE(end, d.size()) << "pixel rows run past the end";
    const QImage img(kDir + name);
    EXPECT_EQ(img.size(), QSize(h.width, h.height)) << "Qt reads it at the header's size";
    if (end > d.size() || h.width <= 0 || h.height <= 0)
        return h;
    const qsizetype rowBytes = (qsizetype(h.width) * h.bits + 7) / 8;
    for (int y = 0; y < h.height; ++y) {
        const qsizetype row = offset + y * stride;
        for (qsizetype i = rowBytes; i < stride; ++i)
            if (d[row + i] != 0) {
                ADD_FAILURE() << "row " << y << " padding is not zero";
                return h;
            }
        for (int x = 0; h.bits == 8 && x < h.width; ++x)
            if (static_cast<unsigned char>(d[row + x]) >= colours) {
                ADD_FAILURE() << "colour index past the table at row " << y << ", column " << x;
                return h;
            }
    }
    return h;
}

struct Entry {
    std::string section, key, value;
};

// The layout file's lines, in file order; blank lines skipped.
std::vector<Entry> readLayout(const QByteArray &text)
{
    std::vector<Entry> out;
    std::string section;
    for (const QByteArray &raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            section = line.mid(1, line.size() - 2).toStdString();
            continue;
        }
        const int eq = line.indexOf('=');
        if (eq > 0)
            out.push_back({section, line.left(eq).toStdString(), line.mid(eq + 1).toStdString()});
        else
            ADD_FAILURE() << "stray line: " << line.toStdString();
    }
    return out;
}

std::vector<Entry> expectedKeys()
{
    std::vector<Entry> keys;
    for (const char *stem : {"log1", "Fil1", "Man1", "Log2", "Fil2", "Man2"}) {
        keys.push_back({"Normal", std::string(stem) + "left", ""});
        keys.push_back({"Normal", std::string(stem) + "Top", ""});
    }
    for (auto [section, boxes] : {std::pair{"PageLog", 3}, {"PageFil", 4}, {"PageMan", 4}})
        for (int n = 1; n <= boxes; ++n)
            for (const char *side : {"left", "Top", "Width", "Height"})
                keys.push_back({section, "logbox" + std::to_string(n) + side, ""});
    return keys;
}

class SampleSkin : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const Entry &e : readLayout(readFile("ZqCSkin.ini")))
            values[e.section + "/" + e.key] = e.value;
    }

    // Pixel as the client reads it: the fraction times the size in extended precision, truncated.
    int scaled(const std::string &key, int size)
    {
        bool ok = false;
        const double fraction = QByteArray::fromStdString(values["Normal/" + key]).toDouble(&ok);
        EXPECT_TRUE(ok) << key;
        const long double product = static_cast<long double>(fraction) * size;
        EXPECT_EQ(product, static_cast<long double>(static_cast<std::int64_t>(product)))
            << key << ": an exact fraction keeps the pixel across a save";
        return static_cast<int>(product);
    }

    QPoint point(const std::string &stem)
    {
        return {scaled(stem + "left", kScreenWidth), scaled(stem + "Top", kScreenHeight)};
    }

    QRect box(const std::string &section, int n)
    {
        auto get = [&](const char *side) {
            bool ok = false;
            const std::string key = section + "/logbox" + std::to_string(n) + side;
            const int v = QByteArray::fromStdString(values[key]).toInt(&ok);
            EXPECT_TRUE(ok) << key << " is a whole number";
            return v;
        };
        return {get("left"), get("Top"), get("Width"), get("Height")};
    }

    std::map<std::string, std::string> values;
};

TEST_F(SampleSkin, AllFilesPresentAndSmall)
{
    qint64 total = 0;
    for (const char *name : {"ZqCSkin.ini", "zqLOCKPIC.jpg", "zqLOG.bmp", "zqFIL.bmp", "zqMAN.bmp",
                             "zqLOGed.bmp", "zqFILed.bmp", "zqMANed.bmp"}) {
        QFile f(kDir + name);
        EXPECT_TRUE(f.exists()) << name;
        total += f.size();
    }
    EXPECT_LT(total, 1024 * 1024);
}

TEST_F(SampleSkin, BackgroundIsFullHdBaselineJpeg)
{
    const QImage bg(kDir + "zqLOCKPIC.jpg");
    EXPECT_EQ(bg.size(), QSize(kScreenWidth, kScreenHeight));

    // The first frame marker says baseline (SOF0) rather than progressive.
    const QByteArray d = readFile("zqLOCKPIC.jpg");
    ASSERT_TRUE(d.startsWith("\xFF\xD8"));
    int at = 2;
    int frame = -1;
    while (at + 4 <= d.size() && static_cast<unsigned char>(d[at]) == 0xFF) {
        const int marker = static_cast<unsigned char>(d[at + 1]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            frame = marker;
            break;
        }
        at += 2 + static_cast<int>(le(d, at + 2, 1) << 8 | le(d, at + 3, 1));
    }
    EXPECT_EQ(frame, 0xC0);
}

TEST_F(SampleSkin, PicturesAreValidBmps)
{
    for (const char *tab : {"zqLOG.bmp", "zqFIL.bmp", "zqMAN.bmp"})
        EXPECT_EQ(checkBmp(tab).bits, 24) << tab;
    for (const char *page : {"zqLOGed.bmp", "zqFILed.bmp", "zqMANed.bmp"})
        EXPECT_EQ(checkBmp(page).bits, 8) << page << " uses a palette to keep the skin small";
}

TEST_F(SampleSkin, LayoutHasCrlfLinesAndEveryKeyInOrder)
{
    const QByteArray text = readFile("ZqCSkin.ini");
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.endsWith("\r\n"));
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
        }
        if (text[i] == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at byte " << i;
        }
    }

    const std::vector<Entry> got = readLayout(text);
    const std::vector<Entry> want = expectedKeys();
    ASSERT_EQ(want.size(), 56u);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].section, want[i].section) << i;
        EXPECT_EQ(got[i].key, want[i].key) << i;
        EXPECT_FALSE(got[i].value.empty()) << want[i].key;
    }
}

TEST_F(SampleSkin, TabsSideBySideAndPagesOverTheirRow)
{
    const QPoint log = point("log1"), fil = point("Fil1"), man = point("Man1");
    const BmpHeader logTab = checkBmp("zqLOG.bmp"), filTab = checkBmp("zqFIL.bmp");
    EXPECT_EQ(fil, log + QPoint(logTab.width, 0));
    EXPECT_EQ(man, fil + QPoint(filTab.width, 0));
    for (const char *page : {"Log2", "Fil2", "Man2"})
        EXPECT_EQ(point(page), log) << page << " starts where the tab row starts";
}

TEST_F(SampleSkin, EveryPictureInsideTheBackground)
{
    const QRect screen(0, 0, kScreenWidth, kScreenHeight);
    const std::pair<const char *, const char *> elements[] = {
        {"log1", "zqLOG.bmp"},   {"Fil1", "zqFIL.bmp"},   {"Man1", "zqMAN.bmp"},
        {"Log2", "zqLOGed.bmp"}, {"Fil2", "zqFILed.bmp"}, {"Man2", "zqMANed.bmp"}};
    for (auto [stem, file] : elements) {
        const BmpHeader h = checkBmp(file);
        const QRect r(point(stem), QSize(h.width, h.height));
        EXPECT_TRUE(screen.contains(r)) << file << " at " << r.x() << "," << r.y();
    }
}

TEST_F(SampleSkin, EveryBoxInsideItsPageOnADrawnField)
{
    const std::tuple<const char *, const char *, int> pages[] = {
        {"PageLog", "zqLOGed.bmp", 3}, {"PageFil", "zqFILed.bmp", 4}, {"PageMan", "zqMANed.bmp", 4}};
    for (auto [section, file, count] : pages) {
        const QImage page(kDir + file);
        ASSERT_FALSE(page.isNull()) << file;
        QList<QRect> boxes;
        for (int n = 1; n <= count; ++n) {
            const QRect b = box(section, n);
            SCOPED_TRACE(std::string(section) + " logbox" + std::to_string(n));
            EXPECT_FALSE(b.isEmpty());
            EXPECT_TRUE(page.rect().contains(b));
            for (const QRect &other : boxes)
                EXPECT_FALSE(b.intersects(other)) << "overlaps another box";
            boxes.append(b);
            // The box's edges are the drawn field's edges: at the middle of each side the pixel just
            // inside differs from the one just outside.
            if (page.rect().adjusted(1, 1, -1, -1).contains(b)) {
                const QPoint c = b.center();
                EXPECT_NE(page.pixel(b.left(), c.y()), page.pixel(b.left() - 1, c.y())) << "left edge";
                EXPECT_NE(page.pixel(b.right(), c.y()), page.pixel(b.right() + 1, c.y())) << "right edge";
                EXPECT_NE(page.pixel(c.x(), b.top()), page.pixel(c.x(), b.top() - 1)) << "top edge";
                EXPECT_NE(page.pixel(c.x(), b.bottom()), page.pixel(c.x(), b.bottom() + 1)) << "bottom edge";
            }
        }
    }
}

} // namespace
