#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace zq {

// The dialogs the control window runs. Each is a plain function so that tests can put
// their own in place of the modal ones.
struct ControlDialogs {
    // OpenDialog1: the layout file to open; empty when cancelled.
    std::function<QString(QWidget *parent)> chooseLayout;
    // OPD: the JPEG to take as the new background; empty when cancelled.
    std::function<QString(QWidget *parent)> choosePicture;
    // A notice in a message box.
    std::function<void(QWidget *parent, const QString &text)> showNotice;

    // The real, modal dialogs.
    static ControlDialogs standard();
};

// "打开ZqCSkin.ini": any file name may be typed, also one that does not exist yet.
QString runOpenDialog1(QWidget *parent);
// "选择一张jpg图片", with a preview of the picture under the cursor.
QString runOPD(QWidget *parent);
void showNoticeBox(QWidget *parent, const QString &text);

} // namespace zq
