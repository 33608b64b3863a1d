#pragma once

// Where the public JPEG test pictures live, and the skip for when they are absent.

#include <QDir>
#include <QString>

#include <gtest/gtest.h>

namespace zqtest {

inline const QString jpegTurboDir = QStringLiteral(ZQ_TESTDATA_DIR "/jpeg/libjpeg-turbo");
inline const QString jpegCmykDir = QStringLiteral(ZQ_TESTDATA_DIR "/jpeg/cmyk");

} // namespace zqtest

#define NEED_SUITE(dir)                                                                                      \
    if (!QDir(dir).exists())                                                                                 \
    GTEST_SKIP() << "JPEG test pictures not found at " << (dir).toStdString()
