#pragma once

#include "view/hit_zone.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

#include <functional>

class QEventLoop;
class QWidget;

namespace zq {

// Stands in for the system's modal move/size loop of a child window: it follows the
// pointer while the left button stays down and returns when it is released. Every step is
// computed from the rectangle at the start and the pointer's travel, counted in the
// control's own units (device pixels for an item on the skin canvas, so that n screen pixels
// of travel move it by n), and applied in the parent's coordinates. Esc puts the control back
// and ends the loop. Mouse and key events are eaten while it runs, so the control's own
// handlers do not see the drag (and cannot start a second one).
class MoveSizeLoop : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Finished, Cancelled, NotStarted };

    // How a loop ended, with the control's geometry (parent coordinates) when it began and
    // when it ended; the two are equal when it was cancelled or never started.
    struct Result {
        Outcome outcome = Outcome::NotStarted;
        QRect start;
        QRect end;
        bool changed() const { return outcome == Outcome::Finished && start != end; }
    };

    // Runs the loop for `control` from `zone`, with the pointer at `globalStart` (where the
    // button went down). Returns after the release (Finished) or Esc (Cancelled);
    // NotStarted when another loop is already running or the control is hidden.
    static Result run(QWidget *control, HitZone zone, QPointF globalStart);

    // Asked at every step for the rectangle to apply instead of the one the pointer asks
    // for (snapping, say); `modifiers` are the keys held at that step. None by default.
    using StepFilter = std::function<QRect(QWidget *control, HitZone zone, const QRect &wanted,
                                           Qt::KeyboardModifiers modifiers)>;
    static void setStepFilter(StepFilter filter);
    // Told after every applied step (running) and once when the loop has ended.
    using StepObserver = std::function<void(QWidget *control, bool running)>;
    static void setStepObserver(StepObserver observer);

    // Whether a loop is running now.
    static bool isRunning();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MoveSizeLoop(QWidget *control, HitZone zone, QPointF globalStart);
    Result exec();
    void follow(QPointF globalPos, Qt::KeyboardModifiers modifiers);
    void finish(Outcome outcome);

    QPointer<QWidget> m_control;
    HitZone m_zone;
    QPointF m_globalStart;
    qreal m_units;
    QRect m_startRect;
    QEventLoop *m_loop = nullptr;
    Outcome m_outcome = Outcome::Finished;
};

} // namespace zq
