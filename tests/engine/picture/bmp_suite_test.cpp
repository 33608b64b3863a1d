// The public BMP suite (good, questionable and bad files) against the reader and writer.
#include "errors/engine_error.h"
#include "picture/bmp_reader.h"
#include "picture/bmp_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>

using zq::Bitmap;

namespace {

const QString suiteDir = QStringLiteral(ZQ_TESTDATA_DIR "/bmpsuite");

struct SuiteFile {
    QString group; // g, q or b
    QString name;
    QStringList refs;
    QString path() const { return suiteDir + '/' + group + '/' + name; }
};

std::vector<SuiteFile> suiteIndex()
{
    std::vector<SuiteFile> files;
    QFile index(suiteDir + "/index.tsv");
    if (!index.open(QIODevice::ReadOnly))
        return files;
    bool header = true;
    while (!index.atEnd()) {
        const QStringList cells = QString::fromUtf8(index.readLine()).trimmed().split('\t');
        if (header || cells.size() < 4) {
            header = false;
            continue;
        }
        SuiteFile f{cells[0], cells[1], {}};
        for (const QString &ref : cells[3].split('|')) {
            if (ref.trimmed() != "-")
                f.refs << ref.trimmed();
        }
        files.push_back(f);
    }
    return files;
}

#define SKIP_WITHOUT_SUITE(files)                                                                            \
    if ((files).empty())                                                                                     \
    GTEST_SKIP() << "bmpsuite not found in " << suiteDir.toStdString()

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "cannot read " << path.toStdString();
    return f.readAll();
}

// Largest difference of any colour channel against a render of the same size, counted only
// where the render is opaque; nothing when the sizes differ.
std::optional<int> worstDifference(const Bitmap &bitmap, const QString &refName)
{
    const QImage ref = QImage(suiteDir + "/ref/" + refName).convertToFormat(QImage::Format_ARGB32);
    if (ref.isNull() || ref.width() != bitmap.width() || ref.height() != bitmap.height())
        return std::nullopt;
    int worst = 0;
    for (int y = 0; y < ref.height(); ++y) {
        for (int x = 0; x < ref.width(); ++x) {
            const QRgb want = ref.pixel(x, y);
            if (qAlpha(want) != 255)
                continue;
            const QRgb got = bitmap.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(got) - qRed(want)), std::abs(qGreen(got) - qGreen(want)),
                              std::abs(qBlue(got) - qBlue(want))});
        }
    }
    return worst;
}

// The best match among a file's accepted renders, or -1 when none has the picture's size.
int bestDifference(const Bitmap &bitmap, const SuiteFile &f)
{
    int best = -1;
    for (const QString &ref : f.refs) {
        if (const auto d = worstDifference(bitmap, ref); d && (best < 0 || *d < best))
            best = *d;
    }
    return best;
}

std::optional<Bitmap> tryRead(const SuiteFile &f, QString &error)
{
    try {
        return zq::readBmpFile(f.path());
    } catch (const zq::EngineError &e) {
        error = e.message();
        return std::nullopt;
    }
}

void expectSameFormatAndPixels(const Bitmap &a, const Bitmap &b, const std::string &what)
{
    ASSERT_EQ(a.width(), b.width()) << what;
    ASSERT_EQ(a.height(), b.height()) << what;
    EXPECT_EQ(a.format().bitsPerPixel, b.format().bitsPerPixel) << what;
    EXPECT_EQ(a.format().effectiveMasks(), b.format().effectiveMasks()) << what;
    EXPECT_EQ(a.format().palette, b.format().palette) << what;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            differing += a.rawPixel(x, y) != b.rawPixel(x, y);
    EXPECT_EQ(differing, 0) << what;
}

} // namespace

TEST(BmpSuite, FilesReadLikeTheirRenderOrAreRefused)
{
    const auto files = suiteIndex();
    SKIP_WITHOUT_SUITE(files);
    // Good files always read; truncated, impossible or out-of-table bad files never do.
    const QStringList mustRefuse = {"badbitcount.bmp", "badheadersize.bmp", "badplanes.bmp",
                                    "badwidth.bmp",    "pal8badindex.bmp",  "reallybig.bmp",
                                    "rletopdown.bmp",  "shortfile.bmp"};
    int goodRead = 0, questionableRead = 0;
    for (const SuiteFile &f : files) {
        SCOPED_TRACE((f.group + '/' + f.name).toStdString());
        QString error;
        const auto bitmap = tryRead(f, error);
        if (!bitmap) {
            EXPECT_NE(f.group, "g") << error.toStdString();
            // A header that claims more pixels than are ever opened names the file and its size.
            if (f.name == "reallybig.bmp")
                EXPECT_EQ(error, QStringLiteral("Cannot open file \"%1\". The picture is 3000000 x 2000000 "
                                                "pixels, too large to open")
                                     .arg(f.path()));
            else
                EXPECT_EQ(error, "Bitmap image is not valid");
            continue;
        }
        EXPECT_FALSE(mustRefuse.contains(f.name)) << "was read";
        goodRead += f.group == "g";
        questionableRead += f.group == "q";
        // Anything read takes no more memory than the file's own pixels could fill.
        EXPECT_LE(qint64(bitmap->bits().size()), 4 * QFileInfo(f.path()).size());
        // Its pixels are in another colour space; only colour management matches the render.
        if (f.refs.isEmpty() || f.name == "rgb24prof2.bmp")
            continue;
        // Channels of more than 8 bits are cut to their top 8, where a render may round.
        const int best = bestDifference(*bitmap, f);
        EXPECT_GE(best, 0) << "no render of this size";
        EXPECT_LE(best, f.group == "g" ? 0 : 1);
    }
    EXPECT_EQ(goodRead, 27);
    EXPECT_GT(questionableRead, 0);
}

