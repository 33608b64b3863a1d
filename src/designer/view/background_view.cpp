#include "view/background_view.h"

#include "skin/bg_image.h"
#include "view/preview_window.h"

#include <QImage>

#include <algorithm>

namespace zq {

namespace {

// Ends the preview's hold on the background when the last image over its rows goes.
void releaseBackground(void *held)
{
    delete static_cast<std::shared_ptr<const TBGImage> *>(held);
}

// The image format that reads the bitmap's rows as they are: BGR at 24 bits, palette indices
// at 8.
QImage::Format formatOverRows(const Bitmap &bitmap)
{
    switch (bitmap.format().bitsPerPixel) {
    case 24:
        return QImage::Format_BGR888;
    case 8:
        return QImage::Format_Indexed8;
    default:
        return QImage::Format_Invalid;
    }
}

} // namespace

void showInPreview(TForm2 &preview, std::shared_ptr<const TBGImage> background)
{
    const Bitmap &bitmap = background->BgBitmap();
    const QImage::Format format = formatOverRows(bitmap);
    if (bitmap.isEmpty() || format == QImage::Format_Invalid) {
        preview.setBackground(bitmap.toImage());
        return;
    }
    // Read-only: nothing drawn on the image can reach the skin's pixels.
    auto *held = new std::shared_ptr<const TBGImage>(background);
    QImage shown(bitmap.row(0), bitmap.width(), bitmap.height(), bitmap.stride(), format, releaseBackground,
                 held);
    if (format == QImage::Format_Indexed8) {
        // Every index gets a colour: one past the table reads as black, as in the bitmap.
        QList<QRgb> colours(256, qRgb(0, 0, 0));
        const auto &palette = bitmap.format().palette;
        for (size_t i = 0; i < std::min(palette.size(), size_t(256)); ++i)
            colours[qsizetype(i)] = palette[i] | 0xFF000000u;
        shown.setColorTable(colours);
    }
    preview.setBackground(shown);
}

} // namespace zq
