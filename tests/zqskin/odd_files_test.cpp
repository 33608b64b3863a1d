// Hostile and unusual files through the built zqskin, with the address space limited to
// 2 GiB: each is refused with a message that names it, or read correctly; never a crash, a
// hang or an allocation that fails, and never more memory than the pixels need.

#include "limited_run.h"
#include "skin_files.h"
#include "zqskin_run.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStorageInfo>

#include <gtest/gtest.h>

#include <zlib.h>

#include <functional>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace zqtest;

namespace {

constexpr long long twoGiB = 2LL << 30;
constexpr long budgetKilobytes = 64 * 1024;

#ifdef ZQ_SANITIZED
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif

QByteArray bigEndian32(quint32 v)
{
    return QByteArray(1, char(v >> 24)) + char(v >> 16) + char(v >> 8) + char(v);
}

QByteArray pngChunk(const char *type, const QByteArray &data)
{
    const QByteArray body = QByteArray(type) + data;
    return bigEndian32(quint32(data.size())) + body +
           bigEndian32(
               quint32(crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()))));
}

// A valid black 1-bit grayscale PNG of size x size pixels: tiny on disk, huge in memory.
QByteArray monoPng(int size)
{
    const qsizetype rowBytes = 1 + (size + 7) / 8;
    const QByteArray raw(rowBytes * size, '\0');
    uLongf packedSize = compressBound(uLong(raw.size()));
    QByteArray packed(qsizetype(packedSize), '\0');
    compress2(reinterpret_cast<Bytef *>(packed.data()), &packedSize,
              reinterpret_cast<const Bytef *>(raw.constData()), uLong(raw.size()), 9);
    packed.resize(qsizetype(packedSize));
    const QByteArray header =
        bigEndian32(quint32(size)) + bigEndian32(quint32(size)) + QByteArray("\x01\x00\x00\x00\x00", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + pngChunk("IDAT", packed) +
           pngChunk("IEND", {});
}

QByteArray littleEndian(quint32 v, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out += char(v >> (8 * i));
    return out;
}

// A BMP whose header claims width x height but which holds next to no pixel data.
QByteArray claimingBmp(quint32 width, quint32 height, int bits, int compression)
{
    const int palette = bits <= 8 ? (1 << bits) * 4 : 0;
    const QByteArray data("\0\1", 2);
    const quint32 offset = quint32(14 + 40 + palette);
    QByteArray bmp =
        "BM" + littleEndian(offset + quint32(data.size()), 4) + littleEndian(0, 4) + littleEndian(offset, 4);
    bmp += littleEndian(40, 4) + littleEndian(width, 4) + littleEndian(height, 4) + littleEndian(1, 2) +
           littleEndian(quint32(bits), 2) + littleEndian(quint32(compression), 4) +
           littleEndian(quint32(data.size()), 4) + littleEndian(2835, 4) + littleEndian(2835, 4) +
           littleEndian(0, 4) + littleEndian(0, 4);
    return bmp + QByteArray(palette, '\0') + data;
}

// The sample background with its frame header claiming width x height.
QByteArray claimingJpeg(const QByteArray &jpeg, quint16 width, quint16 height)
{
    QByteArray out = jpeg;
    const qsizetype sof = out.indexOf("\xFF\xC0");
    out[sof + 5] = char(height >> 8);
    out[sof + 6] = char(height);
    out[sof + 7] = char(width >> 8);
    out[sof + 8] = char(width);
    return out;
}

bool makeFifo(const QString &path)
{
#if defined(Q_OS_UNIX)
    QFile::remove(path);
    return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
#else
    (void)path;
    return false;
#endif
}

// Every "Normal" value but log1left (which would make the skin an older client's) and every
// box value set to the same text.
QByteArray everyValue(const QByteArray &layout, const QByteArray &value)
{
    QByteArray out;
    for (const QByteArray &line : layout.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (!out.isEmpty())
            out += '\n';
        if (equals < 0 || line.startsWith("log1left"))
            out += line;
        else
            out += line.left(equals + 1) + value + (line.endsWith('\r') ? "\r" : "");
    }
    return out;
}

struct Step {
    QStringList arguments;
    int status;    // expected exit status; -1: 0 or 1 (check reports what it finds)
    QString named; // a file the message must name, relative to the skin folder or absolute
};

struct OddFile {
    const char *name;
    // Sets the skin copy up and gives the runs to make on it.
    std::function<std::vector<Step>(SampleSkinCopy &)> prepare;
};

const QByteArray smallPng = [] {
    QImage image(40, 30, QImage::Format_ARGB32);
    image.fill(qRgba(200, 0, 0, 128));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}();

std::vector<OddFile> oddFiles()
{
    std::vector<OddFile> rows;
    const auto refusedEverywhere = [](SampleSkinCopy &skin, const QString &file) {
        const QString s = skin.dir.path();
        return std::vector<Step>{{{"info", s}, 1, file}, {{"check", s}, -1, file}, {{"resave", s}, 1, file}};
    };
    rows.push_back({"layout file that is a folder", [=](SampleSkinCopy &skin) {
                        QFile::remove(skin.layout());
                        QDir().mkdir(skin.layout());
                        return refusedEverywhere(skin, skin.layout());
                    }});
    rows.push_back({"layout file that is a FIFO", [=](SampleSkinCopy &skin) {
                        EXPECT_TRUE(makeFifo(skin.layout()));
                        return refusedEverywhere(skin, skin.layout());
                    }});
    rows.push_back(
        {"background that is a FIFO", [=](SampleSkinCopy &skin) {
             EXPECT_TRUE(makeFifo(skin.path("zqLOCKPIC.jpg")));
             return std::vector<Step>{{{"resave", skin.dir.path()}, 1, skin.path("zqLOCKPIC.jpg")}};
         }});
    rows.push_back({"tab picture that is a FIFO", [=](SampleSkinCopy &skin) {
                        EXPECT_TRUE(makeFifo(skin.path("zqFIL.bmp")));
                        return std::vector<Step>{{{"resave", skin.dir.path()}, 1, skin.path("zqFIL.bmp")}};
                    }});
    rows.push_back({"PNG and JPEG that are FIFOs", [=](SampleSkinCopy &skin) {
                        const QString png = skin.dir.filePath("pipe.png"),
                                      jpeg = skin.dir.filePath("pipe.jpg");
                        EXPECT_TRUE(makeFifo(png) && makeFifo(jpeg));
                        return std::vector<Step>{{{"flatten", skin.dir.path(), "充值", png}, 1, png},
                                                 {{"background", skin.dir.path(), jpeg}, 1, jpeg}};
                    }});
    rows.push_back({"60 MB layout file of empty lines", [=](SampleSkinCopy &skin) {
                        writeBytes(skin.layout(), skin.bytes("ZqCSkin.ini") + QByteArray(60 << 20, '\n'));
                        return refusedEverywhere(skin, skin.layout());
                    }});
    rows.push_back({"layout with a 1 MB line", [=](SampleSkinCopy &skin) {
                        writeBytes(skin.layout(), skin.bytes("ZqCSkin.ini") + "\r\n[Other]\r\nlong=" +
                                                      QByteArray(1000000, '7') + "\r\n");
                        return std::vector<Step>{{{"resave", skin.dir.path()}, 0, {}},
                                                 {{"check", skin.dir.path()}, 0, {}}};
                    }});
    rows.push_back({"layout with a million empty lines", [=](SampleSkinCopy &skin) {
                        writeBytes(skin.layout(), QByteArray(1000000, '\n') + skin.bytes("ZqCSkin.ini"));
                        return std::vector<Step>{{{"resave", skin.dir.path()}, 0, {}},
                                                 {{"check", skin.dir.path()}, 0, {}}};
                    }});
    for (const char *value : {"nan", "inf", "1e4000", "-1e4000", "0x7fffffff", "99999999999999999999",
                              "-99999999999999999999", "-2147483648"}) {
        rows.push_back({value, [=](SampleSkinCopy &skin) {
                            writeBytes(skin.layout(), everyValue(skin.bytes("ZqCSkin.ini"), value));
                            const QString png = skin.dir.filePath("small.png");
                            writeBytes(png, smallPng);
                            const QString s = skin.dir.path();
                            return std::vector<Step>{{{"check", s}, -1, {}},
                                                     {{"resave", s}, 0, {}},
                                                     {{"flatten", s, "充值", png}, 0, {}},
                                                     {{"flatten", s, "管理激活", png}, 0, {}},
                                                     {{"info", s}, 0, {}}};
                        }});
    }
    for (const char *at : {"2147483647,2147483647", "-2147483648,-2147483648", "2147483647,-2147483648",
                           "-2147483648,2147483647"}) {
        rows.push_back({at, [=](SampleSkinCopy &skin) {
                            const QString png = skin.dir.filePath("small.png");
                            writeBytes(png, smallPng);
                            return std::vector<Step>{
                                {{"flatten", skin.dir.path(), "充值", png, "--at", at}, 0, {}},
                                {{"check", skin.dir.path()}, -1, {}}};
                        }});
    }
    rows.push_back({"BMP claiming 100000 x 100000", [=](SampleSkinCopy &skin) {
                        writeBytes(skin.path("zqMAN.bmp"), claimingBmp(100000, 100000, 24, 0));
                        return std::vector<Step>{{{"resave", skin.dir.path()}, 1, skin.path("zqMAN.bmp")}};
                    }});
    rows.push_back({"RLE BMP claiming 65535 x 65535", [=](SampleSkinCopy &skin) {
                        writeBytes(skin.path("zqLOGed.bmp"), claimingBmp(65535, 65535, 8, 1));
                        return std::vector<Step>{{{"resave", skin.dir.path()}, 1, skin.path("zqLOGed.bmp")}};
                    }});
    rows.push_back({"JPEG frame of 65500 x 65500", [=](SampleSkinCopy &skin) {
                        const QString jpeg = skin.dir.filePath("huge.jpg");
                        writeBytes(jpeg, claimingJpeg(skin.bytes("zqLOCKPIC.jpg"), 65500, 65500));
                        return std::vector<Step>{{{"background", skin.dir.path(), jpeg}, 1, jpeg}};
                    }});
    rows.push_back(
        {"background frame of 65500 x 65500", [=](SampleSkinCopy &skin) {
             writeBytes(skin.path("zqLOCKPIC.jpg"), claimingJpeg(skin.bytes("zqLOCKPIC.jpg"), 65500, 65500));
             return std::vector<Step>{{{"resave", skin.dir.path()}, 1, skin.path("zqLOCKPIC.jpg")}};
         }});
    rows.push_back({"valid 16384 x 16384 1-bit PNG", [=](SampleSkinCopy &skin) {
                        const QString png = skin.dir.filePath("mono.png");
                        writeBytes(png, monoPng(16384));
                        return std::vector<Step>{{{"flatten", skin.dir.path(), "登陆", png}, 1, png}};
                    }});
    const QString reallyBig = QStringLiteral(ZQ_TESTDATA_DIR "/bmpsuite/b/reallybig.bmp");
    if (QFileInfo::exists(reallyBig)) {
        rows.push_back(
            {"bmpsuite reallybig.bmp", [=](SampleSkinCopy &skin) {
                 QFile::remove(skin.path("zqFIL.bmp"));
                 QFile::copy(reallyBig, skin.path("zqFIL.bmp"));
                 return std::vector<Step>{{{"resave", skin.dir.path()}, 1, skin.path("zqFIL.bmp")}};
             }});
    }
    return rows;
}

} // namespace

