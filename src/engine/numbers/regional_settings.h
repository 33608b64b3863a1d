#pragma once

#include <QChar>

namespace zq {

// The user's regional settings that the layout file depends on. Read once from the system
// on first use; tests and start-up code may put other settings in their place.
struct RegionalSettings {
    QChar decimalSeparator = u'.';

    static RegionalSettings fromSystem();
};

const RegionalSettings &regionalSettings();
void setRegionalSettings(const RegionalSettings &settings);

} // namespace zq
