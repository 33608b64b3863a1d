#pragma once

#include "skin/asset_names.h"
#include "skin/geometry.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>
#include <vector>

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
    QStringList skinPaths;             // every SKIN given, skinPath first
    QStringList operands;              // what the verb takes after SKIN
    std::optional<zq::PixelSize> size; // --size WxH; left out, it comes from the skin's background
    std::optional<zq::Point> at;       // --at X,Y
    std::optional<zq::BoxRect> rect;   // --rect L,T,W,H
    std::optional<QString> background; // --background JPEG
    std::optional<QString> tab;        // --tab 登陆|充值|管理
    std::optional<double> scale;       // --scale F, 0 < F <= 1
    std::optional<QString> outDir;     // --out-dir DIR
    std::optional<int> jobs;           // --jobs N
    // --screen WxH, each time it is given
    std::vector<zq::PixelSize> screens;
    bool force = false;
    bool boxes = false;
    bool json = false;
    bool help = false; // verb is then empty, or the verb to explain
    bool version = false;
};

// Parses the arguments after the program name.
Invocation parseCommandLine(const QStringList &arguments);

// The element an ELEMENT argument names ("登陆" ... "管理激活"); an unknown name is refused
// with the list of valid ones.
zq::Element parseElement(const QString &name);
// The row of the text box a CAPTION argument names, refused likewise.
const zq::BoxTableRow &parseBoxCaption(const QString &caption);
// The tab picture a --tab value names: 登陆, 充值 or 管理.
zq::Element parseTab(const QString &name);

QString usageText();

} // namespace zqskin
