#include "windows/control_commands.h"

#include <QAbstractButton>
#include <QAction>
#include <QWidget>

namespace zq {

const std::array<CommandRow, kCommandCount> &commandTable()
{
    static const std::array<CommandRow, kCommandCount> table = {{
        {Command::Open, QStringLiteral("打开皮肤"), {QKeySequence(Qt::CTRL | Qt::Key_O)}, true},
        {Command::NewSkin, QStringLiteral("新建皮肤"), {QKeySequence(Qt::CTRL | Qt::Key_N)}, true},
        {Command::ReplaceBackground, QStringLiteral("换背景图片"), {}, false},
        {Command::Save, QStringLiteral("保存皮肤"), {QKeySequence(Qt::CTRL | Qt::Key_S)}, false},
        {Command::ExportPicture, QStringLiteral("导出图片"), {QKeySequence(Qt::CTRL | Qt::Key_E)}, false},
        {Command::Undo, QStringLiteral("撤销"), {QKeySequence(Qt::CTRL | Qt::Key_Z)}, true},
        {Command::Redo,
         QStringLiteral("重做"),
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
         true},
        {Command::Help, QStringLiteral("帮助"), {QKeySequence(Qt::Key_F1)}, true},
    }};
    return table;
}

ControlCommands::ControlCommands(QWidget *keysOn, QObject *parent)
    : QObject(parent)
{
    for (const CommandRow &row : commandTable()) {
        auto *action = new QAction(row.text, this);
        action->setShortcuts(row.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(row.enabledAtStart);
        keysOn->addAction(action);
        m_actions[size_t(row.command)] = action;
    }
}

void ControlCommands::bindButton(Command command, QAbstractButton *button)
{
    QAction *act = action(command);
    button->setEnabled(act->isEnabled());
    connect(button, &QAbstractButton::clicked, act, &QAction::trigger);
    connect(act, &QAction::enabledChanged, button, &QWidget::setEnabled);
}

void ControlCommands::setEnabled(Command command, bool enabled)
{
    action(command)->setEnabled(enabled);
}

bool ControlCommands::isEnabled(Command command) const
{
    return action(command)->isEnabled();
}

} // namespace zq