TEST(OddFiles, RefusedWithTheFileNamedOrReadWithinBudget)
{
    if (!limitedRunAvailable())
        GTEST_SKIP() << "the address space cannot be limited on this system";
    const long long limit = sanitized ? 0 : twoGiB;
    // The sanitizers' own books weigh on every run; the budget comes on top of a run that
    // does next to nothing.
    const LimitedOutcome idle = zqskinLimited({"--help"}, limit);
    ASSERT_EQ(idle.status, 0);
    const long budget = budgetKilobytes + (sanitized ? idle.peakKilobytes : 0);
    if (QFileInfo::exists(QStringLiteral(ZQ_TESTDATA_DIR "/bmpsuite/b/reallybig.bmp")) == false)
        std::printf("bmpsuite is not there: its reallybig.bmp is left out\n");

    int runs = 0;
    for (const OddFile &row : oddFiles()) {
        SCOPED_TRACE(row.name);
        SampleSkinCopy skin;
        for (const Step &step : row.prepare(skin)) {
            SCOPED_TRACE(step.arguments.join(u' ').toStdString());
            const LimitedOutcome run = zqskinLimited(step.arguments, limit);
            ++runs;
            ASSERT_TRUE(run.finished) << "still running after a minute";
            if (step.status < 0) {
                EXPECT_TRUE(run.status == 0 || run.status == 1) << run.status << run.err.toStdString();
            } else {
                EXPECT_EQ(run.status, step.status) << run.err.toStdString();
            }
            if (!step.named.isEmpty()) {
                EXPECT_TRUE(run.err.contains(step.named.toUtf8())) << run.err.toStdString();
            }
            EXPECT_FALSE(run.err.contains("bad_alloc") || run.err.contains("runtime error"))
                << run.err.toStdString();
            EXPECT_LT(run.peakKilobytes, budget);
            std::printf("%-40s %-8s exit %d, peak %ld KB\n", row.name, qPrintable(step.arguments[0]),
                        run.status, run.peakKilobytes);
        }
    }
    EXPECT_GT(runs, 40);
}

