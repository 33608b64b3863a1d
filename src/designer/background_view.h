#pragma once

namespace zq {

class TBGImage;
class TForm2;

// Gives the preview a copy of the skin's background picture.
void showInPreview(TForm2 &preview, const TBGImage &background);

} // namespace zq
