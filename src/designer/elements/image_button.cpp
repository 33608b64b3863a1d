#include "elements/image_button.h"

#include "elements/image_panel.h"
#include "elements/set_ui.h"
#include "numbers/strict_int.h"
#include "shared/error_report.h"
#include "shared/picture_dialog.h"
#include "skin/element_picture.h"
#include "view/device_pixels.h"
#include "view/move_panel.h"
#include "view/skin_canvas.h"

#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include <exception>

namespace zq {

TImageButtonA::TImageButtonA(ElementPicture &picture, QWidget *preview)
    : m_picture(picture)
    , m_panel(new ImagePanel(preview))
{
    m_panel->setAccessibleName(m_picture.Name);
    m_panel->move(m_picture.X, m_picture.Y);
    showPicture();

    connect(m_panel.data(), &ImagePanel::pictureMouseDown, this,
            [this](const QMouseEvent &event) { runReportingErrors([&] { ImageMouseDown(event); }); });

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
    connect(m_panel.data(), &ImagePanel::contextMenuAsked, this,
            [this](QPoint globalPos) { m_popupMenu->exec(globalPos); });

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

const ElementPicture &TImageButtonA::picture() const
{
    return m_picture;
}

const zq::Bitmap &TImageButtonA::bitmap() const
{
    return m_picture.Bitmap;
}

ElementState TImageButtonA::place() const
{
    return {m_panel->geometry(), m_autoSize, QPoint(m_picture.X, m_picture.Y), nullptr};
}

ElementState TImageButtonA::state() const
{
    ElementState s = place();
    auto content = std::make_shared<ElementPictureContent>();
    content->png = m_picture.Png;
    content->bitmap = m_picture.Bitmap;
    content->width = m_picture.PictureWidth;
    content->height = m_picture.PictureHeight;
    s.picture = std::move(content);
    return s;
}

void TImageButtonA::restore(const ElementState &s)
{
    if (s.picture) {
        m_picture.Png = s.picture->png;
        m_picture.Bitmap = s.picture->bitmap;
        m_picture.PictureWidth = s.picture->width;
        m_picture.PictureHeight = s.picture->height;
        m_picture.X = s.stored.x();
        m_picture.Y = s.stored.y();
    } else {
        m_picture.Recomposite(s.stored.x(), s.stored.y());
    }
    m_autoSize = s.autoSize;
    if (s.picture || m_picture.Png) {
        const zq::Bitmap &bitmap = m_picture.Bitmap;
        m_panel->setPicture(QSize(bitmap.width(), bitmap.height()), [&bitmap] { return bitmap.toImage(); });
    }
    m_panel->setGeometry(s.panel);
}

void TImageButtonA::report(Edit kind, const ElementState &before, const ElementState &after)
{
    if (!before.samePlace(after))
        emit edited(kind, before, after);
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
    DragMove(exactGlobalPosition(m_panel, event));
}

void TImageButtonA::DragMove(QPointF globalStart)
{
    const ElementState before = place();
    const MoveSizeLoop::Result result = zq::DragMove(m_panel, globalStart);
    Recomposite();
    // An Esc-cancelled drag is no edit.
    if (result.changed())
        report(Edit::Drag, before, place());
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

void TImageButtonA::FlattenAgain()
{
    if (!m_picture.Png)
        return;
    m_picture.Recomposite(m_picture.X, m_picture.Y);
    showPicture();
}

void TImageButtonA::LoadPng(const QString &path)
{
    const ElementState before = state();
    m_picture.LoadPng(path, m_panel->x(), m_panel->y());
    m_autoSize = true;
    showPicture();
    emit edited(Edit::Picture, before, state());
}

void TImageButtonA::ClickItemClick()
{
    emit OnElementClick(m_picture.Name);
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
    // Beside the element, where it does not hide the element or the control window.
    dialog->placeBeside(SkinCanvas::globalRect(m_panel), DialogKeepClear ? DialogKeepClear() : QRect());
    return dialog;
}

void TImageButtonA::ApplyPosition(TSetUi &dialog)
{
    // Fields are converted in the order left, top, width, height; those before one that
    // does not convert are applied, the rest keep the panel's values.
    int bounds[4] = {m_panel->x(), m_panel->y(), m_panel->width(), m_panel->height()};
    const QLineEdit *fields[4] = {dialog.Edit2(), dialog.Edit1(), dialog.Edit3(), dialog.Edit4()};
    std::exception_ptr failure;
    for (int i = 0; i < 4 && !failure; ++i) {
        try {
            bounds[i] = strToIntStrict(fields[i]->text());
        } catch (...) {
            failure = std::current_exception();
        }
    }
    ApplyBounds(bounds[0], bounds[1], bounds[2], bounds[3], true, Edit::Dialog);
    if (failure)
        std::rethrow_exception(failure);
    dialog.showFields(m_panel->x(), m_panel->y(), m_panel->width(), m_panel->height());
}

void TImageButtonA::ApplyBounds(int left, int top, int width, int height, bool sizeTyped, Edit kind)
{
    const ElementState before = place();
    if (sizeTyped)
        m_autoSize = false;
    m_panel->move(left, top);
    storePanelPosition();
    if (sizeTyped)
        m_panel->resize(width, height);
    report(kind, before, place());
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
