#include "windows/control_window.h"

#include "editing/layout_editor.h"
#include "elements/image_button.h"
#include "skin/lock_screen.h"
#include "ui_control_window.h"
#include "windows/designer_font.h"
#include "windows/error_report.h"
#include "windows/leave_guard.h"
#include "windows/preview_window.h"
#include "windows/recovery_keeper.h"
#include "windows/recovery_offer.h"
#include "windows/skin_drops.h"
#include "windows/skin_workspace.h"
#include "windows/text_constants.h"
#include "windows/title_bar_frame.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>

#include <array>

namespace zq {

namespace {

const QString kCollapseCaption = QStringLiteral("小化窗口");
const QString kRestoreCaption = QStringLiteral("恢复窗口");

// One element's part of a tab switch: a visibility step, then a stacking step.
struct ArrangeStep {
    bool show;
    bool toFront;
};

// The order in which the six elements take their steps.
constexpr std::array<Element, 6> kArrangeOrder = {Element::LogPage, Element::FilPage, Element::ManPage,
                                                  Element::LogTab,  Element::FilTab,  Element::ManTab};
using Arrangement = std::array<ArrangeStep, 6>;

constexpr ArrangeStep kShowFront{true, true};
constexpr ArrangeStep kShowBack{true, false};
constexpr ArrangeStep kHideBack{false, false};

constexpr Arrangement kLogChosen = {kShowFront, kHideBack, kHideBack, kHideBack, kShowBack, kShowBack};
constexpr Arrangement kFilChosen = {kHideBack, kShowFront, kHideBack, kShowBack, kHideBack, kShowBack};
constexpr Arrangement kManChosen = {kHideBack, kHideBack, kShowFront, kShowBack, kShowBack, kHideBack};
constexpr Arrangement kTabsOnly = {kHideBack, kHideBack, kHideBack, kShowFront, kShowFront, kShowFront};

void arrange(const SkinWorkspace &workspace, const Arrangement &steps)
{
    for (size_t i = 0; i < kArrangeOrder.size(); ++i) {
        // An open that failed part-way leaves some elements missing; they are left alone.
        TImageButtonA *element = workspace.element(kArrangeOrder[i]);
        if (!element)
            continue;
        if (steps[i].show)
            element->ShowElement();
        else
            element->HideElement();
        if (steps[i].toFront)
            element->BringElementToFront();
        else
            element->SendElementToBack();
    }
}

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

    connect(ui->Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(ui->Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(ui->Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(ui->Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(ui->Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(ui->Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(ui->Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    m_client->installEventFilter(this);
    ui->Label1->installEventFilter(this);

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
    LayoutEditor::Commands keys;
    keys.save = [this] {
        if (ui->Button4->isEnabled())
            Button4Click();
    };
    keys.open = [this] {
        if (ui->Button1->isEnabled())
            Button1Click();
    };
    keys.newSkin = [this] {
        if (ui->Button6->isEnabled())
            Button6Click();
    };
    keys.exportPicture = [this] {
        if (ui->Button7->isEnabled())
            Button7Click();
    };
    keys.help = [this] { m_dialogs.showNotice(this, LayoutEditor::helpText()); };
    m_editor = std::make_unique<LayoutEditor>(*m_workspace, m_preview, this, keys);

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
        Show();
        setSkinButtonsEnabled(true);
        connect(m_preview, &TForm2::image1Clicked, this, &TForm1::FormClick, Qt::UniqueConnection);
        if (m_dialogs.skinOpened)
            m_dialogs.skinOpened(layoutPath);
        offerRecovery(*m_workspace, *m_recovery, m_dialogs, this);
    });
}

void TForm1::setSkinButtonsEnabled(bool enabled)
{
    ui->Button3->setEnabled(enabled);
    ui->Button4->setEnabled(enabled);
    ui->Button7->setEnabled(enabled);
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
    const Arrangement *steps = nullptr;
    if (name == elementName(Element::LogTab))
        steps = &kLogChosen;
    else if (name == elementName(Element::FilTab))
        steps = &kFilChosen;
    else if (name == elementName(Element::ManTab))
        steps = &kManChosen;
    if (steps)
        runReportingErrors([&] { arrange(*m_workspace, *steps); });
}

void TForm1::FormClick()
{
    runReportingErrors([&] { arrange(*m_workspace, kTabsOnly); });
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
    const QString path = m_dialogs.chooseExportPath(this, suggestedExportPath(document->LayoutPath));
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

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if ((!press && !release) || static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
        return QWidget::eventFilter(watched, event);
    auto *mouse = static_cast<QMouseEvent *>(event);
    auto *widget = static_cast<QWidget *>(watched);
    const bool inside = widget->rect().contains(mouse->position().toPoint());

    // A click is a press and a release on the same free spot (or on the label).
    if (watched == m_client) {
        if (press) {
            m_clientPressed = true;
        } else if (std::exchange(m_clientPressed, false) && inside) {
            FormClick();
        }
        return true;
    }
    if (watched == ui->Label1) {
        if (press) {
            m_labelPressed = true;
        } else if (std::exchange(m_labelPressed, false) && inside) {
            Label1Click();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zq
