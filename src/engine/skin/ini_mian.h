#pragma once

#include "profile/profile_file.h"
#include "skin/asset_names.h"
#include "skin/geometry.h"

#include <QString>

namespace zq {

// The layout record of a skin, bound to its layout file ZqCSkin.ini. Construction reads the
// file once and turns the fractional picture positions into background pixels;
// WriteLayout writes every value back.
class TiniMian {
public:
    TiniMian(const QString &path, PixelSize backgroundSize);

    // False for a layout made for an older client ("log1left" above 1), which the designer
    // does not edit.
    bool CheckVersion() const;

    // Writes all 56 values. A 登陆 tab right of the background's right edge would be written as a
    // "log1left" above 1, which the version test then refuses: that save is refused before
    // anything is written. The file is replaced in one step: it never ends half-written, and
    // on failure "Unable to write to %s" is raised with the old file left whole.
    void WriteLayout() const;
    // The text WriteLayout writes, refused in the same cases; nothing is written.
    ProfileDocument layoutDocument() const;
    // Writes only the keys of one element's position, or of one box, in the same forms;
    // every other line of the file stays as it is. Replaced in one step, as above.
    void WritePosition(Element element) const;
    void WriteBox(const char *section, int keyNumber) const;

    // The position of an element, and the box stored under a section's key number.
    Point &position(Element element);
    const Point &position(Element element) const;
    BoxRect &box(const char *section, int keyNumber);
    const BoxRect &box(const char *section, int keyNumber) const;

    ProfileFile LayoutIni;

    Point LogTabPos;
    Point FilTabPos;
    Point ManTabPos;
    Point LogPagePos;
    Point FilPagePos;
    Point ManPagePos;

    BoxRect LogUserBox;
    BoxRect LogPassBox;
    BoxRect LogOkBox;
    BoxRect FilCardBox;
    BoxRect FilCardPassBox;
    BoxRect FilAmountBox;
    BoxRect FilOkBox;
    BoxRect ManPassBox;
    BoxRect ManOkBox;
    BoxRect ManShutdownBox;
    BoxRect ManRestartBox;

    PixelSize BgSize;
};

// What the designer says when CheckVersion refuses a layout.
QString oldLayoutMessage();

// Why a save with the 登陆 tab beyond the background's right edge is refused.
QString loginTabBeyondEdgeMessage(std::int32_t x, std::int32_t backgroundWidth);

} // namespace zq
