#include "elements/image_panel.h"

#include "view/skin_canvas.h"

#include <QContextMenuEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace zq {

ImagePanel::ImagePanel(QWidget *parent)
    : QWidget(parent)
{
    // Beside the picture (a panel typed larger than it) the panel shows its own face, painted
    // here: the picture itself needs nothing under it.
    setBackgroundRole(QPalette::Button);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ImagePanel::setPicture(QSize size, std::function<QImage()> make)
{
    m_pictureSize = size;
    m_makePicture = std::move(make);
    m_picture = QPixmap();
    SkinCanvas::updateItem(this);
}

void ImagePanel::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    paintItem(painter, event->region());
}

void ImagePanel::paintItem(QPainter &painter, const QRegion &part)
{
    if (m_makePicture) {
        m_picture = QPixmap::fromImage(m_makePicture().convertToFormat(QImage::Format_RGB32));
        m_makePicture = nullptr;
    }
    const QRegion picture = part.intersected(pictureRect());
    for (const QRect &r : picture)
        painter.drawPixmap(r, m_picture, r);
    const QRegion beside = part.subtracted(pictureRect());
    for (const QRect &r : beside)
        painter.fillRect(r, palette().brush(backgroundRole()));
}

void ImagePanel::mousePressEvent(QMouseEvent *event)
{
    forwardPress(event);
}

void ImagePanel::mouseDoubleClickEvent(QMouseEvent *event)
{
    forwardPress(event);
}

void ImagePanel::forwardPress(QMouseEvent *event)
{
    // Presses are the element's even where they start nothing: none of them is a click on the
    // background under it.
    event->accept();
    if (pictureRect().contains(event->position().toPoint()))
        emit pictureMouseDown(*event);
}

void ImagePanel::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    emit contextMenuAsked(event->globalPos());
}

} // namespace zq
