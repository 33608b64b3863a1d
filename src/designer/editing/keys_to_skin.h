#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace zq {

// Hands the keyboard back to the preview when a dialog, message box or menu of its own
// closes and no other window of the program has taken it, so that the editing keys act on
// the skin again without another click on it. (A window system without a window manager
// gives the keyboard to no window at all then.)
class KeysToSkin : public QObject {
    Q_OBJECT
public:
    KeysToSkin(QWidget *preview, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void takeBack();

    QPointer<QWidget> m_preview;
};

} // namespace zq
