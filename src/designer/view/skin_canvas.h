#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QWidget>

class QImage;

namespace zq {

// The pan offset that shows as much of a picture as a view can: never past the picture's
// right or bottom edge, never before its top-left corner, and (0, 0) on an axis where the
// picture fits.
QPoint clampPan(QPoint wanted, QSize picture, QSize view);

// The preview's one surface for the skin: paints the background 1:1 from its top-left
// corner, grey beyond it, and holds the element panels at picture pixels. It is at least as
// large as the preview and is moved inside it to pan over a picture larger than the screen.
// A left click on a spot no child covers is a click on the background.
class SkinCanvas : public QWidget {
    Q_OBJECT
public:
    static constexpr QRgb kGrey = 0xFF808080; // RGB(128, 128, 128)

    explicit SkinCanvas(QWidget *preview);

    // Shows a copy of `picture`; an empty picture shows grey only.
    void setBackground(const QImage &picture);
    bool hasBackground() const { return !m_background.isNull(); }
    QSize backgroundSize() const { return m_background.size(); }
    const QImage &background() const { return m_background; }

    // The top-left picture pixel shown at the preview's corner.
    QPoint pan() const { return m_pan; }
    // Pans as near to `offset` as the limits allow.
    void panTo(QPoint offset);
    void panBy(QPoint delta) { panTo(m_pan + delta); }
    // Whether the picture is larger than the preview on either axis.
    bool pans() const;
    // Sizes the canvas to the preview and the picture again.
    void fit();

signals:
    void clicked();
    void panned();

protected:
    // The middle button, or the left one with Space held, drags the view wherever the
    // pointer is over the canvas, elements included.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    // Opaque, in whatever layout it came in: only the painted part is ever converted.
    QImage m_background;
    QPoint m_pan;
    bool m_clickArmed = false;
    bool m_spaceHeld = false;
    Qt::MouseButton m_panButton = Qt::NoButton;
    QPoint m_panPressGlobal;
    QPoint m_panAtPress;
};

} // namespace zq
