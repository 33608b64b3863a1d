#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>

namespace zq {

class SkinCanvas;

// Drags the view of a skin larger than the screen: the middle button, or the left one with
// Space held, wherever the pointer is over the canvas (on an item too). It watches the whole
// application and takes only those presses, the moves and the release that follow them, and
// Space; the view follows the pointer's travel in screen pixels.
class PanDrag : public QObject {
    Q_OBJECT
public:
    explicit PanDrag(SkinCanvas *canvas);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    SkinCanvas *m_canvas;
    bool m_spaceHeld = false;
    Qt::MouseButton m_button = Qt::NoButton;
    QPointF m_pressGlobal;
    QPoint m_panAtPress;
};

} // namespace zq
