#include "preview_window.h"

#include "picture_paint.h"
#include "ui_preview_window.h"

#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace zq {

TForm2::TForm2(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , ui(std::make_unique<Ui::TForm2>())
{
    ui->setupUi(this);
    // Every pixel is painted here, grey or picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { setKeptOnTop(state == Qt::ApplicationActive); });
}

TForm2::~TForm2() = default;

void TForm2::coverPrimaryScreen()
{
    // Set explicitly: without a window manager a full-screen request gets a default size.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
}

void TForm2::setBackground(const QImage &picture)
{
    const QRect before(QPoint(0, 0), m_background.size());
    // Painted as it is, exposed part by exposed part; an image with alpha is made opaque first,
    // so that the grey never shows through it.
    m_background = picture.hasAlphaChannel() ? picture.convertToFormat(QImage::Format_RGB32) : picture;
    update(QRegion(before) | QRect(QPoint(0, 0), m_background.size()));
}

void TForm2::setKeptOnTop(bool onTop)
{
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    const Qt::WindowFlags flags = windowFlags() ^ Qt::WindowStaysOnTopHint;
    // Changing the widget's flags would hide and re-create the window; tell the window
    // system directly instead.
    overrideWindowFlags(flags);
    if (QWindow *window = windowHandle())
        window->setFlags(flags);
}

void TForm2::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect picture(QPoint(0, 0), m_background.size());
    const QRegion shown = event->region() & picture;
    for (const QRect &r : shown)
        paintPicturePart(painter, m_background, r);
    const QRegion grey = event->region() - picture;
    for (const QRect &r : grey)
        painter.fillRect(r, QColor(kGrey));
}

void TForm2::mousePressEvent(QMouseEvent *event)
{
    // A child that ignores a press passes it up here; it is still not a click on the picture.
    // The press that completes a double click is no click either.
    const bool doubleClick = event->type() == QEvent::MouseButtonDblClick ||
                             event->flags().testFlag(Qt::MouseEventCreatedDoubleClick);
    m_clickArmed =
        event->button() == Qt::LeftButton && !doubleClick && childAt(event->position().toPoint()) == nullptr;
}

void TForm2::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool click = m_clickArmed && rect().contains(event->position().toPoint());
    m_clickArmed = false;
    if (click)
        emit image1Clicked();
}

} // namespace zq
