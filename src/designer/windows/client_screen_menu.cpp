#include "windows/client_screen_menu.h"

#include "skin/client_screens.h"
#include "view/skin_canvas.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace zq {

namespace {

const char *const kChoiceKey = "clientScreen";

} // namespace

ClientScreenMenu::ClientScreenMenu(SkinCanvas *canvas, QWidget *parent)
    : QObject(parent)
    , m_canvas(canvas)
    , m_menu(new QMenu(QStringLiteral("客户机屏幕"), parent))
    , m_group(new QActionGroup(this))
{
    m_menu->setAccessibleName(m_menu->title());
    add(QStringLiteral("不显示"), {});
    for (const PixelSize &size : commonClientScreens)
        add(screenSizeText(size), {ClientScreenChoice::Kind::Size, QSize(size.width, size.height)});
    add(QStringLiteral("背景图片的大小"), {ClientScreenChoice::Kind::Background, {}});
    restore(canvas->clientScreenChoice());
}

void ClientScreenMenu::add(const QString &text, const ClientScreenChoice &choice)
{
    QAction *action = m_menu->addAction(text);
    action->setCheckable(true);
    action->setProperty(kChoiceKey, choice.key());
    m_group->addAction(action);
    connect(action, &QAction::triggered, this, [this, choice] {
        m_canvas->setClientScreen(choice);
        if (save)
            save(choice);
    });
}

QAction *ClientScreenMenu::entry(const ClientScreenChoice &choice) const
{
    for (QAction *action : m_group->actions()) {
        if (action->property(kChoiceKey).toString() == choice.key())
            return action;
    }
    return nullptr;
}

void ClientScreenMenu::restore(const ClientScreenChoice &choice)
{
    // A size the menu does not offer (a settings file edited by hand) shows nothing.
    QAction *action = entry(choice);
    if (!action)
        action = entry({});
    action->setChecked(true);
    m_canvas->setClientScreen(ClientScreenChoice::fromKey(action->property(kChoiceKey).toString()));
}

} // namespace zq
