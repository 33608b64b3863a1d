#pragma once

// A scratch copy of the sample skin for tests that open and save whole skins.

#include "support/sample_skin_files.h"
#include "support/test_files.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zqtest {

class SampleSkinCopy {
public:
    SampleSkinCopy() { copySampleSkin(dir.path()); }
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