TEST(OddFiles, AFileWithoutReadPermissionIsNamed)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "a Windows file's owner cannot be denied reading by its permissions";
#endif
#if defined(Q_OS_UNIX)
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file: no permission to take away";
#endif
    SampleSkinCopy skin;
    QFile(skin.path("zqMAN.bmp")).setPermissions(QFileDevice::WriteOwner);
    const LimitedOutcome run = zqskinLimited({"resave", skin.dir.path()}, sanitized ? 0 : twoGiB);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(skin.path("zqMAN.bmp").toUtf8())) << run.err.toStdString();
}

// A small file system of its own, where mounting one is allowed.
class SmallFileSystem {
public:
    explicit SmallFileSystem(int kilobytes)
    {
        QProcess mount;
        mount.start(QStringLiteral("mount"),
                    {"-t", "tmpfs", "-o", QStringLiteral("size=%1k").arg(kilobytes), "tmpfs", m_dir.path()});
        m_mounted = mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit &&
                    mount.exitCode() == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_dir.path()});
    }
    bool mounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

TEST(OddFiles, ASaveIntoAFullFileSystemFailsWithTheSystemsReasonAndKeepsEveryOldFile)
{
    SmallFileSystem disk(2048);
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here (mounting needs privileges this run lacks)";
    ASSERT_TRUE(copySampleSkin(disk.path()));
    // Every file a save would change, so that one replaced before the failure shows.
    SampleSkinCopy::writeUnlikeASave(disk.path());
    // Leave room for the layout and the tab pictures, not for a page picture.
    const qint64 room = QStorageInfo(disk.path()).bytesAvailable();
    writeBytes(QDir(disk.path()).filePath("filler"), QByteArray(room - 100 * 1024, 'f'));
    std::map<std::string, QByteArray> before;
    for (const char *name : sampleFiles)
        before[name] = readBytes(QDir(disk.path()).filePath(name));

    const Outcome run = zqskin({"resave", disk.path()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("No space left on device")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QDir(disk.path()).filePath("zqLOGed.bmp").toUtf8()))
        << run.err.toStdString();
    for (const char *name : sampleFiles)
        EXPECT_EQ(readBytes(QDir(disk.path()).filePath(name)), before[name]) << name;
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden).size(),
              qsizetype(std::size(sampleFiles)) + 1)
        << "no temporary file is left";
}

