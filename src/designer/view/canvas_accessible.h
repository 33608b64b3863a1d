#pragma once

#include <QAccessibleWidget>

namespace zq {

// What screen readers are told of an item on the skin canvas: its name and role as any widget's,
// and where it shows on the screen. (Qt would place it by its geometry, which on the canvas
// counts device pixels of the skin, not logical pixels of the screen.)
class CanvasItemAccessible : public QAccessibleWidget {
public:
    explicit CanvasItemAccessible(QWidget *item);
    QRect rect() const override;

    // Makes Qt use this for every item on a canvas; once per program.
    static void install();
};

} // namespace zq
