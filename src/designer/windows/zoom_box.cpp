#include "windows/zoom_box.h"

#include "view/skin_canvas.h"
#include "view/zoom_steps.h"

#include <QComboBox>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <cmath>

namespace zq {

namespace {

const QString kFitText = QStringLiteral("适合屏幕");

} // namespace

ZoomBox::ZoomBox(SkinCanvas *canvas, QWidget *client, QRect place)
    : QObject(client)
    , m_canvas(canvas)
    , m_client(client)
    , m_place(place)
{
    connect(canvas, &SkinCanvas::zoomChanged, this, &ZoomBox::follow);
}

void ZoomBox::make()
{
    m_box = new QComboBox(m_client);
    m_box->setObjectName(QStringLiteral("zoomBox"));
    m_box->setFont(m_client->font());
    // The keys stay on the skin.
    m_box->setFocusPolicy(Qt::NoFocus);
    for (double step : kZoomSteps)
        m_box->addItem(zoomText(step), step);
    m_box->addItem(kFitText);
    m_box->setGeometry(m_place);
    connect(m_box, &QComboBox::activated, this, &ZoomBox::choose);
}

void ZoomBox::follow()
{
    const double zoom = m_canvas->zoom();
    if (!m_box) {
        if (zoom == 1.0)
            return;
        make();
    }
    const int fitIndex = m_box->count() - 1;
    const QString percent = zoomText(zoom);
    m_box->setItemText(fitIndex, m_canvas->fitting() ? kFitText + QLatin1Char(' ') + percent : kFitText);
    int shown = m_canvas->fitting() ? fitIndex : -1;
    for (int i = 0; i < fitIndex && shown < 0; ++i) {
        if (std::abs(m_box->itemData(i).toDouble() - zoom) < 1e-9)
            shown = i;
    }
    m_box->setCurrentIndex(shown);
    fitText();
    m_box->setAccessibleName(QStringLiteral("缩放 ") + percent);
    m_box->setToolTip(m_box->accessibleName());
    m_box->setVisible(zoom != 1.0);
}

void ZoomBox::fitText()
{
    // As wide as its text needs ("适合屏幕 71%" is wider than a step), as far as the window's
    // right edge allows.
    QStyleOptionComboBox option;
    option.initFrom(m_box);
    option.currentText = m_box->currentText();
    const QFontMetrics metrics = m_box->fontMetrics();
    const QSize text(metrics.horizontalAdvance(option.currentText), metrics.height());
    const int wanted = m_box->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, m_box).width();
    const int room = std::max(m_place.width(), m_client->width() - m_place.x() - 4);
    m_box->resize(std::clamp(wanted, m_place.width(), room), m_place.height());
}

void ZoomBox::choose(int index)
{
    if (index == m_box->count() - 1)
        m_canvas->zoomToFit();
    else if (index >= 0)
        m_canvas->setZoom(m_box->itemData(index).toDouble());
}

} // namespace zq
