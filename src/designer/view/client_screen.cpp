#include "view/client_screen.h"

#include "skin/client_screens.h"
#include "view/canvas_items.h"

#include <QWidget>

namespace zq {

namespace {

const QString kBackgroundKey = QStringLiteral("background");

void collectBeyond(const QWidget *root, const QWidget *parent, PixelSize screen, QList<QWidget *> &beyond)
{
    for (QObject *child : parent->children()) {
        if (!child->isWidgetType())
            continue;
        auto *item = static_cast<QWidget *>(child);
        if (item->isWindow() || item->isHidden())
            continue;
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

} // namespace zq
