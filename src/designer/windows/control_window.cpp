#include "windows/control_window.h"

#include "document/recovery_keeper.h"
#include "document/skin_workspace.h"
#include "editing/layout_editor.h"
#include "elements/image_button.h"
#include "shared/designer_font.h"
#include "shared/error_report.h"
#include "skin/lock_screen.h"
#include "ui_control_window.h"
#include "view/preview_window.h"
#include "view/skin_canvas.h"
#include "windows/click_watch.h"
#include "windows/control_commands.h"
#include "windows/leave_guard.h"
#include "windows/recovery_offer.h"
#include "windows/skin_drops.h"
#include "windows/tab_arrangement.h"
#include "windows/text_constants.h"
#include "windows/title_bar_frame.h"
#include "windows/view_controls.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QUndoStack>
#include <QUrl>

namespace zq {

namespace {

const QString kCollapseCaption = QStringLiteral("小化窗口");
const QString kRestoreCaption = QStringLiteral("恢复窗口");

} // namespace

TForm1::TForm1(ControlDialogs dialogs)
    : ui(std::make_unique<Ui::TForm1>())
    , m_dialogs(std::move(dialogs))
    , m_client(new QWidget(this))
    , m_frame(new TitleBarFrame(this))
{
    setObjectName(QStringLiteral("TForm1"));
    ui->setupUi(m_client);
    m_client->setBackgroundRole(QPalette::Button);
    m_client->setAutoFillBackground(true);
    setFixedSize(kClientWidth + TitleBarFrame::kFrameWidth, kClientHeight + TitleBarFrame::kFrameHeight);
    m_client->setGeometry(contentsRect());

    const QFont type = designerFont(font());
    setFont(type);
    // Set on each control too: the platform may give buttons and edits a font of their own.
    for (QWidget *control : m_client->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        QFont own = type;
        own.setBold(control->font().bold());
        own.setUnderline(control->font().underline());
        control->setFont(own);
    }

    connect(ui->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    // A click is a press and a release on the same free spot (or on the label).
    connect(new ClickWatch(m_client), &ClickWatch::clicked, this, &TForm1::FormClick);
    connect(new ClickWatch(ui->Label1), &ClickWatch::clicked, this, &TForm1::Label1Click);

    FormCreate();
}

TForm1::~TForm1()
{
    // The elements sit on the preview, and this window is the preview's child: the
    // elements go first, then this window leaves the preview, then the preview goes.
    m_drops.reset();
    m_leaveGuard.reset();
    m_recovery.reset();
    m_editor.reset();
    m_workspace.reset();
    TForm2 *preview = m_preview;
    setParent(nullptr);
    delete preview;
}

void TForm1::FormCreate()
{
    m_preview = new TForm2;
    m_preview->setWindowTitle(textConstant(PreviewCaptionText));
    // Sized before it is first shown, so it never flashes up at a default size.
    m_preview->coverPrimaryScreen();
    m_preview->show();
    setParent(m_preview);
    // Screen readers and window lists say what the title bar shows, " *" included.
    connect(this, &QWidget::windowTitleChanged, this, &QWidget::setAccessibleName);
    setWindowTitle(textConstant(ControlCaptionText));
    ui->Memo1->appendPlainText(textConstant(CreditText));
    m_workspace = std::make_unique<SkinWorkspace>(m_preview);
    // The caption says when the skin differs from what was opened or last saved.
    connect(&m_workspace->undoStack(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        setWindowTitle(textConstant(ControlCaptionText) + (clean ? QString() : QStringLiteral(" *")));
    });
    installCommands();
    m_view = new ViewControls(*m_commands, m_preview, m_client, m_dialogs);
    m_editor = std::make_unique<LayoutEditor>(*m_workspace, m_preview, this);

    m_recovery = std::make_unique<RecoveryKeeper>(*m_workspace, m_dialogs.dataFolder);
    // Closing the preview (关闭, or the window system's close) and the session's end ask first.
    m_leaveGuard = std::make_unique<LeaveGuard>(
        m_workspace->undoStack(),
        [this] {
            const SaveChoice choice = m_dialogs.askToSave ? m_dialogs.askToSave(this) : SaveChoice::Cancel;
            // Edits the user lets go need no recovery copy.
            if (choice == SaveChoice::Discard)
                m_recovery->discard();
            return choice;
        },
        [this] { return runReportingErrors([&] { m_workspace->save(); }); }, m_preview);
    m_drops = std::make_unique<SkinDropTarget>(
        m_preview, *m_workspace,
        [this](const DropAction &action, TImageButtonA *picture) { takeDrop(action, picture); });
}

void TForm1::installCommands()
{
    // The keys act anywhere on the preview, this window included.
    m_commands = new ControlCommands(m_preview, this);
    auto on = [this](Command command, void (TForm1::*slot)()) {
        connect(m_commands->action(command), &QAction::triggered, this, slot);
    };
    on(Command::Open, &TForm1::Button1Click);
    on(Command::NewSkin, &TForm1::Button6Click);
    on(Command::ReplaceBackground, &TForm1::Button3Click);
    on(Command::Save, &TForm1::Button4Click);
    on(Command::ExportPicture, &TForm1::Button7Click);
    QUndoStack *undo = &m_workspace->undoStack();
    connect(m_commands->action(Command::Undo), &QAction::triggered, undo, &QUndoStack::undo);
    connect(m_commands->action(Command::Redo), &QAction::triggered, undo, &QUndoStack::redo);
    connect(m_commands->action(Command::Help), &QAction::triggered, this,
            [this] { m_dialogs.showNotice(this, LayoutEditor::helpText()); });
    m_commands->bindButton(Command::Open, ui->Button1);
    m_commands->bindButton(Command::NewSkin, ui->Button6);
    m_commands->bindButton(Command::ReplaceBackground, ui->Button3);
    m_commands->bindButton(Command::Save, ui->Button4);
    m_commands->bindButton(Command::ExportPicture, ui->Button7);
}

ClientScreenMenu &TForm1::clientScreens() const
{
    return m_view->clientScreens();
}

QMenu *TForm1::viewMenu() const
{
    return m_view->menu();
}

QPushButton *TForm1::Button1() const
{
    return ui->Button1;
}

QPushButton *TForm1::Button2() const
{
    return ui->Button2;
}

QPushButton *TForm1::Button3() const
{
    return ui->Button3;
}

QPushButton *TForm1::Button4() const
{
    return ui->Button4;
}

QPushButton *TForm1::Button5() const
{
    return ui->Button5;
}

QPushButton *TForm1::Button6() const
{
    return ui->Button6;
}

QPushButton *TForm1::Button7() const
{
    return ui->Button7;
}

QPlainTextEdit *TForm1::Memo1() const
{
    return ui->Memo1;
}

QLabel *TForm1::Label1() const
{
    return ui->Label1;
}

void TForm1::Button1Click()
{
    if (!mayLeaveSkin())
        return;
    const QString path = m_dialogs.chooseLayout(this);
    if (path.isEmpty())
        return;
    openChosenLayout(path);
}

void TForm1::openChosenLayout(const QString &layoutPath)
{
    runReportingErrors([&] {
        if (m_workspace->state() == SkinWorkspace::State::SkinOpen) {
            // Read whole before anything of the open skin changes.
            std::unique_ptr<SkinDocument> next = m_workspace->readSkin(layoutPath);
            if (!next) {
                m_dialogs.showNotice(this, textConstant(VersionMessageText));
                return;
            }
            m_editor->clearSelection();
            m_workspace->replaceSkin(std::move(next));
        } else if (!m_workspace->openLayout(layoutPath)) {
            m_dialogs.showNotice(this, textConstant(VersionMessageText));
            return;
        }
        // A skin opens as the client shows it, one picture pixel on one screen pixel.
        m_preview->canvas()->zoomAround(1.0, QPoint(0, 0));
        Show();
        setSkinButtonsEnabled(true);
        connect(m_preview, &TForm2::image1Clicked, this, &TForm1::FormClick, Qt::UniqueConnection);
        // An interrupted save of this skin was finished or undone as it opened.
        if (const SkinDocument *opened = m_workspace->document();
            opened && !opened->interruptedSaveNote().isEmpty())
            m_dialogs.showNotice(this, opened->interruptedSaveNote());
        if (m_dialogs.skinOpened)
            m_dialogs.skinOpened(layoutPath);
        offerRecovery(*m_workspace, *m_recovery, m_dialogs, this);
    });
}

void TForm1::setSkinButtonsEnabled(bool enabled)
{
    for (const Command command : {Command::ReplaceBackground, Command::Save, Command::ExportPicture})
        m_commands->setEnabled(command, enabled);
}

bool TForm1::mayLeaveSkin()
{
    return m_leaveGuard->mayLeave();
}

bool TForm1::sessionMayEnd(bool interactionAllowed)
{
    return m_leaveGuard->sessionMayEnd(interactionAllowed);
}

void TForm1::Show()
{
    m_workspace->buildElements([this](const QString &name) { POnClick(name); });
    m_editor->attach();
}

void TForm1::POnClick(const QString &name)
{
    for (const Element tab : {Element::LogTab, Element::FilTab, Element::ManTab}) {
        if (name == elementName(tab))
            runReportingErrors([&] { arrangeForTab(*m_workspace, tab); });
    }
}

void TForm1::FormClick()
{
    runReportingErrors([&] { arrangeTabsOnly(*m_workspace); });
}

void TForm1::Button2Click()
{
    // This window is a child of the preview; the program ends with the preview, whose close
    // asks first about unsaved changes and may be refused.
    if (!m_preview->close())
        return;
    close();
}

void TForm1::Button3Click()
{
    if (m_workspace->state() != SkinWorkspace::State::SkinOpen)
        return;
    const QString path = m_dialogs.choosePicture(this);
    if (path.isEmpty())
        return;
    runReportingErrors([&] { m_workspace->replaceBackground(path); });
}

void TForm1::Button4Click()
{
    if (m_workspace->state() != SkinWorkspace::State::SkinOpen)
        return;
    if (runReportingErrors([&] { m_workspace->save(); }))
        m_dialogs.showNotice(this, QStringLiteral("皮肤保存成功"));
}

void TForm1::Button5Click()
{
    const bool collapse = ui->Button5->text() == kCollapseCaption;
    ui->Button5->setText(collapse ? kRestoreCaption : kCollapseCaption);
    ui->Button5->setAccessibleName(ui->Button5->text());
    setFixedSize(width(), collapse ? kCollapsedHeight : kExpandedHeight);
}

void TForm1::Label1Click()
{
    QDesktopServices::openUrl(QUrl(textConstant(HomePageText)));
}

void TForm1::Button6Click()
{
    if (!mayLeaveSkin() || !m_dialogs.newSkin)
        return;
    const QString layout = m_dialogs.newSkin(this);
    if (!layout.isEmpty())
        openChosenLayout(layout);
}

void TForm1::Button7Click()
{
    const SkinDocument *document = m_workspace->document();
    if (m_workspace->state() != SkinWorkspace::State::SkinOpen || !document || !m_dialogs.chooseExportPath)
        return;
    const QString path = m_dialogs.chooseExportPath(this, suggestedExportPath(document->layoutPath()));
    if (path.isEmpty())
        return;
    runReportingErrors([&] { exportLockScreen(*document, shownTab(), path); });
}

Element TForm1::shownTab() const
{
    for (Element tab : {Element::LogTab, Element::FilTab, Element::ManTab}) {
        const TImageButtonA *page = m_workspace->element(pageOf(tab));
        if (page && page->Panel()->isVisibleTo(m_preview))
            return tab;
    }
    return Element::LogTab;
}

QString TForm1::suggestedExportPath(const QString &layoutPath)
{
    QDir folder = QFileInfo(layoutPath).absoluteDir();
    const QString name = folder.dirName();
    // A skin at the top of a drive has no folder name to go by, and nothing beside it.
    if (name.isEmpty() || !folder.cdUp())
        return folder.filePath(QStringLiteral("skin.png"));
    return folder.filePath(name + QStringLiteral(".png"));
}

void TForm1::takeDrop(const DropAction &action, TImageButtonA *picture)
{
    switch (action.kind) {
    case DropAction::Kind::OpenSkin:
        if (mayLeaveSkin())
            openChosenLayout(action.path);
        break;
    case DropAction::Kind::ReplacePicture:
        // As 换张图片 does with the chosen file.
        if (picture)
            runReportingErrors([&] { picture->LoadPng(action.path); });
        break;
    case DropAction::Kind::ReplaceBackground:
        // As 换背景图片 does with the chosen file.
        if (m_workspace->state() == SkinWorkspace::State::SkinOpen)
            runReportingErrors([&] { m_workspace->replaceBackground(action.path); });
        break;
    case DropAction::Kind::None:
        break;
    }
}

void TForm1::centreOnScreen()
{
    const QScreen *screen = m_preview->screen() ? m_preview->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QPoint globalTopLeft(area.x() + (area.width() - width()) / 2,
                               area.y() + (area.height() - height()) / 2);
    move(m_preview->mapFromGlobal(globalTopLeft));
}

void TForm1::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        centreOnScreen();
    }
    QWidget::showEvent(event);
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    // Collapsed, only the top strip of the client area is left between title bar and border.
    m_client->setGeometry(contentsRect());
    QWidget::resizeEvent(event);
}

} // namespace zq
