#include "background_view.h"

#include "preview_window.h"
#include "skin/bg_image.h"

namespace zq {

void showInPreview(TForm2 &preview, const TBGImage &background)
{
    preview.setBackground(background.BgBitmap().toImage());
}

} // namespace zq
