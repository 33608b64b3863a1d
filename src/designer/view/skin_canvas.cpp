#include "view/skin_canvas.h"

#include "editing/move_size_loop.h"
#include "view/picture_paint.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace zq {

QPoint clampPan(QPoint wanted, QSize picture, QSize view)
{
    auto axis = [](int want, int pictureLength, int viewLength) {
        return std::clamp(want, 0, std::max(0, pictureLength - viewLength));
    };
    return {axis(wanted.x(), picture.width(), view.width()),
            axis(wanted.y(), picture.height(), view.height())};
}

SkinCanvas::SkinCanvas(QWidget *preview)
    : QWidget(preview)
{
    setObjectName(QStringLiteral("canvas"));
    // Every pixel is painted here, grey or picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    fit();
    qApp->installEventFilter(this);
}

bool SkinCanvas::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType() || MoveSizeLoop::isRunning())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Space || widget->window() != window() || !pans())
            return false;
        if (!key->isAutoRepeat())
            m_spaceHeld = event->type() == QEvent::KeyPress;
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool onCanvas = widget == this || isAncestorOf(widget);
        const bool panPress =
            mouse->button() == Qt::MiddleButton || (mouse->button() == Qt::LeftButton && m_spaceHeld);
        if (!onCanvas || !panPress || m_panButton != Qt::NoButton)
            return false;
        m_panButton = mouse->button();
        m_panPressGlobal = mouse->globalPosition().toPoint();
        m_panAtPress = m_pan;
        return true;
    }
    case QEvent::MouseMove:
        if (m_panButton == Qt::NoButton)
            return false;
        panTo(m_panAtPress -
              (static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - m_panPressGlobal));
        return true;
    case QEvent::MouseButtonRelease:
        if (m_panButton == Qt::NoButton || static_cast<QMouseEvent *>(event)->button() != m_panButton)
            return false;
        m_panButton = Qt::NoButton;
        return true;
    default:
        return false;
    }
}

void SkinCanvas::setBackground(const QImage &picture)
{
    const QRect before(QPoint(0, 0), m_background.size());
    // Painted as it is, exposed part by exposed part; an image with alpha is made opaque first,
    // so that the grey never shows through it.
    m_background = picture.hasAlphaChannel() ? picture.convertToFormat(QImage::Format_RGB32) : picture;
    update(QRegion(before) | QRect(QPoint(0, 0), m_background.size()));
    fit();
}

bool SkinCanvas::pans() const
{
    const QSize view = parentWidget() ? parentWidget()->size() : size();
    return m_background.width() > view.width() || m_background.height() > view.height();
}

void SkinCanvas::fit()
{
    const QSize view = parentWidget() ? parentWidget()->size() : size();
    resize(view.expandedTo(m_background.size()));
    panTo(m_pan);
}

void SkinCanvas::panTo(QPoint offset)
{
    const QSize view = parentWidget() ? parentWidget()->size() : size();
    const QPoint clamped = clampPan(offset, m_background.size(), view);
    const bool changed = clamped != m_pan;
    m_pan = clamped;
    move(-m_pan);
    if (changed)
        emit panned();
}

void SkinCanvas::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect picture(QPoint(0, 0), m_background.size());
    const QRegion shown = event->region() & picture;
    for (const QRect &r : shown)
        paintPicturePart(painter, m_background, r);
    const QRegion grey = event->region() - picture;
    for (const QRect &r : grey)
        painter.fillRect(r, QColor(kGrey));
}

void SkinCanvas::mousePressEvent(QMouseEvent *event)
{
    // Only presses no child took arrive here. The press that completes a double click is no
    // click.
    const bool doubleClick = event->type() == QEvent::MouseButtonDblClick ||
                             event->flags().testFlag(Qt::MouseEventCreatedDoubleClick);
    m_clickArmed = event->button() == Qt::LeftButton && !doubleClick;
}

void SkinCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool click = m_clickArmed && rect().contains(event->position().toPoint());
    m_clickArmed = false;
    if (click)
        emit clicked();
}

void SkinCanvas::wheelEvent(QWheelEvent *event)
{
    if (!pans()) {
        event->ignore();
        return;
    }
    // One notch is 120; three notches cross about a third of a 1080-line screen.
    QPoint delta = event->angleDelta();
    if (event->modifiers().testFlag(Qt::ShiftModifier) && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    panBy(QPoint(-delta.x(), -delta.y()));
    event->accept();
}

} // namespace zq
