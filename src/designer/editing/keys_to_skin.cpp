#include "editing/keys_to_skin.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace zq {

KeysToSkin::KeysToSkin(QWidget *preview, QObject *parent)
    : QObject(parent)
    , m_preview(preview)
{
    qApp->installEventFilter(this);
}

bool KeysToSkin::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Hide || !watched->isWidgetType())
        return false;
    const auto *window = static_cast<QWidget *>(watched);
    const QWidget *owner = window->parentWidget();
    // Once the window is gone for good: a modal one first leaves its own loop.
    if (window->isWindow() && window != m_preview && owner && owner->window() == m_preview)
        QTimer::singleShot(0, this, &KeysToSkin::takeBack);
    return false;
}

void KeysToSkin::takeBack()
{
    if (!m_preview || !m_preview->isVisible() || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget())
        return;
    // Another window of the program (a second position dialog) keeps the keys it has.
    const QWidget *active = QApplication::activeWindow();
    if (active == m_preview || (active && active->isVisible()))
        return;
    m_preview->activateWindow();
}

} // namespace zq
