#pragma once

#include "move_panel.h"

#include <QFrame>
#include <QMouseEvent>
#include <QTimer>

#include <functional>

// A plain panel that, like a text box, hands its presses and moves to the move routine and
// reads its bounds back as soon as the routine returns.
class DragProbe : public QFrame {
public:
    explicit DragProbe(QWidget *parent)
        : QFrame(parent)
    {
        setMouseTracking(true);
    }

    int presses = 0;
    int doubleClicks = 0;
    int movesWithButtons = 0;
    QRect boundsAfterReturn;

protected:
    void mousePressEvent(QMouseEvent *e) override { forward(*e); }
    void mouseMoveEvent(QMouseEvent *e) override { forward(*e); }
    void mouseDoubleClickEvent(QMouseEvent *e) override { forward(*e); }

private:
    void forward(const QMouseEvent &e)
    {
        presses += e.type() == QEvent::MouseButtonPress;
        doubleClicks += e.type() == QEvent::MouseButtonDblClick;
        movesWithButtons += e.type() == QEvent::MouseMove && e.buttons() != Qt::NoButton;
        zq::MovePanelByMouse(this, e, zq::kMovePrecision);
        boundsAfterReturn = geometry();
    }
};

// Runs `later` from the event loop: inside the move/size loop when one has started,
// otherwise once the test next processes events.
inline void whenIdle(std::function<void()> later)
{
    QTimer::singleShot(0, std::move(later));
}
