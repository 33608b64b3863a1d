#include "windows/control_dialogs.h"

#include "shared/picture_dialog.h"
#include "windows/new_skin_dialog.h"
#include "windows/recent_skins.h"
#include "windows/recovery_offer.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>

namespace zq {

namespace {

// The user's settings of the designer: the recent skins, the client screen.
class DesignerSettings : public QSettings {
public:
    DesignerSettings()
        : QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("zqdesigner"),
                    QStringLiteral("zqdesigner"))
    {}
};

} // namespace

ControlDialogs ControlDialogs::standard()
{
    return {runOpenDialog1,
            runOPD,
            showNoticeBox,
            askToSaveBox,
            runNewSkinDialog,
            runExportDialog,
            rememberOpenedSkin,
            loadClientScreenKey,
            saveClientScreenKey,
            askToRecoverBox,
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
}

QString runOpenDialog1(QWidget *parent)
{
    DesignerSettings settings;
    const RecentSkins recent(settings);
    QFileDialog dialog(parent, QStringLiteral("打开ZqCSkin.ini"));
    dialog.setAccessibleName(dialog.windowTitle());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A layout that does not exist yet opens with every value at zero; the first save makes it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("ZqCSkin.ini (ZqCSkin.ini)"));
    QString start = recent.startFolder();
    if (start.isEmpty() || !QDir(start).exists()) {
#ifdef Q_OS_WIN
        start = QStringLiteral("C:\\windows\\system32");
#else
        start = QDir::homePath();
#endif
    }
    dialog.setDirectory(start);
    dialog.setHistory(recent.folders());
    dialog.selectFile(QStringLiteral("ZqCSkin.ini"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

QString runOPD(QWidget *parent)
{
    // The background is drawn from a PNG or BMP as well; the JPEG filter stays first.
    return choosePicture(
        parent, QStringLiteral("选择一张jpg图片"),
        QStringLiteral("JPEG Image File (*.jpg);;PNG Image File (*.png);;Bitmap Image File (*.bmp);;"
                       "图片 (*.jpg *.jpeg *.png *.bmp)"));
}

void showNoticeBox(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent);
    box.setAccessibleName(text);
    box.exec();
}

SaveChoice askToSaveBox(QWidget *parent)
{
    const QString text = QStringLiteral("皮肤有未保存的更改。要先保存吗？");
    QMessageBox box(QMessageBox::Warning, QStringLiteral("保存更改"), text, QMessageBox::NoButton, parent);
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(text);
    // The letters after the names answer from the keyboard (Alt+S, Alt+N), as is usual for
    // this question; Esc is 取消.
    QPushButton *save = box.addButton(QStringLiteral("保存(&S)"), QMessageBox::AcceptRole);
    QPushButton *discard = box.addButton(QStringLiteral("不保存(&N)"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    save->setAccessibleName(QStringLiteral("保存"));
    discard->setAccessibleName(QStringLiteral("不保存"));
    cancel->setAccessibleName(QStringLiteral("取消"));
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChoice::Save;
    if (box.clickedButton() == discard)
        return SaveChoice::Discard;
    return SaveChoice::Cancel;
}

QString runExportDialog(QWidget *parent, const QString &suggested)
{
    QFileDialog dialog(parent, QStringLiteral("导出图片"));
    dialog.setAccessibleName(dialog.windowTitle());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("PNG (*.png)"));
    dialog.setDefaultSuffix(QStringLiteral("png"));
    const QFileInfo chosen(suggested);
    dialog.setDirectory(chosen.absolutePath());
    dialog.selectFile(chosen.fileName());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

void rememberOpenedSkin(const QString &layoutPath)
{
    DesignerSettings settings;
    RecentSkins(settings).add(layoutPath);
}

namespace {
const QString kClientScreenKey = QStringLiteral("clientScreen");
} // namespace

QString loadClientScreenKey()
{
    return DesignerSettings().value(kClientScreenKey).toString();
}

void saveClientScreenKey(const QString &key)
{
    DesignerSettings().setValue(kClientScreenKey, key);
}

} // namespace zq
