#pragma once

#include "skin/asset_names.h"
#include "windows/control_dialogs.h"

#include <QWidget>

#include <memory>

class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace Ui {
class TForm1;
}

namespace zq {

class ClientScreenMenu;
class ControlCommands;
class LayoutEditor;
class LeaveGuard;
class RecoveryKeeper;
class SkinDropTarget;
class SkinWorkspace;
class TForm2;
class TImageButtonA;
class TitleBarFrame;
class ViewControls;
struct DropAction;

// The designer's main window. Creating it creates the full-screen preview, and the window
// then lives inside the preview as a small framed child window that carries the commands:
// open a skin, replace the background, save, collapse/restore, close, and the home-page
// link; and make a new skin and export a picture of the lock screen. It owns the skin workspace and arranges
// the six elements when a tab is chosen or the background is clicked.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 188;
    static constexpr int kClientHeight = 166;
    // Outer heights, frame included.
    static constexpr int kExpandedHeight = 202;
    static constexpr int kCollapsedHeight = 45;

    explicit TForm1(ControlDialogs dialogs = ControlDialogs::standard());
    ~TForm1() override;

    TForm2 *preview() const { return m_preview; }
    SkinWorkspace &workspace() const { return *m_workspace; }
    LayoutEditor &editor() const { return *m_editor; }
    QWidget *clientArea() const { return m_client; }
    const TitleBarFrame &frame() const { return *m_frame; }

    QPushButton *Button1() const;
    QPushButton *Button2() const;
    QPushButton *Button3() const;
    QPushButton *Button4() const;
    QPushButton *Button5() const;
    QPushButton *Button6() const;
    QPushButton *Button7() const;
    QPlainTextEdit *Memo1() const;
    QLabel *Label1() const;
    // The commands the buttons, the keys and any menu share.
    ControlCommands &commands() const { return *m_commands; }
    // The client screens to check the skin against, a submenu of the preview's menu.
    ClientScreenMenu &clientScreens() const;
    // The menu a right click on the background shows: the zoom commands and the client screens.
    QMenu *viewMenu() const;

    // Open a skin: OpenDialog1, then openChosenLayout. Asks first about unsaved changes.
    void Button1Click();
    // Close: ends the program, asking first about unsaved changes.
    void Button2Click();
    // Replace the background by a JPEG chosen in OPD.
    void Button3Click();
    // Save the skin, then say so.
    void Button4Click();
    // Collapse to the title bar and the top strip, or restore.
    void Button5Click();
    // The home page, in the desktop's web browser.
    void Label1Click();
    // New skin: the 新建皮肤 dialog makes one, which then opens. Asks first about unsaved
    // changes.
    void Button6Click();
    // Export: the lock screen as zqskin render draws it for the page shown (登陆 when none
    // is), into a PNG the user names.
    void Button7Click();

    // What an open does once OpenDialog1 has given a path: background, layout, version
    // test (its message when the layout is refused), the elements, the buttons' states.
    // Also how a path given on the command line, dropped or made by 新建皮肤 is opened. With
    // a skin open, the new one is read whole first and replaces it only if it opens; a
    // refused or unreadable one leaves the open skin as it was.
    void openChosenLayout(const QString &layoutPath);

    // Keeps the recovery copy of unsaved edits.
    RecoveryKeeper &recovery() const { return *m_recovery; }

    // Whether the open skin may be set aside, asking 保存更改 while it has unsaved changes.
    bool mayLeaveSkin();
    // The end of the desktop session, as the session manager asks it.
    bool sessionMayEnd(bool interactionAllowed);

    // The tab whose page is shown, 登陆 when none is.
    Element shownTab() const;
    // Where 导出图片 offers to write: <skin folder name>.png beside the skin's folder.
    static QString suggestedExportPath(const QString &layoutPath);

    // Builds the six elements over the preview; raises the error of a picture that fails.
    void Show();
    // The tab switch: shows the named tab's page on top, hides its tab picture, shows the
    // other two. Any other name changes nothing.
    void POnClick(const QString &name);
    // Back to the three tab pictures, the pages hidden.
    void FormClick();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void installCommands();
    void centreOnScreen();
    void takeDrop(const DropAction &action, TImageButtonA *picture);
    void setSkinButtonsEnabled(bool enabled);

    std::unique_ptr<Ui::TForm1> ui;
    ControlDialogs m_dialogs;
    QWidget *m_client;
    TitleBarFrame *m_frame;
    TForm2 *m_preview = nullptr;
    ControlCommands *m_commands = nullptr;
    ViewControls *m_view = nullptr;
    std::unique_ptr<SkinWorkspace> m_workspace;
    std::unique_ptr<LayoutEditor> m_editor;
    std::unique_ptr<RecoveryKeeper> m_recovery;
    std::unique_ptr<LeaveGuard> m_leaveGuard;
    std::unique_ptr<SkinDropTarget> m_drops;
    bool m_placed = false;
};

} // namespace zq
