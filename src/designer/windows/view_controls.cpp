#include "windows/view_controls.h"

#include "view/preview_window.h"
#include "view/skin_canvas.h"
#include "windows/client_screen_menu.h"
#include "windows/control_commands.h"
#include "windows/zoom_box.h"

#include <QAction>
#include <QMenu>

namespace zq {

ViewControls::ViewControls(ControlCommands &commands, TForm2 *preview, QWidget *client,
                           const ControlDialogs &dialogs)
    : QObject(client)
{
    SkinCanvas *canvas = preview->canvas();
    connect(commands.action(Command::ZoomIn), &QAction::triggered, canvas,
            [canvas] { canvas->zoomStep(true); });
    connect(commands.action(Command::ZoomOut), &QAction::triggered, canvas,
            [canvas] { canvas->zoomStep(false); });
    connect(commands.action(Command::ZoomFit), &QAction::triggered, canvas, &SkinCanvas::zoomToFit);
    connect(commands.action(Command::ZoomActual), &QAction::triggered, canvas,
            [canvas] { canvas->setZoom(1.0); });
    // Between the link and the memo, clear of the buttons.
    new ZoomBox(canvas, client, QRect(80, 68, 97, 22));

    m_screens = new ClientScreenMenu(canvas, preview);
    if (dialogs.loadClientScreen)
        m_screens->restore(ClientScreenChoice::fromKey(dialogs.loadClientScreen()));
    m_screens->save = [save = dialogs.saveClientScreen](const ClientScreenChoice &choice) {
        if (save)
            save(choice.key());
    };
    m_menu = new QMenu(preview);
    m_menu->setAccessibleName(QStringLiteral("视图"));
    for (const Command command : {Command::ZoomIn, Command::ZoomOut, Command::ZoomFit, Command::ZoomActual})
        m_menu->addAction(commands.action(command));
    m_menu->addSeparator();
    m_menu->addMenu(m_screens->menu());
    connect(preview, &TForm2::menuAsked, m_menu, [this](QPoint at) { m_menu->exec(at); });
}

} // namespace zq
