#pragma once

#include <QPixmap>
#include <QWidget>

namespace zq {

class SkinCanvas;

// A small map of a canvas larger than the screen (in screen pixels), in the preview's
// bottom-right corner: the whole background, the visible elements' outlines and the
// rectangle the screen shows. It is part of the interface and follows the display's scaling.
// A press or drag in it moves the view there. Hidden while the picture fits the screen.
class CanvasOverview : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 200;
    static constexpr int kMargin = 12;

    CanvasOverview(SkinCanvas *canvas, QWidget *preview);

    // Takes the canvas's picture and size again: shown, placed and scaled, or hidden.
    void refresh();
    // The picture pixel that a point of the overview stands for.
    QPoint toPicture(QPoint local) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void lookAt(QPoint local);
    QRectF scaled(const QRect &pictureRect) const;

    SkinCanvas *m_canvas;
    QPixmap m_small;
    double m_scale = 1.0;
};

} // namespace zq
