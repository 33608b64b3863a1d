#pragma once

#include "skin/geometry.h"

#include <QPointer>
#include <QString>

class QFrame;
class QMouseEvent;
class QWidget;

namespace zq {

// A text box of a page: a raised panel with its caption, moved and sized with the mouse
// inside the page picture. Its rectangle (page pixels) is recorded after every move or size.
class TTextBox {
public:
    TTextBox(QWidget *parentPanel, const QString &caption, BoxRect rect);
    ~TTextBox();

    TTextBox(const TTextBox &) = delete;
    TTextBox &operator=(const TTextBox &) = delete;

    QFrame *Panel = nullptr;
    QString Caption;
    int Left = 0; // the recorded rectangle
    int Top = 0;
    int Width = 0;
    int Height = 0;

    BoxRect rect() const { return {Left, Top, Width, Height}; }

    // Mouse handlers of the panel (panel coordinates carried by the event).
    void BoxMouseDown(const QMouseEvent &event);
    void BoxMouseMove(const QMouseEvent &event);

    // Reads the panel's geometry into the recorded rectangle.
    void recordRect();

private:
    QPointer<QFrame> m_guard;
};

} // namespace zq
