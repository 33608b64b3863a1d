#pragma once

#include "errors/engine_error.h"
#include "skin/geometry.h"

#include <QString>

#include <optional>

namespace zq {

// What a new skin is made from: a background picture of the user's (a JPEG, PNG or BMP),
// or a plain one of a size (1920 x 1080 unless given).
struct NewSkinOptions {
    std::optional<QString> background;
    std::optional<PixelSize> size;
    // Replaces the eight skin files of a folder in use and leaves its other files alone.
    bool force = false;
};

// A new skin's folder that already holds files, refused without `force`.
class FolderInUse : public EngineError {
public:
    explicit FolderInUse(const QString &folder);
};

// Whether `folder` exists and holds anything (hidden files included).
bool folderHasFiles(const QString &folder);

// Makes a complete skin in `folder` (made if need be) from the template: its layout file with
// the pictures placed for the background's size, the six pictures, and the background as
// 换背景图片 stores one (quality 90; progressive only for a progressive JPEG). Everything is
// made before anything is written, so a refusal leaves no half skin. Returns the layout file's
// path.
QString makeNewSkin(const QString &folder, const NewSkinOptions &options);

} // namespace zq