TEST(BmpSuite, EveryReadableFileWritesBackWithItsPixelsAndFormat)
{
    const auto files = suiteIndex();
    SKIP_WITHOUT_SUITE(files);
    int written = 0;
    for (const SuiteFile &f : files) {
        if (f.group == "b")
            continue;
        QString error;
        const auto bitmap = tryRead(f, error);
        if (!bitmap)
            continue;
        const QByteArray bytes = zq::encodeBmp(*bitmap);
        const Bitmap again = zq::readBmp(bytes);
        expectSameFormatAndPixels(*bitmap, again, f.name.toStdString());
        // The core header stays; every other header is written as the 40-byte one.
        const bool core = bitmap->format().header == zq::BmpHeaderKind::Core;
        EXPECT_EQ(again.format().header, core ? zq::BmpHeaderKind::Core : zq::BmpHeaderKind::Info)
            << f.name.toStdString();
        EXPECT_EQ(zq::encodeBmp(again), bytes) << f.name.toStdString();
        ++written;
    }
    EXPECT_GE(written, 27);

    // Files already in the written form (core or 40-byte header, uncompressed, bottom-up, no
    // table beside true colour) come back byte for byte.
    for (const char *name : {"pal1.bmp", "pal4gs.bmp", "pal8.bmp", "pal8os2.bmp", "pal8w125.bmp", "rgb16.bmp",
                             "rgb16-565.bmp", "rgb24.bmp", "rgb32.bmp", "rgb32bf.bmp"}) {
        const QByteArray original = fileBytes(suiteDir + "/g/" + name);
        EXPECT_EQ(zq::encodeBmp(zq::readBmp(original)), original) << name;
    }
}

TEST(BmpSuite, TruncatedFilesAreRefused)
{
    const auto files = suiteIndex();
    SKIP_WITHOUT_SUITE(files);
    // One file of each layout. An uncompressed file may lack its last row's padding, an RLE file
    // its end-of-bitmap marker after the last row; any shorter cut loses pixels.
    const struct {
        const char *name;
        int slack;
    } cases[] = {{"pal1.bmp", 0},      {"pal4.bmp", 0},    {"pal4rle.bmp", 2},
                 {"pal8rle.bmp", 2},   {"pal8os2.bmp", 1}, {"pal8v5.bmp", 1},
                 {"rgb16-565.bmp", 2}, {"rgb24.bmp", 3},   {"rgb32bf.bmp", 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray whole = fileBytes(suiteDir + "/g/" + c.name);
        ASSERT_FALSE(whole.isEmpty());
        // Every cut through the headers and table, then a spread of cuts through the pixels.
        for (qsizetype length = 0; length < whole.size() - c.slack; length += length < 1200 ? 1 : 7) {
            try {
                zq::readBmp(whole.left(length));
                ADD_FAILURE() << "read with " << length << " of " << whole.size() << " bytes";
                break;
            } catch (const zq::EngineError &e) {
                EXPECT_EQ(e.message(), "Bitmap image is not valid");
            }
        }
    }
}

TEST(BmpSuite, DamagedFilesAreRefusedOrReadWithoutHarm)
{
    const auto files = suiteIndex();
    SKIP_WITHOUT_SUITE(files);
    // Bytes overwritten at random, mostly in the headers and table where sizes live. Nothing may
    // crash or read past the end (the sanitizers watch); the outcome is a bitmap or the error.
    std::mt19937 random(20240601);
    int read = 0, refused = 0;
    for (const SuiteFile &f : files) {
        if (f.group == "b")
            continue;
        const QByteArray original = fileBytes(f.path());
        for (int round = 0; round < 60; ++round) {
            QByteArray damaged = original;
            const int changes = 1 + int(random() % 4);
            for (int i = 0; i < changes; ++i) {
                const qsizetype span =
                    round % 3 == 0 ? damaged.size() : std::min<qsizetype>(damaged.size(), 80);
                damaged[random() % span] = char(random() & 0xFF);
            }
            if (round % 5 == 0)
                damaged.truncate(qsizetype(random() % quint32(damaged.size())));
            try {
                const Bitmap b = zq::readBmp(damaged);
                EXPECT_EQ(qsizetype(b.bits().size()), b.stride() * b.height());
                ++read;
            } catch (const zq::EngineError &e) {
                EXPECT_EQ(e.message(), "Bitmap image is not valid") << f.name.toStdString();
                ++refused;
            }
        }
    }
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}
