#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace zq {

// The answer to 保存更改, asked before unsaved changes are left behind.
enum class SaveChoice { Save, Discard, Cancel };

// The answer to 恢复未保存的更改, asked when a skin opens with a recovery copy of earlier
// edits; Later leaves the copy for the next open.
enum class RecoverChoice { Recover, Discard, Later };

// The dialogs the control window runs. Each is a plain function so that tests can put
// their own in place of the modal ones.
struct ControlDialogs {
    // OpenDialog1: the layout file to open; empty when cancelled.
    std::function<QString(QWidget *parent)> chooseLayout;
    // OPD: the picture (JPEG, PNG or BMP) to take as the new background; empty when cancelled.
    std::function<QString(QWidget *parent)> choosePicture;
    // A notice in a message box.
    std::function<void(QWidget *parent, const QString &text)> showNotice;
    // 保存更改: save the changes first, leave them, or stay.
    std::function<SaveChoice(QWidget *parent)> askToSave;
    // 新建皮肤: makes a new skin; its layout file, or empty when cancelled.
    std::function<QString(QWidget *parent)> newSkin;
    // 导出图片: the PNG to write, `suggested` offered first; empty when cancelled.
    std::function<QString(QWidget *parent, const QString &suggested)> chooseExportPath;
    // Told of every skin that opened, for the open dialog's start folder and history.
    std::function<void(const QString &layoutPath)> skinOpened;
    // The client screen chosen last (ClientScreenChoice::key), kept across runs.
    std::function<QString()> loadClientScreen;
    std::function<void(const QString &key)> saveClientScreen;
    // 恢复未保存的更改, with the text that says what is offered.
    std::function<RecoverChoice(QWidget *parent, const QString &text)> askToRecover;
    // Where recovery copies of unsaved edits are kept (the user's data folder); none are
    // kept when empty.
    QString dataFolder;

    // The real, modal dialogs.
    static ControlDialogs standard();
};

// "打开ZqCSkin.ini": any file name may be typed, also one that does not exist yet. It starts
// in the folder of the skin opened last and offers the recent skins' folders.
QString runOpenDialog1(QWidget *parent);
// "选择一张jpg图片", with a preview of the picture under the cursor; PNG and BMP files are
// offered too.
QString runOPD(QWidget *parent);
void showNoticeBox(QWidget *parent, const QString &text);
SaveChoice askToSaveBox(QWidget *parent);
QString runExportDialog(QWidget *parent, const QString &suggested);
// Keeps the skin among the recent ones, across runs.
void rememberOpenedSkin(const QString &layoutPath);
QString loadClientScreenKey();
void saveClientScreenKey(const QString &key);

} // namespace zq