TEST(OddFiles, TooLittleMemoryEndsWithAMessageNeverAnAbort)
{
    if (!limitedRunAvailable() || sanitized)
        GTEST_SKIP() << "needs an address-space limit, which a sanitized zqskin cannot run under";
    SampleSkinCopy skin;
    // A PNG of ordinary size that takes some tens of megabytes to flatten.
    QImage picture(2000, 1500, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgba(x & 255, y & 255, (x ^ y) & 255, (x + y) & 255));
    const QString png = skin.writePicture(QStringLiteral("big.png"), picture);
    const auto before = snapshot(skin);
    ASSERT_EQ(zqskinLimited({"flatten", skin.dir.path(), "充值", png}, 0).status, 0);
    const auto after = snapshot(skin);
    int refused = 0, saved = 0;
    // From too little to start at all to enough: wherever memory runs out, the run ends in
    // words and with every file whole.
    for (long long megabytes = 60; megabytes <= 160; megabytes += 4) {
        SCOPED_TRACE(megabytes);
        const LimitedOutcome run = zqskinLimited({"flatten", skin.dir.path(), "充值", png}, megabytes << 20);
        ASSERT_TRUE(run.finished);
        EXPECT_LT(run.status, 128) << "ended by a signal: " << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("terminate called")) << run.err.toStdString();
        if (run.status == 0) {
            ++saved;
        } else {
            ++refused;
            EXPECT_FALSE(run.err.trimmed().isEmpty());
        }
        for (const auto &[name, bytes] : snapshot(skin)) {
            EXPECT_TRUE(bytes == before.at(name) || bytes == after.at(name)) << name;
            writeBytes(skin.path(name.c_str()), before.at(name));
        }
    }
    std::printf("%d runs ran out of memory and said so, %d had enough and saved\n", refused, saved);
    EXPECT_GT(refused, 0);
    EXPECT_GT(saved, 0);
}
