#pragma once

#include <QPixmap>
#include <QWidget>

#include <functional>

class QImage;

namespace zq {

// The window of a picture element: borderless, the picture drawn 1:1 from its top-left
// corner and the button face beside it when the panel is larger. It shows and forwards;
// the element decides.
class ImagePanel : public QWidget {
    Q_OBJECT
public:
    explicit ImagePanel(QWidget *parent);

    // Converted once here, to what the screen draws fastest.
    void setPicture(const QImage &picture);
    QSize pictureSize() const { return m_picture.size(); }
    QRect pictureRect() const { return QRect(QPoint(0, 0), m_picture.size()); }

    // A press or double click on the picture (not beside it), in any button.
    std::function<void(const QMouseEvent &)> onPictureMouseDown;
    // A context-menu request anywhere on the panel, at this global position.
    std::function<void(QPoint)> onContextMenu;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void forwardPress(QMouseEvent *event);

    QPixmap m_picture;
};

} // namespace zq
