#pragma once

// The sample skin in examples/sample-skin, for tests and benchmarks that work on a copy of it.

#include <QString>

namespace zqtest {

// The layout file, the background and the six pictures.
inline constexpr const char *sampleFiles[] = {"ZqCSkin.ini", "zqLOCKPIC.jpg", "zqLOG.bmp",   "zqFIL.bmp",
                                              "zqMAN.bmp",   "zqLOGed.bmp",   "zqFILed.bmp", "zqMANed.bmp"};

QString sampleSkinFolder();

// Copies every sample file into `folder`, which must not hold them yet; false when one could not
// be copied.
bool copySampleSkin(const QString &folder);

} // namespace zqtest
