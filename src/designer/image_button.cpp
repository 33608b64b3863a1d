#include "image_button.h"

#include "skin/element_picture.h"

#include <QWidget>

namespace zq {

class ImagePanel : public QWidget {
public:
    using QWidget::QWidget;
};

TImageButtonA::TImageButtonA(ElementPicture &picture, QWidget *preview)
    : m_picture(picture)
    , m_panel(new ImagePanel(preview))
{
    m_panel->move(picture.X, picture.Y);
    m_panel->show();
}

TImageButtonA::~TImageButtonA()
{
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
void TImageButtonA::HideElement() {}
void TImageButtonA::ShowElement() {}
void TImageButtonA::BringElementToFront() {}
void TImageButtonA::SendElementToBack() {}
void TImageButtonA::SaveBitmap() const {}
void TImageButtonA::ImageMouseDown(QPoint) {}
void TImageButtonA::DragMove(QPoint) {}
void TImageButtonA::Recomposite() {}
void TImageButtonA::LoadPng(const QString &) {}
void TImageButtonA::ClickItemClick() {}
void TImageButtonA::ReplaceItemClick() {}
TSetUi *TImageButtonA::OpenPositionDialog()
{
    return nullptr;
}
void TImageButtonA::ApplyPosition(TSetUi &) {}
void TImageButtonA::refreshPicture() {}

} // namespace zq
