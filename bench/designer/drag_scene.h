#pragma once

// The designer's preview as a benchmark sets it up: a 1920x1080 preview with a background, one
// page picture on it and the edit overlay, as the designer has them while a page is dragged.

#include "editing/edit_overlay.h"
#include "elements/image_panel.h"
#include "view/preview_window.h"
#include "view/skin_canvas.h"

#include <QApplication>
#include <QImage>

namespace bench {

inline QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb(x % 251, y % 241, (x * 7 + y * 3) % 256);
    }
    return img;
}

struct DragScene {
    explicit DragScene(QSize background)
    {
        preview.setGeometry(0, 0, 1920, 1080);
        // 24-bit rows, as the designer shows a JPEG background: read in place, converted per paint.
        preview.setBackground(
            pattern(background.width(), background.height()).convertToFormat(QImage::Format_BGR888));
        page = new zq::ImagePanel(preview.canvas());
        page->setPicture(QSize(450, 330), [] { return pattern(450, 330); });
        page->setGeometry(600, 300, 450, 330);
        overlay = new zq::EditOverlay(preview.canvas(), preview.canvas());
        preview.show();
        QApplication::processEvents();
    }

    // Right and back, so that the page stays where it is seen.
    void step()
    {
        direction = page->x() > 700 ? -1 : page->x() < 600 ? 1 : direction;
        page->move(page->x() + direction, page->y());
        // Where the page shows, in device pixels of the view, at whatever zoom.
        const QRect shown = preview.canvas()->viewRect(page);
        overlay->setSelection(shown, QRect(QPoint(0, 0), preview.canvas()->viewSize()));
        overlay->setReadout(QStringLiteral("%1, %2  450 × 330").arg(page->x()).arg(page->y()),
                            shown.bottomRight() + QPoint(16, 20));
        QApplication::processEvents();
    }

    zq::TForm2 preview;
    zq::ImagePanel *page = nullptr;
    zq::EditOverlay *overlay = nullptr;
    int direction = 1;
};

} // namespace bench
