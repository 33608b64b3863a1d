#include "bench_skin.h"

#include "bench_pictures.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace bench {

namespace {

const char *const sampleFiles[] = {"ZqCSkin.ini", "zqLOG.bmp",   "zqFIL.bmp",  "zqMAN.bmp",
                                   "zqLOGed.bmp", "zqFILed.bmp", "zqMANed.bmp"};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeSkin(const QDir &folder, const QByteArray &background)
{
    const QDir sample(QStringLiteral(ZQ_SOURCE_DIR "/examples/sample-skin"));
    for (const char *name : sampleFiles) {
        QFile source(sample.filePath(QString::fromLatin1(name)));
        if (!source.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(source.fileName()));
            return false;
        }
        if (!writeFile(folder.filePath(QString::fromLatin1(name)), source.readAll()))
            return false;
    }
    return writeFile(folder.filePath(QStringLiteral("zqLOCKPIC.jpg")), background);
}

} // namespace

bool writeFourKSkins(const QString &root)
{
    QDir dir(root);
    if (!dir.mkpath(QStringLiteral("baseline")) || !dir.mkpath(QStringLiteral("progressive"))) {
        std::fprintf(stderr, "cannot make the skin folders in %s\n", qPrintable(root));
        return false;
    }
    const std::vector<uint8_t> rgb = syntheticRgb(skinWidth, skinHeight);
    return writeSkin(QDir(dir.filePath(QStringLiteral("baseline"))),
                     encodeJpegRgb(rgb, skinWidth, skinHeight, false)) &&
           writeSkin(QDir(dir.filePath(QStringLiteral("progressive"))),
                     encodeJpegRgb(rgb, skinWidth, skinHeight, true)) &&
           writeFile(dir.filePath(QStringLiteral("picture.png")),
                     encodePngRgba(syntheticRgba(pictureWidth, pictureHeight), pictureWidth, pictureHeight));
}

} // namespace bench
