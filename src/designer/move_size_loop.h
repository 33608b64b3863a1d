#pragma once

#include "hit_zone.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

class QEventLoop;
class QWidget;

namespace zq {

// Stands in for the system's modal move/size loop of a child window: it follows the
// pointer while the left button stays down and returns when it is released. Every step is
// computed from the rectangle at the start and the pointer's travel in global coordinates,
// and applied in the parent's coordinates. Esc puts the control back and ends the loop.
// Mouse and key events are eaten while it runs, so the control's own handlers do not see
// the drag (and cannot start a second one).
class MoveSizeLoop : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Finished, Cancelled, NotStarted };

    // Runs the loop for `control` from `zone`, with the pointer at `globalStart` (where the
    // button went down). Returns after the release (Finished) or Esc (Cancelled);
    // NotStarted when another loop is already running or the control is hidden.
    static Outcome run(QWidget *control, HitZone zone, QPoint globalStart);

    // Whether a loop is running now.
    static bool isRunning();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MoveSizeLoop(QWidget *control, HitZone zone, QPoint globalStart);
    Outcome exec();
    void follow(QPoint globalPos);
    void finish(Outcome outcome);

    QPointer<QWidget> m_control;
    HitZone m_zone;
    QPoint m_globalStart;
    QRect m_startRect;
    QEventLoop *m_loop = nullptr;
    Outcome m_outcome = Outcome::Finished;
};

} // namespace zq
