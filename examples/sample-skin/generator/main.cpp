// Draws the sample skin: a café lock screen with its three tabs, three pages and layout file.
// Usage: zq_sample_generator OUTPUT_FOLDER
// Everything is drawn from the constants below with one font, so the output only changes when they do.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kBgWidth = 1920;
constexpr int kBgHeight = 1080;
constexpr int kTabWidth = 150;
constexpr int kTabHeight = 44;
constexpr int kPageWidth = 3 * kTabWidth;
constexpr int kPageHeight = 330;
// x a multiple of 15 and y a multiple of 135 make x / 1920 and y / 1080 exact binary fractions, so the
// client reads back the very pixel and a save in the designer does not make the layout drift.
constexpr QPoint kTabRow(1305, 405);

const QString kFontFamily = QStringLiteral("WenQuanYi Micro Hei");

const QColor kCream(0xF7, 0xF0, 0xE6);
const QColor kRoast(0x5A, 0x39, 0x28);
const QColor kInk(0x3B, 0x27, 0x1C);
const QColor kLabel(0x6B, 0x50, 0x40);
const QColor kHint(0xA3, 0x8E, 0x7E);
const QColor kFieldBorder(0xC9, 0xB8, 0xA6);
const QColor kAccent(0xC2, 0x6A, 0x2B);
const QColor kWhite(0xFF, 0xFF, 0xFF);

enum class Kind { Input, Button };

struct Field {
    QString caption;
    QRect rect; // relative to the page picture; this is also the box written to the layout file
    Kind kind;
};

struct Page {
    int tab;             // index of the selected tab
    const char *file;    // page picture
    const char *section; // box section of the layout file
    const char *posKey;  // key stem of the page position in [Normal]
    QList<Field> fields; // in key order: logbox1, logbox2, ...
    QString hint;
};

struct Tab {
    QString caption;
    const char *file;
    const char *posKey; // written spelling of the key stem in [Normal]
};

const QList<Tab> kTabs = {
    {QStringLiteral("登陆"), "zqLOG.bmp", "log1"},
    {QStringLiteral("充值"), "zqFIL.bmp", "Fil1"},
    {QStringLiteral("管理"), "zqMAN.bmp", "Man1"},
};

const QList<Page> kPages = {
    {0,
     "zqLOGed.bmp",
     "PageLog",
     "Log2",
     {{QStringLiteral("用户名"), QRect(140, 82, 270, 34), Kind::Input},
      {QStringLiteral("登陆密码"), QRect(140, 136, 270, 34), Kind::Input},
      {QStringLiteral("确定"), QRect(140, 200, 270, 40), Kind::Button}},
     QStringLiteral("请输入会员账号和密码，忘记密码请联系吧台")},
    {1,
     "zqFILed.bmp",
     "PageFil",
     "Fil2",
     {{QStringLiteral("充值卡号"), QRect(140, 70, 270, 34), Kind::Input},
      {QStringLiteral("充值卡密码"), QRect(140, 120, 270, 34), Kind::Input},
      {QStringLiteral("充值金额"), QRect(140, 170, 270, 34), Kind::Input},
      {QStringLiteral("充值确定"), QRect(140, 228, 270, 40), Kind::Button}},
     QStringLiteral("充值卡可在吧台购买，充值即时到账")},
    // The client keeps restart under logbox3 and shut down under logbox4.
    {2,
     "zqMANed.bmp",
     "PageMan",
     "Man2",
     {{QStringLiteral("管理密码"), QRect(140, 82, 270, 34), Kind::Input},
      {QStringLiteral("管理确定"), QRect(140, 136, 270, 40), Kind::Button},
      {QStringLiteral("重启"), QRect(140, 214, 127, 40), Kind::Button},
      {QStringLiteral("关机"), QRect(283, 214, 127, 40), Kind::Button}},
     QStringLiteral("此页仅限网管使用")},
};

