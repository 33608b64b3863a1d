#pragma once

#include "skin/asset_names.h"

namespace zq {

class SkinWorkspace;

// The tab switch: the chosen tab's page shown on top, its tab picture hidden, the other two
// tabs shown behind it. An element an open that failed part-way left missing is left alone.
void arrangeForTab(const SkinWorkspace &workspace, Element tab);
// Back to the three tab pictures, the pages hidden.
void arrangeTabsOnly(const SkinWorkspace &workspace);

} // namespace zq
