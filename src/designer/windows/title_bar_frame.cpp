#include "windows/title_bar_frame.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace zq {

TitleBarFrame::TitleBarFrame(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    m_window->setContentsMargins(frameMargins());
    m_window->installEventFilter(this);
}

QRect TitleBarFrame::titleBarRect() const
{
    return QRect(kBorder, kBorder, m_window->width() - 2 * kBorder, kTitleHeight);
}

QPoint TitleBarFrame::keptInsideParent(QPoint topLeft) const
{
    const QWidget *parent = m_window->parentWidget();
    if (!parent)
        return topLeft;
    const int maxX = std::max(0, parent->width() - m_window->width());
    const int maxY = std::max(0, parent->height() - m_window->height());
    return {std::clamp(topLeft.x(), 0, maxX), std::clamp(topLeft.y(), 0, maxY)};
}

void TitleBarFrame::paintFrame()
{
    QPainter painter(m_window);
    const QPalette &pal = m_window->palette();
    const QRect outer = m_window->rect();

    painter.fillRect(outer, pal.color(QPalette::Button));
    painter.setPen(pal.color(QPalette::Shadow));
    painter.drawRect(outer.adjusted(0, 0, -1, -1));

    const QRect title = titleBarRect();
    painter.fillRect(title, pal.color(QPalette::Highlight));
    QFont captionFont = m_window->font();
    captionFont.setBold(true);
    painter.setFont(captionFont);
    painter.setPen(pal.color(QPalette::HighlightedText));
    const QRect textArea = title.adjusted(6, 0, -6, 0);
    const QString caption =
        painter.fontMetrics().elidedText(m_window->windowTitle(), Qt::ElideRight, textArea.width());
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
}

bool TitleBarFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Paint:
        // Painted under whatever the window paints itself; its children cover the client area.
        paintFrame();
        return false;
    case QEvent::WindowTitleChange:
        m_window->update(titleBarRect());
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // A double click is just another press here: the window has nothing to maximise.
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !titleBarRect().contains(mouse->position().toPoint()))
            return false;
        m_dragging = true;
        m_pressGlobal = mouse->globalPosition().toPoint();
        m_startPos = m_window->pos();
        return true;
    }
    case QEvent::MouseMove: {
        if (!m_dragging)
            return false;
        auto *mouse = static_cast<QMouseEvent *>(event);
        m_window->move(keptInsideParent(m_startPos + mouse->globalPosition().toPoint() - m_pressGlobal));
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_dragging || mouse->button() != Qt::LeftButton)
            return false;
        m_dragging = false;
        return true;
    }
    default:
        return false;
    }
}

} // namespace zq