QFont font(int pixelSize)
{
    QFont f(kFontFamily);
    f.setPixelSize(pixelSize);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// --- background -------------------------------------------------------------------------------------

void softCircle(QPainter &p, QPointF centre, qreal radius, QColor colour)
{
    QRadialGradient g(centre, radius);
    g.setColorAt(0.0, colour);
    g.setColorAt(0.7, QColor(colour.red(), colour.green(), colour.blue(), colour.alpha() / 2));
    g.setColorAt(1.0, QColor(colour.red(), colour.green(), colour.blue(), 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
}

void drawCup(QPainter &p, QPointF c)
{
    // Saucer with its shadow.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x0B, 0x07, 110));
    p.drawEllipse(c + QPointF(12, 214), 250, 48);
    QLinearGradient saucer(c.x() - 240, 0, c.x() + 240, 0);
    saucer.setColorAt(0, QColor(0xE2, 0xD6, 0xC8));
    saucer.setColorAt(0.5, QColor(0xFB, 0xF6, 0xEF));
    saucer.setColorAt(1, QColor(0xC9, 0xBB, 0xAB));
    p.setBrush(saucer);
    p.drawEllipse(c + QPointF(0, 200), 240, 46);

    // Handle, behind the body.
    QPen handle(QColor(0xE6, 0xDB, 0xCD), 24, Qt::SolidLine, Qt::RoundCap);
    p.setPen(handle);
    p.setBrush(Qt::NoBrush);
    QPainterPath loop;
    loop.moveTo(c + QPointF(130, 40));
    loop.cubicTo(c + QPointF(230, 20), c + QPointF(240, 150), c + QPointF(110, 150));
    p.drawPath(loop);

    // Body: a bowl from the rim down to a rounded foot.
    QPainterPath body;
    body.moveTo(c + QPointF(-150, 0));
    body.cubicTo(c + QPointF(-150, 120), c + QPointF(-110, 190), c + QPointF(0, 196));
    body.cubicTo(c + QPointF(110, 190), c + QPointF(150, 120), c + QPointF(150, 0));
    body.closeSubpath();
    QLinearGradient shade(c.x() - 150, 0, c.x() + 150, 0);
    shade.setColorAt(0, QColor(0xE4, 0xD8, 0xCA));
    shade.setColorAt(0.4, QColor(0xFD, 0xF9, 0xF3));
    shade.setColorAt(1, QColor(0xBF, 0xB0, 0x9F));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawPath(body);

    // Rim, coffee and a latte heart.
    p.setBrush(QColor(0xF4, 0xEC, 0xE1));
    p.drawEllipse(c, 150, 34);
    p.setBrush(QColor(0x4A, 0x2A, 0x18));
    p.drawEllipse(c + QPointF(0, 2), 136, 27);
    QRadialGradient crema(c + QPointF(0, 2), 120);
    crema.setColorAt(0, QColor(0xB9, 0x7A, 0x4A));
    crema.setColorAt(1, QColor(0x6E, 0x3F, 0x22));
    p.setBrush(crema);
    p.drawEllipse(c + QPointF(0, 3), 112, 21);
    QPainterPath heart;
    QPointF h = c + QPointF(0, 14);
    heart.moveTo(h);
    heart.cubicTo(h + QPointF(-46, -14), h + QPointF(-36, -32), h + QPointF(0, -20));
    heart.cubicTo(h + QPointF(36, -32), h + QPointF(46, -14), h);
    p.setBrush(QColor(0xF3, 0xE4, 0xD0));
    p.drawPath(heart);

    // Steam.
    QPen steam(QColor(0xFF, 0xF2, 0xE4, 60), 12, Qt::SolidLine, Qt::RoundCap);
    p.setPen(steam);
    p.setBrush(Qt::NoBrush);
    for (int i = -1; i <= 1; ++i) {
        QPointF s = c + QPointF(i * 55, -40);
        QPainterPath wave;
        wave.moveTo(s);
        wave.cubicTo(s + QPointF(-40, -50), s + QPointF(40, -100), s + QPointF(0, -150));
        wave.cubicTo(s + QPointF(-30, -180), s + QPointF(20, -210), s + QPointF(5, -235));
        p.drawPath(wave);
    }
}

QImage drawBackground()
{
    QImage bg(kBgWidth, kBgHeight, QImage::Format_RGB32);
    QPainter p(&bg);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, kBgHeight);
    sky.setColorAt(0.0, QColor(0x1E, 0x13, 0x0E));
    sky.setColorAt(0.55, QColor(0x47, 0x2C, 0x1D));
    sky.setColorAt(1.0, QColor(0x74, 0x47, 0x2A));
    p.fillRect(bg.rect(), sky);
    softCircle(p, QPointF(620, 600), 900, QColor(0xFF, 0xB8, 0x70, 60));
    softCircle(p, QPointF(1560, 520), 560, QColor(0xFF, 0xD8, 0xB0, 28));

    // Café lights, out of focus.
    const struct {
        int x, y, r, a;
    } lights[] = {{180, 120, 70, 50},   {420, 90, 46, 40},   {760, 150, 90, 36},  {1080, 80, 60, 44},
                  {1320, 170, 110, 30}, {1700, 110, 80, 42}, {1840, 300, 56, 34}, {980, 300, 40, 30},
                  {90, 420, 60, 26},    {1160, 900, 90, 22}, {1860, 860, 70, 24}};
    for (const auto &l : lights)
        softCircle(p, QPointF(l.x, l.y), l.r, QColor(0xFF, 0xD2, 0x96, l.a));

    // The card's shadow, so the page seems to float.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        p.setBrush(QColor(0, 0, 0, 7));
        QRectF r(kTabRow.x() - 12 + i, kTabRow.y() - 6 + i, kPageWidth + 24 - 2 * i,
                 kPageHeight + 30 - 2 * i);
        p.drawRoundedRect(r.translated(0, 8), 16, 16);
    }

    drawCup(p, QPointF(560, 640));

    p.setPen(QColor(0xFB, 0xEE, 0xDC));
    p.setFont(font(104));
    p.drawText(QRect(160, 170, 800, 140), Qt::AlignCenter, QStringLiteral("Zenqa 网咖"));
    p.setPen(QColor(0xE9, 0xC9, 0xA4));
    p.setFont(font(38));
    p.drawText(QRect(160, 310, 800, 60), Qt::AlignCenter, QStringLiteral("一杯咖啡 · 畅游网络"));

    p.setPen(QColor(0xFB, 0xEE, 0xDC));
    p.setFont(font(34));
    p.drawText(QRect(kTabRow.x(), kTabRow.y() - 74, kPageWidth, 56), Qt::AlignCenter,
               QStringLiteral("欢迎光临，请登陆"));

    p.fillRect(QRect(0, 1016, kBgWidth, 64), QColor(0, 0, 0, 80));
    p.setPen(QColor(0xE9, 0xD6, 0xC0));
    p.setFont(font(22));
    p.drawText(QRect(0, 1016, kBgWidth, 64), Qt::AlignCenter,
               QStringLiteral("文明上网 · 禁止吸烟 · 未成年人禁止入内 · 上网请出示有效身份证件"));
    return bg;
}

// --- tabs and pages -----------------------------------------------------------------------------------

void drawTab(QPainter &p, QRect r, const QString &caption, bool selected)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    if (selected) {
        p.fillRect(r, kCream);
        p.fillRect(QRect(r.left(), r.top(), r.width(), 3), kAccent);
        p.setPen(kInk);
    } else {
        p.fillRect(r, kRoast);
        p.fillRect(QRect(r.right(), r.top(), 1, r.height()), kInk);
        p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), kInk);
        p.setPen(kCream);
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setFont(font(20));
    p.drawText(r.adjusted(0, selected ? 3 : 0, 0, 0), Qt::AlignCenter, caption);
}

