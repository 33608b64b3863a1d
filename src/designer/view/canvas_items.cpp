#include "view/canvas_items.h"

#include "view/canvas_item.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QWidget>

namespace zq {

void adoptCanvasItem(QWidget *item)
{
    // Qt neither paints the item nor finds it under the mouse: both happen on the canvas, in
    // device pixels. An item Qt took for opaque would have its pixels moved about in logical
    // ones.
    item->setUpdatesEnabled(false);
    item->setAttribute(Qt::WA_TransparentForMouseEvents);
    item->setAttribute(Qt::WA_NoMousePropagation);
    item->setAttribute(Qt::WA_OpaquePaintEvent, false);
    item->setAutoFillBackground(false);
}

QList<QWidget *> shownItems(const QWidget *parent)
{
    QList<QWidget *> shown;
    for (QObject *child : parent->children()) {
        if (!child->isWidgetType())
            continue;
        auto *item = static_cast<QWidget *>(child);
        if (!item->isWindow() && !item->isHidden())
            shown << item;
    }
    return shown;
}

QPoint offsetWithin(const QWidget *root, const QWidget *item)
{
    QPoint at;
    for (const QWidget *w = item; w && w != root; w = w->parentWidget())
        at += w->pos();
    return at;
}

QWidget *canvasItemIn(const QWidget *parent, QPoint at)
{
    const QList<QWidget *> items = shownItems(parent);
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        QWidget *item = *it;
        if (!item->geometry().contains(at))
            continue;
        QWidget *inner = canvasItemIn(item, at - item->pos());
        return inner ? inner : item;
    }
    return nullptr;
}

void paintCanvasItems(QPainter &painter, const QWidget *parent, QPoint origin, const QRegion &exposed)
{
    for (QWidget *item : shownItems(parent)) {
        const QRect area(origin + item->pos(), item->size());
        const QRegion part = exposed & area;
        if (part.isEmpty())
            continue;
        const QRegion own = part.translated(-area.topLeft());
        painter.save();
        painter.translate(area.topLeft());
        painter.setClipRegion(own);
        if (auto *paints = dynamic_cast<CanvasItem *>(item)) {
            paints->paintItem(painter, own);
        } else {
            // Any other widget draws itself on an image of its own pixels first: Qt's painting
            // of one widget into another's takes the target for logical pixels.
            const QRect bounds = own.boundingRect();
            QImage image(bounds.size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            item->render(&image, -bounds.topLeft(), own, QWidget::DrawWindowBackground);
            painter.drawImage(bounds.topLeft(), image);
        }
        painter.restore();
        paintCanvasItems(painter, item, area.topLeft(), part);
    }
}

} // namespace zq
