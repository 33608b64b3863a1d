#include "view/canvas_overview.h"

#include "view/skin_canvas.h"
#include "view/zoom_steps.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QResizeEvent>

namespace zq {

CanvasOverview::CanvasOverview(SkinCanvas *canvas, QWidget *preview)
    : QWidget(preview)
    , m_canvas(canvas)
{
    setObjectName(QStringLiteral("overview"));
    setCursor(Qt::PointingHandCursor);
    canvas->installEventFilter(this);
    connect(canvas, &SkinCanvas::panned, this, qOverload<>(&QWidget::update));
    connect(canvas, &SkinCanvas::zoomChanged, this, &CanvasOverview::refresh);
    hide();
}

void CanvasOverview::refresh()
{
    const QSize picture = m_canvas->backgroundSize();
    if (!m_canvas->pans() || picture.isEmpty()) {
        hide();
        return;
    }
    m_scale = double(kWidth) / picture.width();
    const QSize size(kWidth, std::max(1, int(picture.height() * m_scale + 0.5)));
    // As sharp as the screen can show it.
    const qreal ratio = devicePixelRatioF();
    m_small = QPixmap::fromImage(m_canvas->background().scaled(
        (QSizeF(size) * ratio).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    m_small.setDevicePixelRatio(ratio);
    const QWidget *preview = parentWidget();
    setGeometry(
        QRect(QPoint(preview->width() - size.width() - kMargin, preview->height() - size.height() - kMargin),
              size));
    show();
    update();
}

QPoint CanvasOverview::toPicture(QPoint local) const
{
    return {int(local.x() / m_scale), int(local.y() / m_scale)};
}

QRectF CanvasOverview::scaled(const QRect &r) const
{
    return QRectF(r.x() * m_scale, r.y() * m_scale, r.width() * m_scale, r.height() * m_scale);
}

bool CanvasOverview::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        // Each element's moves show in the outlines.
        if (watched == m_canvas) {
            if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
                child->installEventFilter(this);
        }
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide: {
        if (watched == m_canvas || !isVisible())
            break;
        // Only the outline's old and new places are painted again: a drag step stays as
        // cheap as on a picture that needs no overview.
        const QWidget *child = static_cast<QWidget *>(watched);
        QRect before = child->geometry();
        if (event->type() == QEvent::Move)
            before.moveTopLeft(static_cast<QMoveEvent *>(event)->oldPos());
        else if (event->type() == QEvent::Resize)
            before.setSize(static_cast<QResizeEvent *>(event)->oldSize());
        update(scaled(before).toAlignedRect().adjusted(-2, -2, 2, 2) |
               scaled(child->geometry()).toAlignedRect().adjusted(-2, -2, 2, 2));
        break;
    }
    default:
        break;
    }
    return false;
}

void CanvasOverview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // See-through enough to tell that the skin goes on under it.
    painter.setOpacity(0.85);
    painter.drawPixmap(0, 0, m_small);
    painter.setOpacity(1.0);
    painter.setPen(QColor(255, 255, 255, 200));
    for (const QObject *child : m_canvas->children()) {
        const auto *w = qobject_cast<const QWidget *>(child);
        if (w && w->isVisibleTo(m_canvas))
            painter.drawRect(scaled(w->geometry()));
    }
    const QRect view = skinRectCovering(QRect(m_canvas->pan(), m_canvas->viewSize()), m_canvas->zoom());
    painter.setPen(QPen(QColor(255, 210, 0), 2));
    painter.drawRect(scaled(view).adjusted(1, 1, -1, -1));
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CanvasOverview::lookAt(QPoint local)
{
    const QSize view = m_canvas->viewSize();
    m_canvas->panTo(zoomedPoint(toPicture(local), m_canvas->zoom()) -
                    QPoint(view.width() / 2, view.height() / 2));
}

void CanvasOverview::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        lookAt(event->position().toPoint());
}

void CanvasOverview::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        lookAt(event->position().toPoint());
}

} // namespace zq
