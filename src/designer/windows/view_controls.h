#pragma once

#include "windows/control_dialogs.h"

#include <QObject>

class QMenu;
class QWidget;

namespace zq {

class ClientScreenMenu;
class ControlCommands;
class TForm2;

// How the skin is looked at, apart from what it holds: the zoom commands, the zoom box in the
// control window, and the menu a right click on the background shows (the zoom commands and
// the client screens, whose choice the dialogs' settings keep).
class ViewControls : public QObject {
    Q_OBJECT
public:
    ViewControls(ControlCommands &commands, TForm2 *preview, QWidget *client, const ControlDialogs &dialogs);

    ClientScreenMenu &clientScreens() const { return *m_screens; }
    QMenu *menu() const { return m_menu; }

private:
    ClientScreenMenu *m_screens;
    QMenu *m_menu;
};

} // namespace zq
