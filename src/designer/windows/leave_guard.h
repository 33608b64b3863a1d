#pragma once

#include "windows/control_dialogs.h"

#include <QObject>

#include <functional>

class QSessionManager;
class QUndoStack;
class QWidget;

namespace zq {

// Keeps unsaved edits from being lost: before the skin is set aside (another one opened, a
// new one made, the window closed, the desktop session ended) it asks 保存更改 while the
// edits differ from what was last opened or saved. 保存 saves and goes on, unless the save
// fails; 不保存 goes on; 取消 stays. With nothing unsaved nothing is asked.
class LeaveGuard : public QObject {
    Q_OBJECT
public:
    // `edits` tells whether anything is unsaved; `ask` puts the question, `save` saves and
    // says whether it worked. The guard watches `window` for its close and the application
    // for the end of the session.
    LeaveGuard(QUndoStack &edits, std::function<SaveChoice()> ask, std::function<bool()> save,
               QWidget *window);

    // Whether the skin may be set aside now, asking first if need be.
    bool mayLeave();

    // The end of the desktop session: whether it may go on (`interactionAllowed` says whether
    // the session lets the program ask). Without leave to ask, nothing is decided here.
    bool sessionMayEnd(bool interactionAllowed);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void commitData(QSessionManager &manager);

    QUndoStack &m_edits;
    std::function<SaveChoice()> m_ask;
    std::function<bool()> m_save;
    QWidget *m_window;
    // The user let these edits go already (the session's end asked); the window's close
    // that follows need not ask again. Forgotten at the next edit.
    bool m_givenUp = false;
};

} // namespace zq
