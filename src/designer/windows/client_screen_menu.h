#pragma once

#include "view/client_screen.h"

#include <QObject>

#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace zq {

class SkinCanvas;

// 客户机屏幕: a menu of the client screens to check the skin against (none, the common sizes and
// the background's own size). The choice is outlined on the canvas and kept through `save`.
class ClientScreenMenu : public QObject {
    Q_OBJECT
public:
    ClientScreenMenu(SkinCanvas *canvas, QWidget *parent);

    QMenu *menu() const { return m_menu; }
    // The entry for a choice; null for a choice the menu does not offer.
    QAction *entry(const ClientScreenChoice &choice) const;

    // Takes a choice (from the settings, say) without telling `save`.
    void restore(const ClientScreenChoice &choice);
    // Told of every choice made in the menu.
    std::function<void(const ClientScreenChoice &choice)> save;

private:
    void add(const QString &text, const ClientScreenChoice &choice);

    SkinCanvas *m_canvas;
    QMenu *m_menu;
    QActionGroup *m_group;
};

} // namespace zq
