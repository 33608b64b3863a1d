#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

#include <array>

class QAbstractButton;
class QAction;
class QWidget;

namespace zq {

// The control window's commands. Each is one action, shared by its button, its keys and any
// menu: the action's enabled state is the button's, and a key never reaches a command that is
// off.
enum class Command {
    Open,              // 打开皮肤
    NewSkin,           // 新建皮肤
    ReplaceBackground, // 换背景图片
    Save,              // 保存皮肤
    ExportPicture,     // 导出图片
    Undo,
    Redo,
    Help,
};
inline constexpr int kCommandCount = int(Command::Help) + 1;

// One row of the table: what the command is called, its keys, and whether it is on before a
// skin is open.
struct CommandRow {
    Command command;
    QString text;
    QList<QKeySequence> keys;
    bool enabledAtStart;
};

// Every command, in the order of the enum.
const std::array<CommandRow, kCommandCount> &commandTable();

// The actions of the table. Their keys work anywhere in `keysOn`'s window.
class ControlCommands : public QObject {
    Q_OBJECT
public:
    ControlCommands(QWidget *keysOn, QObject *parent);

    QAction *action(Command command) const { return m_actions[size_t(command)]; }
    // The button triggers the command, and is on exactly while the command is.
    void bindButton(Command command, QAbstractButton *button);
    // Turns the command on or off, and its button with it.
    void setEnabled(Command command, bool enabled);
    bool isEnabled(Command command) const;

private:
    std::array<QAction *, kCommandCount> m_actions{};
};

} // namespace zq
