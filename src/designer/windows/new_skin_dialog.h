#pragma once

#include "skin/new_skin.h"

#include <QDialog>
#include <QSize>

#include <functional>

class QLineEdit;
class QPushButton;
class QSpinBox;

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

    QLineEdit *backgroundField() const { return m_background; }
    QLineEdit *folderField() const { return m_folder; }
    QSpinBox *widthField() const { return m_width; }
    QSpinBox *heightField() const { return m_height; }
    QPushButton *browseBackgroundButton() const { return m_browseBackground; }
    QPushButton *browseFolderButton() const { return m_browseFolder; }
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
    QLineEdit *m_background;
    QLineEdit *m_folder;
    QSpinBox *m_width;
    QSpinBox *m_height;
    QPushButton *m_browseBackground;
    QPushButton *m_browseFolder;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QString m_layoutPath;
};

// Runs the dialog, the plain size being the screen's in its own pixels. Returns the new skin's
// layout file, or an empty string when cancelled.
QString runNewSkinDialog(QWidget *parent);

} // namespace zq
