#include "view/canvas_accessible.h"

#include "view/skin_canvas.h"

namespace zq {

namespace {

QAccessibleInterface *forCanvasItems(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    return widget && SkinCanvas::of(widget) ? new CanvasItemAccessible(widget) : nullptr;
}

} // namespace

CanvasItemAccessible::CanvasItemAccessible(QWidget *item)
    : QAccessibleWidget(item)
{}

QRect CanvasItemAccessible::rect() const
{
    return widget()->isVisible() ? SkinCanvas::globalRect(widget()) : QRect();
}

void CanvasItemAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(forCanvasItems);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace zq
