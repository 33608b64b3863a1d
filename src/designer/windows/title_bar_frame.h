#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>

class QWidget;

namespace zq {

// Dresses a child widget as a small window of its own inside its parent: a single-line
// border and a title bar that shows the widget's window title and no buttons. Pressing the
// title bar and dragging moves the widget, kept inside its parent so that it can always be
// reached again. The widget's contents margins are set to the frame, so its contentsRect()
// is the client area.
class TitleBarFrame : public QObject {
    Q_OBJECT
public:
    // Small enough that a window collapsed to 45 px still shows 21 px of its top row.
    static constexpr int kBorder = 2;       // on every side: a dark line, then the face colour
    static constexpr int kTitleHeight = 20; // below the top border
    // Frame height in all: what the window is taller than its client area.
    static constexpr int kFrameHeight = 2 * kBorder + kTitleHeight;
    static constexpr int kFrameWidth = 2 * kBorder;

    // Installs itself on `window`, which keeps it.
    explicit TitleBarFrame(QWidget *window);

    static QMargins frameMargins() { return {kBorder, kBorder + kTitleHeight, kBorder, kBorder}; }
    // The title bar, in the window's coordinates.
    QRect titleBarRect() const;
    bool isDragging() const { return m_dragging; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void paintFrame();
    QPoint keptInsideParent(QPoint topLeft) const;

    QWidget *m_window;
    bool m_dragging = false;
    QPoint m_pressGlobal;
    QPoint m_startPos;
};

} // namespace zq
