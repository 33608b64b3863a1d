#pragma once

#include "picture/png_picture.h"
#include "skin/bg_image.h"
#include "skin/geometry.h"
#include "skin/ini_mian.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace zq {

class SkinDocument;

// One file of a skin as a save writes it: its name in the skin folder and its bytes.
struct SkinFile {
    QString name;
    QByteArray bytes;
};
using SkinFiles = std::vector<SkinFile>;

// What a save of a skin would write, taken on the thread that edits the skin and encoded
// on any other: the layout text is made at once (it is small), the six pictures and the
// background are copied and encoded later by the same encoders a save uses.
class SkinSnapshot {
public:
    // The elements' stored positions and the record's boxes, as a save takes them; the
    // document's layout record itself is left alone. Raises what the save would raise for
    // the layout (a 登陆 tab beyond the background's right edge).
    static SkinSnapshot take(const SkinDocument &document);

    // The files in the order a save writes them: layout, the six pictures, the background;
    // then, for each picture that carries a replacement PNG, that PNG as held in memory
    // (named by replacementName). `earlier`, a snapshot encoded before, lends
    // its background bytes when the background has not changed since, which spares the longest encode.
    SkinFiles encode(const SkinSnapshot *earlier = nullptr);

    // The name of the file that holds the replacement PNG of the picture of that name.
    static QString replacementName(const QString &pictureName);

private:
    QString m_layoutName;
    QByteArray m_layout;
    std::array<std::optional<Bitmap>, 6> m_pictures;
    std::array<std::optional<PngPicture>, 6> m_replacements;
    std::array<QString, 6> m_pictureNames;
    QString m_backgroundName;
    TBGImage::Picture m_background;
};

} // namespace zq
