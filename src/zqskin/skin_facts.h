#pragma once

#include "command_line.h"
#include "skin/asset_names.h"
#include "skin/ini_mian.h"

#include <array>
#include <optional>

namespace zqskin {

struct BackgroundFacts {
    int width = 0;
    int height = 0;
    bool progressive = false;
    bool grayscale = false;
};

struct PictureFacts {
    int width = 0;
    int height = 0;
    int bits = 0;
    int header = 0; // size of the file's info header in bytes
};

// What info reports on a skin: the layout as the designer reads it, the background's
// header and the six pictures' formats. Pictures are indexed by zq::Element.
struct SkinFacts {
    QString layoutPath;
    std::optional<zq::TiniMian> layout;
    std::optional<BackgroundFacts> background;
    std::array<std::optional<PictureFacts>, 6> pictures;
};

// Without --size every file of the skin must read, and the background gives the size. With
// --size the layout is read against it, and pictures missing from the folder are left out.
// A file that is there but does not read is an error either way.
SkinFacts gatherFacts(const Invocation &invocation);

} // namespace zqskin
