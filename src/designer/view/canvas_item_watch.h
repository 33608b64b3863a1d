#pragma once

#include <QObject>

class QWidget;

namespace zq {

class SkinCanvas;

// Follows the items on a skin canvas for it, application-wide: an item added is adopted (see
// adoptCanvasItem), and an item shown, hidden, restacked, moved or resized has its old and new
// places painted again, in the view's device pixels at the canvas's zoom.
class CanvasItemWatch : public QObject {
    Q_OBJECT
public:
    explicit CanvasItemWatch(SkinCanvas *canvas);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isItem(const QObject *object) const;
    void follow(QWidget *item, QEvent *event);

    SkinCanvas *m_canvas;
};

} // namespace zq
