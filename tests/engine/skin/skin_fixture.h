#pragma once

// A scratch copy of the sample skin for tests that open and save whole skins.

#include "support/sample_skin_files.h"
#include "support/test_files.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <map>
#include <string>

#include <gtest/gtest.h>

namespace zqtest {

class SampleSkinCopy {
public:
    SampleSkinCopy() { copySampleSkin(dir.path()); }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString layout() const { return path("ZqCSkin.ini"); }
    QByteArray bytes(const char *name) const { return readBytes(path(name)); }

    // Rewrites a skin's files in other bytes that read the same, bytes no save writes:
    // fractions with a trailing zero, BMPs with their reserved header bytes set. A save
    // then changes every file, so a file left old beside new ones shows.
    static void writeUnlikeASave(const QString &folder)
    {
        const QDir dir(folder);
        QByteArray text;
        for (QByteArray line : readBytes(dir.filePath(QStringLiteral("ZqCSkin.ini"))).split('\n')) {
            if (line.contains("=0."))
                line.insert(line.size() - (line.endsWith('\r') ? 1 : 0), '0');
            if (!text.isEmpty())
                text += '\n';
            text += line;
        }
        writeBytes(dir.filePath(QStringLiteral("ZqCSkin.ini")), text);
        for (const char *name : sampleFiles) {
            const QString path = dir.filePath(QString::fromLatin1(name));
            if (!path.endsWith(QLatin1String(".bmp")))
                continue;
            QByteArray bmp = readBytes(path);
            bmp.replace(6, 4, "zqKT");
            writeBytes(path, bmp);
        }
    }

    // Writes a picture to the scratch folder in Qt's own encoders (PNG or JPEG by suffix).
    QString writePicture(const QString &name, const QImage &image, int quality = -1) const
    {
        const QString target = dir.filePath(name);
        EXPECT_TRUE(image.save(target, nullptr, quality)) << name.toStdString();
        return target;
    }

    QTemporaryDir dir;
};

// Every file of the skin, by name.
inline std::map<std::string, QByteArray> snapshot(const SampleSkinCopy &skin)
{
    std::map<std::string, QByteArray> files;
    for (const char *name : sampleFiles)
        files[name] = skin.bytes(name);
    return files;
}

} // namespace zqtest