void drawField(QPainter &p, const Field &f)
{
    if (f.kind == Kind::Input) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(f.rect, kWhite);
        p.setPen(kFieldBorder);
        p.setBrush(Qt::NoBrush);
        p.drawRect(f.rect.adjusted(0, 0, -1, -1));
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(kLabel);
        p.setFont(font(17));
        p.drawText(QRect(0, f.rect.top(), f.rect.left() - 14, f.rect.height()),
                   Qt::AlignRight | Qt::AlignVCenter, f.caption);
    } else {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(f.rect), 5, 5);
        p.setPen(kWhite);
        p.setFont(font(19));
        p.drawText(f.rect, Qt::AlignCenter, f.caption);
    }
}

// Antialiased drawing blends every foreground into its own background, so a palette of those blends
// holds the picture; nearest-colour mapping then needs no dithering.
QList<QRgb> pagePalette()
{
    const QColor pairs[][2] = {{kInk, kCream},         {kLabel, kCream},  {kHint, kCream},
                               {kCream, kRoast},       {kWhite, kAccent}, {kAccent, kCream},
                               {kFieldBorder, kWhite}, {kInk, kRoast},    {kAccent, kRoast}};
    constexpr int steps = 28;
    QList<QRgb> palette;
    for (const auto &pair : pairs) {
        for (int i = 0; i < steps; ++i) {
            auto mix = [&](int a, int b) {
                return (a * (steps - 1 - i) + b * i + (steps - 1) / 2) / (steps - 1);
            };
            QRgb c = qRgb(mix(pair[0].red(), pair[1].red()), mix(pair[0].green(), pair[1].green()),
                          mix(pair[0].blue(), pair[1].blue()));
            if (!palette.contains(c))
                palette.append(c);
        }
    }
    return palette;
}

