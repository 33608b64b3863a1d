#include "bench_skin.h"

#include "bench_pictures.h"

#include "support/raw_jpeg.h"
#include "support/sample_skin_files.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace bench {

namespace {

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
    if (!zqtest::copySampleSkin(folder.path())) {
        std::fprintf(stderr, "cannot copy the sample skin into %s\n", qPrintable(folder.path()));
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
                     zqtest::rawEncode(rgb.data(), skinWidth, skinHeight, false)) &&
           writeSkin(QDir(dir.filePath(QStringLiteral("progressive"))),
                     zqtest::rawEncode(rgb.data(), skinWidth, skinHeight, true)) &&
           writeFile(dir.filePath(QStringLiteral("picture.png")),
                     encodePngRgba(syntheticRgba(pictureWidth, pictureHeight), pictureWidth, pictureHeight));
}

} // namespace bench
