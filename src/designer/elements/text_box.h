#pragma once

#include "skin/geometry.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QFrame;
class QMouseEvent;
class QWidget;

namespace zq {

// A text box of a page: a raised panel with its caption, moved and sized with the mouse
// inside the page picture. Its recorded rectangle (page pixels) is what a save writes; it is
// read from the panel whenever a move or size ends.
class TTextBox : public QObject {
    Q_OBJECT
public:
    // The panel is a plain child of `parentPanel`: it takes no part in the page's sizing.
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

    // Places the panel at `r` and records it; reports nothing.
    void setRect(BoxRect r);

    // The kinds of edit a box reports.
    enum class Edit { Mouse, Key };
    // The one way a keyed rectangle reaches the box: placed, recorded and reported.
    void ApplyRect(BoxRect r, Edit kind);

    // The panel's mouse handlers; the event's position is in panel coordinates.
    void BoxMouseDown(const QMouseEvent &event);
    void BoxMouseMove(const QMouseEvent &event);

signals:
    // After a move or resize that changed the recorded rectangle; the owner records it.
    void edited(TTextBox::Edit kind, BoxRect before, BoxRect after);

private:
    void recordRect();
    void report(Edit kind, BoxRect before);

    QPointer<QFrame> m_panel;
};

} // namespace zq
