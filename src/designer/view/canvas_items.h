#pragma once

#include <QList>
#include <QPoint>

class QPainter;
class QRegion;
class QWidget;

namespace zq {

// The element panels and text boxes on the skin canvas are widgets Qt neither paints nor
// finds under the mouse (see SkinCanvas): these walk them in their stacking order, in the
// skin's pixels, where Qt would.

// Makes `item` one the canvas paints and hands the mouse to.
void adoptCanvasItem(QWidget *item);

// The items lying directly on `parent` that show, bottom up.
QList<QWidget *> shownItems(const QWidget *parent);

// Where `item` lies under `root`, adding up the places of the items it lies in.
QPoint offsetWithin(const QWidget *root, const QWidget *item);

// The topmost shown item under `at` (in `parent`'s coordinates), the innermost one it holds
// there included; null where none is.
QWidget *canvasItemIn(const QWidget *parent, QPoint at);

// Paints `parent`'s shown items that meet `exposed` bottom up, each clipped to its parent (a
// text box is seen only on its page); `origin` is where `parent` lies in the painter's
// coordinates.
void paintCanvasItems(QPainter &painter, const QWidget *parent, QPoint origin, const QRegion &exposed);

} // namespace zq
