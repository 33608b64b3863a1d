#include "view/client_screen.h"

#include "skin/client_screens.h"
#include "view/canvas_items.h"
#include "view/zoom_steps.h"

#include <QPainter>
#include <QPolygonF>
#include <QWidget>

namespace zq {

namespace {

const QString kBackgroundKey = QStringLiteral("background");

void collectBeyond(const QWidget *root, const QWidget *parent, PixelSize screen, QList<QWidget *> &beyond)
{
    for (QWidget *item : shownItems(parent)) {
        const QPoint at = offsetWithin(root, item);
        if (liesBeyondScreen(BoxRect{at.x(), at.y(), item->width(), item->height()}, screen))
            beyond << item;
        collectBeyond(root, item, screen, beyond);
    }
}

} // namespace

std::optional<QSize> ClientScreenChoice::screenFor(QSize background) const
{
    switch (kind) {
    case Kind::Size:
        return size;
    case Kind::Background:
        return background;
    case Kind::None:
        break;
    }
    return std::nullopt;
}

QString ClientScreenChoice::key() const
{
    switch (kind) {
    case Kind::Size:
        return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    case Kind::Background:
        return kBackgroundKey;
    case Kind::None:
        break;
    }
    return {};
}

ClientScreenChoice ClientScreenChoice::fromKey(const QString &key)
{
    if (key == kBackgroundKey)
        return {Kind::Background, {}};
    if (const std::optional<PixelSize> size = parseScreenSize(key))
        return {Kind::Size, QSize(size->width, size->height)};
    return {};
}

QList<QWidget *> itemsBeyondScreen(const QWidget *root, QSize screen)
{
    QList<QWidget *> beyond;
    collectBeyond(root, root, PixelSize{screen.width(), screen.height()}, beyond);
    return beyond;
}

void paintScreenCut(QPainter &painter, const QWidget *root, QSize screen, double zoom)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    constexpr int kLine = 2;
    const QColor cut(255, 64, 0);
    painter.setPen(QPen(cut, kLine, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    for (const QWidget *item : itemsBeyondScreen(root, screen)) {
        const QRect shown = zoomedRect(QRect(offsetWithin(root, item), item->size()), zoom);
        painter.drawRect(QRectF(shown).adjusted(kLine / 2.0, kLine / 2.0, -kLine / 2.0, -kLine / 2.0));
    }
    // The last column and row the screen shows, dashed on white so that they show on any
    // picture.
    const QRect edge = zoomedRect(QRect(QPoint(0, 0), screen), zoom);
    const QPolygonF line = {QPointF(edge.right() + 0.5, 0), QPointF(edge.right() + 0.5, edge.bottom() + 0.5),
                            QPointF(0, edge.bottom() + 0.5)};
    painter.setPen(QPen(Qt::white, 1));
    painter.drawPolyline(line);
    painter.setPen(QPen(cut, 1, Qt::DashLine));
    painter.drawPolyline(line);
    painter.restore();
}

} // namespace zq
