#include "windows/control_dialogs.h"

#include "windows/picture_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace zq {

ControlDialogs ControlDialogs::standard()
{
    return {runOpenDialog1, runOPD, showNoticeBox};
}

QString runOpenDialog1(QWidget *parent)
{
    QFileDialog dialog(parent, QStringLiteral("打开ZqCSkin.ini"));
    dialog.setAccessibleName(dialog.windowTitle());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A layout that does not exist yet opens with every value at zero; the first save makes it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("ZqCSkin.ini (ZqCSkin.ini)"));
#ifdef Q_OS_WIN
    dialog.setDirectory(QStringLiteral("C:\\windows\\system32"));
#else
    dialog.setDirectory(QDir::homePath());
#endif
    dialog.selectFile(QStringLiteral("ZqCSkin.ini"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

QString runOPD(QWidget *parent)
{
    return choosePicture(parent, QStringLiteral("选择一张jpg图片"),
                         QStringLiteral("JPEG Image File (*.jpg)"));
}

void showNoticeBox(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent);
    box.setAccessibleName(text);
    box.exec();
}

} // namespace zq
