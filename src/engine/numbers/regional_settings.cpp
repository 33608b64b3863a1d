#include "numbers/regional_settings.h"

#include <QLocale>

#include <optional>

namespace zq {

namespace {

std::optional<RegionalSettings> &current()
{
    static std::optional<RegionalSettings> settings;
    return settings;
}

} // namespace

RegionalSettings RegionalSettings::fromSystem()
{
    RegionalSettings settings;
    const QString point = QLocale::system().decimalPoint();
    if (point.size() == 1)
        settings.decimalSeparator = point.front();
    return settings;
}

const RegionalSettings &regionalSettings()
{
    auto &settings = current();
    if (!settings)
        settings = RegionalSettings::fromSystem();
    return *settings;
}

void setRegionalSettings(const RegionalSettings &settings)
{
    current() = settings;
}

} // namespace zq
