#pragma once

#include "skin/geometry.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace zqskin {

// A command line that does not follow the usage; main prints the usage and exits with 2.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString &message)
        : std::runtime_error(message.toStdString())
    {}
    QString message() const { return QString::fromUtf8(what()); }
};

struct Invocation {
    QString verb;
    QString layoutPath;
    std::optional<zq::PixelSize> size; // --size WxH; left out, it will come from the skin's background
    bool json = false;
    bool help = false;
};

// Parses the arguments after the program name.
Invocation parseCommandLine(const QStringList &arguments);

QString usageText();

} // namespace zqskin