QImage drawPage(const Page &page)
{
    QImage img(kPageWidth, kPageHeight, QImage::Format_RGB32);
    img.fill(kCream);
    QPainter p(&img);
    for (int i = 0; i < kTabs.size(); ++i)
        drawTab(p, QRect(i * kTabWidth, 0, kTabWidth, kTabHeight), kTabs[i].caption, i == page.tab);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(0, kTabHeight, 1, kPageHeight - kTabHeight), kRoast);
    p.fillRect(QRect(kPageWidth - 1, kTabHeight, 1, kPageHeight - kTabHeight), kRoast);
    p.fillRect(QRect(0, kPageHeight - 1, kPageWidth, 1), kRoast);
    if (page.tab == 0)
        p.fillRect(QRect(0, 0, 1, kTabHeight), kRoast);
    if (page.tab == 2)
        p.fillRect(QRect(kPageWidth - 1, 0, 1, kTabHeight), kRoast);
    for (const Field &f : page.fields)
        drawField(p, f);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(kHint);
    p.setFont(font(14));
    p.drawText(QRect(0, kPageHeight - 46, kPageWidth, 30), Qt::AlignCenter, page.hint);
    p.end();
    QImage indexed = img.convertToFormat(QImage::Format_Indexed8, pagePalette(), Qt::ThresholdDither);
    // Qt writes each scan line whole, padding included, and leaves that padding uninitialised.
    for (int y = 0; y < indexed.height(); ++y)
        std::memset(indexed.scanLine(y) + indexed.width(), 0, indexed.bytesPerLine() - indexed.width());
    return indexed;
}

QImage drawTabPicture(const Tab &tab)
{
    QImage img(kTabWidth, kTabHeight, QImage::Format_RGB32);
    QPainter p(&img);
    drawTab(p, img.rect(), tab.caption, false);
    p.end();
    return img.convertToFormat(QImage::Format_RGB888);
}

