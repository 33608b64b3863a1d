#include "windows/leave_guard.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QUndoStack>
#include <QWidget>

namespace zq {

LeaveGuard::LeaveGuard(QUndoStack &edits, std::function<SaveChoice()> ask, std::function<bool()> save,
                       QWidget *window)
    : m_edits(edits)
    , m_ask(std::move(ask))
    , m_save(std::move(save))
    , m_window(window)
{
    window->installEventFilter(this);
    connect(&m_edits, &QUndoStack::indexChanged, this, [this] { m_givenUp = false; });
    connect(qApp, &QGuiApplication::commitDataRequest, this, &LeaveGuard::commitData);
}

bool LeaveGuard::mayLeave()
{
    if (m_edits.isClean() || m_givenUp)
        return true;
    switch (m_ask ? m_ask() : SaveChoice::Cancel) {
    case SaveChoice::Save:
        return m_save && m_save();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

bool LeaveGuard::sessionMayEnd(bool interactionAllowed)
{
    if (m_edits.isClean() || !interactionAllowed)
        return true;
    if (!mayLeave())
        return false;
    m_givenUp = true;
    return true;
}

void LeaveGuard::commitData(QSessionManager &manager)
{
    // allowsInteraction() is what asks the session for leave to put a question.
    const bool unsaved = !m_edits.isClean() && !m_givenUp;
    if (unsaved && !sessionMayEnd(manager.allowsInteraction()))
        manager.cancel();
}

bool LeaveGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Close && !mayLeave()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zq
