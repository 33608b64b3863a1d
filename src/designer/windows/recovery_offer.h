#pragma once

#include "windows/control_dialogs.h"

#include <QString>

class QWidget;

namespace zq {

class RecoveryKeeper;
class SkinWorkspace;
struct RecoveryEntry;

// When a skin opens with a recovery copy of earlier unsaved edits, asks 恢复未保存的更改:
// 恢复 shows those edits again, unsaved, as one edit that one undo takes back; 放弃 removes
// the copy and leaves the skin as its files have it. A copy that no longer fits the skin
// (or does not read whole) is removed with a note instead.
void offerRecovery(SkinWorkspace &workspace, RecoveryKeeper &keeper, const ControlDialogs &dialogs,
                   QWidget *parent);

// The question's text: when the edits were made, and whether the skin was saved since.
QString recoveryQuestion(const RecoveryEntry &entry);

// The question in a message box with the buttons 恢复 and 放弃.
RecoverChoice askToRecoverBox(QWidget *parent, const QString &text);

} // namespace zq
