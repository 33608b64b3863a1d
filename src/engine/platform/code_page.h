#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zq::platform {

// 8-bit text in the system's code page: file names as the system hands them over as bytes,
// and the text values of a profile file. On Windows that is the ANSI code page (GBK on the
// Chinese systems the skins are made for), elsewhere the locale's encoding (UTF-8).
QString fromSystemCodePage(QByteArrayView bytes);
QByteArray toSystemCodePage(QStringView text);

} // namespace zq::platform
