#pragma once

#include "view/canvas_item.h"

#include <QPixmap>
#include <QWidget>

#include <functional>

class QImage;

namespace zq {

// The window of a picture element: borderless, the picture drawn 1:1 from its top-left
// corner and the button face beside it when the panel is larger. It shows and forwards;
// the element decides. On the skin canvas it is laid out, painted and pressed in device
// pixels, one picture pixel on one screen pixel.
class ImagePanel : public QWidget, public CanvasItem {
    Q_OBJECT
public:
    explicit ImagePanel(QWidget *parent);

    // Shows the picture `make` returns, of `size`. It is made and converted to what the screen
    // draws fastest when first painted, once: a panel never shown costs nothing.
    void setPicture(QSize size, std::function<QImage()> make);
    QSize pictureSize() const { return m_pictureSize; }
    QRect pictureRect() const { return QRect(QPoint(0, 0), m_pictureSize); }

    void paintItem(QPainter &painter, const QRegion &part) override;

signals:
    // A press or double click on the picture (not beside it), in any button.
    void pictureMouseDown(const QMouseEvent &event);
    // A context-menu request anywhere on the panel, at this global position.
    void contextMenuAsked(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void forwardPress(QMouseEvent *event);

    QSize m_pictureSize;
    std::function<QImage()> m_makePicture; // until the first paint
    QPixmap m_picture;
};

} // namespace zq
