#pragma once

#include <QString>

namespace zq {

// The program's fixed texts, by their place in the table the client's designer has always
// used (captions, the six picture names, home page, credit line, version message,
// background picture name).
enum TextIndex : int {
    ControlCaptionText = 0,
    PreviewCaptionText = 1,
    LogTabPictureText = 2,
    FilTabPictureText = 3,
    ManTabPictureText = 4,
    LogPagePictureText = 5,
    FilPagePictureText = 6,
    ManPagePictureText = 7,
    HomePageText = 8,
    CreditText = 9,
    VersionMessageText = 10,
    BackgroundPictureText = 11,
};

inline constexpr int kTextConstantCount = 12;

// The text at `index` (0 to 11); empty for any other index.
QString textConstant(int index);

} // namespace zq
