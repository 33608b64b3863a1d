#pragma once

#include "skin/new_skin.h"

#include <QDialog>
#include <QSize>

#include <functional>
#include <memory>

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace Ui {
class NewSkinDialog;
}

namespace zq {

// 新建皮肤: a background picture (JPEG, PNG or BMP) or, without one, a size for a plain
// background, and the folder the skin goes into. 确定 makes the skin there as zqskin new does;
// a refusal (a folder in use, a picture that does not read) is shown and the dialog stays
// open with what was typed.
class NewSkinDialog : public QDialog {
    Q_OBJECT
public:
    // `plainSize`: the size offered for a plain background.
    NewSkinDialog(QWidget *parent, QSize plainSize);
    ~NewSkinDialog() override;

    QLineEdit *backgroundField() const;
    QLineEdit *folderField() const;
    QSpinBox *widthField() const;
    QSpinBox *heightField() const;
    QPushButton *browseBackgroundButton() const;
    QPushButton *browseFolderButton() const;
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // What the fields ask for.
    NewSkinOptions options() const;
    // The new skin's layout file, once 确定 has made it.
    QString layoutPath() const { return m_layoutPath; }

    // What 浏览… runs: the picture and the folder dialogs unless replaced (tests put their own
    // here). An empty answer leaves the field as it is.
    std::function<QString(QWidget *parent)> choosePicture;
    std::function<QString(QWidget *parent)> chooseFolder;

    void accept() override;

private:
    void connectFields();

    std::unique_ptr<Ui::NewSkinDialog> ui;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QString m_layoutPath;
};

// Runs the dialog, the plain size being the screen's in its own pixels. Returns the new skin's
// layout file, or an empty string when cancelled.
QString runNewSkinDialog(QWidget *parent);

} // namespace zq
