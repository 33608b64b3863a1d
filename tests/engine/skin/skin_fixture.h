#pragma once

// A scratch copy of the sample skin for tests that open and save whole skins.

#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zqtest {

inline const char *sampleFiles[] = {"ZqCSkin.ini", "zqLOCKPIC.jpg", "zqLOG.bmp",   "zqFIL.bmp",
                                    "zqMAN.bmp",   "zqLOGed.bmp",   "zqFILed.bmp", "zqMANed.bmp"};

class SampleSkinCopy {
public:
    SampleSkinCopy()
    {
        const QDir sample(QStringLiteral(ZQ_SOURCE_DIR "/examples/sample-skin"));
        for (const char *name : sampleFiles)
            QFile::copy(sample.filePath(name), path(name));
    }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString layout() const { return path("ZqCSkin.ini"); }
    QByteArray bytes(const char *name) const { return readBytes(path(name)); }

    // Writes a picture to the scratch folder in Qt's own encoders (PNG or JPEG by suffix).
    QString writePicture(const QString &name, const QImage &image, int quality = -1) const
    {
        const QString target = dir.filePath(name);
        EXPECT_TRUE(image.save(target, nullptr, quality)) << name.toStdString();
        return target;
    }

    QTemporaryDir dir;
};

} // namespace zqtest