// --- layout file --------------------------------------------------------------------------------------

QByteArray fractionDigits(int pixel, int size, bool exactOnly)
{
    std::int64_t scale = 1;
    for (int digits = 1; digits <= 15; ++digits) {
        scale *= 10;
        if (exactOnly && pixel * scale % size != 0)
            continue;
        std::int64_t units = (pixel * scale + size - 1) / size;
        QByteArray text = QByteArray::number(static_cast<qlonglong>(units));
        text = text.rightJustified(digits + 1, '0');
        text.insert(text.size() - digits, '.');
        while (text.endsWith('0'))
            text.chop(1);
        if (text.endsWith('.'))
            text.chop(1);
        long double value = text.toDouble();
        if (static_cast<int>(value * size) == pixel && static_cast<int>(text.toDouble() * size) == pixel)
            return text;
    }
    return {};
}

// The shortest decimal that the client turns back into `pixel`: it multiplies the parsed double by
// `size` in extended precision and truncates toward zero. An exact quotient is preferred, because it is
// also what the designer writes on save; otherwise the quotient rounded up.
QByteArray fraction(int pixel, int size)
{
    for (bool exactOnly : {true, false}) {
        if (QByteArray text = fractionDigits(pixel, size, exactOnly); !text.isEmpty())
            return text;
    }
    std::fprintf(stderr, "no fraction for %d of %d\n", pixel, size);
    std::exit(1);
}

QByteArray layoutFile(const QList<QPoint> &tabs)
{
    QByteArray out = "[Normal]\r\n";
    auto point = [&](const char *stem, QPoint at) {
        out += QByteArray(stem) + "left=" + fraction(at.x(), kBgWidth) + "\r\n";
        out += QByteArray(stem) + "Top=" + fraction(at.y(), kBgHeight) + "\r\n";
    };
    for (int i = 0; i < kTabs.size(); ++i)
        point(kTabs[i].posKey, tabs[i]);
    for (const Page &page : kPages)
        point(page.posKey, kTabRow);
    for (const Page &page : kPages) {
        out += "\r\n[" + QByteArray(page.section) + "]\r\n";
        for (int n = 0; n < page.fields.size(); ++n) {
            const QRect r = page.fields[n].rect;
            const QByteArray key = "logbox" + QByteArray::number(n + 1);
            out += key + "left=" + QByteArray::number(r.left()) + "\r\n";
            out += key + "Top=" + QByteArray::number(r.top()) + "\r\n";
            out += key + "Width=" + QByteArray::number(r.width()) + "\r\n";
            out += key + "Height=" + QByteArray::number(r.height()) + "\r\n";
        }
    }
    return out;
}

bool save(const QImage &img, const QString &path, const char *format, int quality = -1)
{
    QImageWriter writer(path, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (writer.write(img))
        return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    // Another font would draw other pixels; refuse rather than write a different skin.
    if (QFontInfo(font(20)).family() != kFontFamily) {
        std::fprintf(stderr, "font \"%s\" is not installed (Debian: fonts-wqy-microhei)\n",
                     qPrintable(kFontFamily));
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));

    QList<QPoint> tabs;
    for (int i = 0; i < kTabs.size(); ++i)
        tabs.append(kTabRow + QPoint(i * kTabWidth, 0));

    bool ok = save(drawBackground(), out.filePath("zqLOCKPIC.jpg"), "jpeg", 85);
    for (const Tab &tab : kTabs)
        ok = save(drawTabPicture(tab), out.filePath(tab.file), "bmp") && ok;
    for (const Page &page : kPages)
        ok = save(drawPage(page), out.filePath(page.file), "bmp") && ok;

    QFile ini(out.filePath("ZqCSkin.ini"));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate) || ini.write(layoutFile(tabs)) < 0) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(ini.fileName()), qPrintable(ini.errorString()));
        ok = false;
    }
    return ok ? 0 : 1;
}
