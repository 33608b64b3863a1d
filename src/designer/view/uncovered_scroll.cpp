#include "view/uncovered_scroll.h"

#include <QPoint>
#include <QRegion>
#include <QWidget>

namespace zq {

namespace {

// What the shown siblings stacked above `widget` cover of it, in its own coordinates.
QRegion coveredBySiblings(const QWidget *widget)
{
    QRegion covered;
    const QWidget *parent = widget->parentWidget();
    if (!parent)
        return covered;
    bool above = false;
    for (const QObject *child : parent->children()) {
        if (child == widget) {
            above = true;
            continue;
        }
        if (!above || !child->isWidgetType())
            continue;
        const auto *sibling = static_cast<const QWidget *>(child);
        if (!sibling->isWindow() && sibling->isVisible())
            covered += sibling->geometry().translated(-widget->pos());
    }
    return covered & widget->rect();
}

} // namespace

void scrollUncovered(QWidget *widget, QPoint delta)
{
    const QRegion covered = coveredBySiblings(widget);
    // Each part is a rectangle no sibling meets; what comes into it from a covered part or from
    // beyond the widget is painted afresh.
    for (const QRect &part : QRegion(widget->rect()) - covered)
        widget->scroll(delta.x(), delta.y(), part);
    // A sibling may let the widget show through in places.
    widget->update(covered);
}

} // namespace zq
