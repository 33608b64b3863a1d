#pragma once

#include <QWidget>

#include <memory>

class QImage;

namespace Ui {
class TForm2;
}

namespace zq {

class CanvasOverview;
class SkinCanvas;

// The full-screen surface the skin is laid out on: borderless, on top while the program is
// active. Its lowest child, the canvas, paints the background 1:1 in screen pixels at any
// display scaling (grey where there is no picture) and holds the elements, so the background
// always lies under them however they are restacked; it pans over a picture larger than the
// screen, with an overview in the corner. A left click on a spot of the canvas no element
// covers is a click on the background picture (`Image1`). The control window above it
// follows the display's scaling like any other window.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    static constexpr QRgb kGrey = 0xFF808080; // RGB(128, 128, 128)

    explicit TForm2(QWidget *parent = nullptr);
    ~TForm2() override;

    // Covers the primary display.
    void coverPrimaryScreen();

    // Shows `picture` as the background; an empty picture shows grey only. The image is
    // shared, not copied: one over a bitmap's rows shows those rows as they are at each paint.
    void setBackground(const QImage &picture);
    bool hasBackground() const;
    QSize backgroundSize() const;

    // The parent of the element panels.
    SkinCanvas *canvas() const { return m_canvas; }
    CanvasOverview *overview() const { return m_overview; }

    // The image area fills the client area, so its size is the window's.
    QSize imageAreaSize() const { return size(); }

    // Stays above other programs' windows while the program is active and gives up that
    // place while another program is.
    void setKeptOnTop(bool onTop);

signals:
    // A left click on the background (or the grey around it), not on a child window.
    void image1Clicked();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::unique_ptr<Ui::TForm2> ui;
    SkinCanvas *m_canvas;
    CanvasOverview *m_overview;
};

} // namespace zq
