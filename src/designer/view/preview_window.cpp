#include "view/preview_window.h"

#include "ui_preview_window.h"
#include "view/canvas_overview.h"
#include "view/skin_canvas.h"

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
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(kGrey));
    setPalette(grey);
    m_canvas = new SkinCanvas(this);
    m_overview = new CanvasOverview(m_canvas, this);
    connect(m_canvas, &SkinCanvas::clicked, this, &TForm2::image1Clicked);
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
    m_canvas->setBackground(picture);
    m_overview->refresh();
}

bool TForm2::hasBackground() const
{
    return m_canvas->hasBackground();
}

QSize TForm2::backgroundSize() const
{
    return m_canvas->backgroundSize();
}

void TForm2::resizeEvent(QResizeEvent *event)
{
    m_canvas->fit();
    m_overview->refresh();
    QWidget::resizeEvent(event);
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

} // namespace zq
