#pragma once

#include "skin/asset_names.h"
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
    QString skinPath;                  // as given: the layout file or the skin folder
    QStringList operands;              // what the verb takes after SKIN
    std::optional<zq::PixelSize> size; // --size WxH; left out, it comes from the skin's background
    std::optional<zq::Point> at;       // --at X,Y
    bool json = false;
    bool help = false; // verb is then empty, or the verb to explain
    bool version = false;
};

// Parses the arguments after the program name.
Invocation parseCommandLine(const QStringList &arguments);

// The element an ELEMENT argument names ("登陆" ... "管理激活").
zq::Element parseElement(const QString &name);

QString usageText();

} // namespace zqskin
