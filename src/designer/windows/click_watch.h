#pragma once

#include <QObject>

class QWidget;

namespace zq {

// Tells of left clicks on a widget that has no click of its own (a label, a free spot of a
// window): a press and a release of the left button on the same widget, the release inside
// it. The presses and releases themselves go no further.
class ClickWatch : public QObject {
    Q_OBJECT
public:
    explicit ClickWatch(QWidget *watched);

signals:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace zq
