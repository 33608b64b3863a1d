#pragma once

#include <memory>

namespace zq {

class TBGImage;
class TForm2;

// Shows the skin's background on the preview. The preview reads the background's rows where
// they lie, so a later change to them shows at the next paint; it holds `background` for as
// long as it shows it.
void showInPreview(TForm2 &preview, std::shared_ptr<const TBGImage> background);

} // namespace zq
