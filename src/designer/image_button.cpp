#include "image_button.h"

#include "error_report.h"
#include "image_panel.h"
#include "move_panel.h"
#include "numbers/strict_int.h"
#include "picture_dialog.h"
#include "set_ui.h"
#include "skin/element_picture.h"

#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

namespace zq {

TImageButtonA::TImageButtonA(ElementPicture &picture, QWidget *preview)
    : m_picture(picture)
    , m_panel(new ImagePanel(preview))
{
    m_panel->setAccessibleName(m_picture.Name);
    m_panel->move(m_picture.X, m_picture.Y);
    showPicture();

    m_panel->onPictureMouseDown = [this](const QMouseEvent &event) {
        runReportingErrors([&] { ImageMouseDown(event); });
    };

    m_popupMenu = new QMenu(m_panel);
    m_popupMenu->setAccessibleName(m_picture.Name);
    m_clickItem = m_popupMenu->addAction(QStringLiteral("点击"));
    m_replaceItem = m_popupMenu->addAction(QStringLiteral("换张图片"));
    m_settingsItem = m_popupMenu->addAction(QStringLiteral("设置"));
    QObject::connect(m_clickItem, &QAction::triggered, m_panel,
                     [this] { runReportingErrors([this] { ClickItemClick(); }); });
    QObject::connect(m_replaceItem, &QAction::triggered, m_panel,
                     [this] { runReportingErrors([this] { ReplaceItemClick(); }); });
    QObject::connect(m_settingsItem, &QAction::triggered, m_panel,
                     [this] { runReportingErrors([this] { OpenPositionDialog(); }); });
    m_panel->onContextMenu = [this](QPoint globalPos) { m_popupMenu->exec(globalPos); };

    m_panel->show();
}

TImageButtonA::~TImageButtonA()
{
    // Takes the menu and the position dialogs with it.
    delete m_panel.data();
}

const QString &TImageButtonA::Name() const
{
    return m_picture.Name;
}

int TImageButtonA::X() const
{
    return m_picture.X;
}

int TImageButtonA::Y() const
{
    return m_picture.Y;
}

ElementPicture &TImageButtonA::picture()
{
    return m_picture;
}

QWidget *TImageButtonA::Panel() const
{
    return m_panel.data();
}

TSetUi *TImageButtonA::PositionDialog() const
{
    return m_positionDialog.data();
}

void TImageButtonA::HideElement()
{
    m_panel->hide();
}

void TImageButtonA::ShowElement()
{
    m_panel->show();
}

void TImageButtonA::BringElementToFront()
{
    m_panel->raise();
}

void TImageButtonA::SendElementToBack()
{
    // The preview paints the background itself, so the lowest child is still above it.
    m_panel->lower();
    Recomposite();
}

void TImageButtonA::SaveBitmap() const
{
    m_picture.SaveBitmap();
}

void TImageButtonA::ImageMouseDown(const QMouseEvent &event)
{
    const bool doubleClick = event.type() == QEvent::MouseButtonDblClick ||
                             event.flags().testFlag(Qt::MouseEventCreatedDoubleClick);
    if (event.button() != Qt::LeftButton || doubleClick)
        return;
    DragMove(event.globalPosition().toPoint());
}

void TImageButtonA::DragMove(QPoint globalStart)
{
    zq::DragMove(m_panel, globalStart);
    Recomposite();
}

void TImageButtonA::Recomposite()
{
    m_autoSize = true;
    const bool flattened = m_picture.Png.has_value();
    m_picture.Recomposite(m_panel->x(), m_panel->y());
    // Without a PNG the picture is untouched: nothing to convert again.
    if (flattened)
        showPicture();
    else
        fitToPicture();
}

void TImageButtonA::LoadPng(const QString &path)
{
    m_picture.LoadPng(path, m_panel->x(), m_panel->y());
    m_autoSize = true;
    showPicture();
}

void TImageButtonA::ClickItemClick()
{
    if (OnElementClick)
        OnElementClick(m_picture.Name);
}

void TImageButtonA::ReplaceItemClick()
{
    const QString path = choosePng();
    if (!path.isEmpty())
        LoadPng(path);
}

QString TImageButtonA::choosePng()
{
    if (PngChooser)
        return PngChooser(m_panel);
    return choosePicture(m_panel, QString(), QStringLiteral("*.png (*.png)"));
}

TSetUi *TImageButtonA::OpenPositionDialog()
{
    // Earlier dialogs stay open; each one applies its own fields.
    auto *dialog = new TSetUi(m_panel);
    m_positionDialog = dialog;
    dialog->setWindowTitle(m_picture.Name);
    dialog->setButton1Click([this](TSetUi &d) { ApplyPosition(d); });
    dialog->ShowBounds(m_panel->x(), m_panel->y(), m_panel->width(), m_panel->height());
    return dialog;
}

void TImageButtonA::ApplyPosition(TSetUi &dialog)
{
    m_autoSize = false;
    m_panel->move(strToIntStrict(dialog.Edit2()->text()), m_panel->y());
    try {
        m_panel->move(m_panel->x(), strToIntStrict(dialog.Edit1()->text()));
    } catch (...) {
        // The left already applied is where the element is now, and so what a save must store.
        storePanelPosition();
        throw;
    }
    storePanelPosition();
    m_panel->resize(strToIntStrict(dialog.Edit3()->text()), m_panel->height());
    m_panel->resize(m_panel->width(), strToIntStrict(dialog.Edit4()->text()));
}

void TImageButtonA::storePanelPosition()
{
    if (m_panel->pos() == QPoint(m_picture.X, m_picture.Y))
        return;
    // As Recomposite, but the panel keeps the size it was given.
    m_picture.Recomposite(m_panel->x(), m_panel->y());
    if (m_picture.Png)
        showPicture();
}

void TImageButtonA::showPicture()
{
    // Converted for the screen when first painted, from the picture as it is then.
    const zq::Bitmap &bitmap = m_picture.Bitmap;
    m_panel->setPicture(QSize(bitmap.width(), bitmap.height()), [&bitmap] { return bitmap.toImage(); });
    fitToPicture();
}

void TImageButtonA::fitToPicture()
{
    if (m_autoSize)
        m_panel->resize(m_panel->pictureSize());
}

} // namespace zq
