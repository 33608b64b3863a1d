#include "windows/recovery_offer.h"

#include "document/recovery_keeper.h"
#include "document/skin_workspace.h"
#include "errors/engine_error.h"
#include "recovery/recovered_skin.h"

#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

#include <optional>

namespace zq {

void offerRecovery(SkinWorkspace &workspace, RecoveryKeeper &keeper, const ControlDialogs &dialogs,
                   QWidget *parent)
{
    const RecoveryStore *store = keeper.store();
    const SkinDocument *document = workspace.document();
    if (!store || !document || workspace.state() != SkinWorkspace::State::SkinOpen)
        return;
    const std::optional<RecoveryEntry> entry = store->find(document->layoutPath());
    if (!entry)
        return;
    keeper.adoptCopy(document->layoutPath());
    std::optional<RecoveredSkin> recovered;
    try {
        recovered = RecoveredSkin::read(*entry, *document);
    } catch (const EngineError &error) {
        keeper.discard();
        if (dialogs.showNotice)
            dialogs.showNotice(
                parent,
                QStringLiteral("上次未保存的更改已不适合这个皮肤，已丢弃：%1。").arg(error.message()));
        return;
    }
    const RecoverChoice choice =
        dialogs.askToRecover ? dialogs.askToRecover(parent, recoveryQuestion(*entry)) : RecoverChoice::Later;
    switch (choice) {
    case RecoverChoice::Recover:
        workspace.restore(*recovered);
        break;
    case RecoverChoice::Discard:
        keeper.discard();
        break;
    case RecoverChoice::Later:
        break;
    }
}

QString recoveryQuestion(const RecoveryEntry &entry)
{
    const QString when = QLocale::system().toString(entry.written.toLocalTime(), QLocale::ShortFormat);
    if (entry.newerThanSkin)
        return QStringLiteral("这个皮肤有 %1 未保存的更改。要恢复这些更改吗？").arg(when);
    return QStringLiteral("这个皮肤有 %1 "
                          "未保存的更改，但皮肤的文件在那以后又保存过：恢复会把那次保存的内容换成这些更改。"
                          "要恢复这些更改吗？")
        .arg(when);
}

RecoverChoice askToRecoverBox(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("恢复未保存的更改"), text, QMessageBox::NoButton,
                    parent);
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(text);
    QPushButton *recover = box.addButton(QStringLiteral("恢复"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(QStringLiteral("放弃"), QMessageBox::DestructiveRole);
    recover->setAccessibleName(recover->text());
    discard->setAccessibleName(discard->text());
    box.setDefaultButton(recover);
    box.exec();
    if (box.clickedButton() == recover)
        return RecoverChoice::Recover;
    if (box.clickedButton() == discard)
        return RecoverChoice::Discard;
    return RecoverChoice::Later;
}

} // namespace zq
