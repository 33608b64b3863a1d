#include "editing/edit_overlay.h"

#include "view/skin_canvas.h"

#include <QPainter>

#include <algorithm>

namespace zq {

namespace {
constexpr int kHandle = 5; // handle squares, centred on the outline
constexpr int kReadoutPad = 3;
} // namespace

EditOverlay::EditOverlay(SkinCanvas *canvas, QObject *owner)
    : QObject(owner)
    , m_canvas(canvas)
{
    canvas->addLayer(this);
}

EditOverlay::~EditOverlay()
{
    if (m_canvas)
        m_canvas->removeLayer(this);
}

qreal EditOverlay::ratio() const
{
    return m_canvas ? m_canvas->ratio() : 1.0;
}

QPoint EditOverlay::viewPixelAtGlobal(QPoint global) const
{
    return m_canvas ? m_canvas->viewPixelAt(m_canvas->mapFromGlobal(QPointF(global))) : global;
}

QPoint EditOverlay::scaled(QPoint logical) const
{
    return (QPointF(logical) * ratio()).toPoint();
}

QFont EditOverlay::readoutFont() const
{
    // The interface's own size, in the device pixels the overlay is painted in.
    const QFont interfaceFont = m_canvas ? m_canvas->font() : QFont();
    QFont type = interfaceFont;
    type.setPixelSize(std::max(1, qRound(QFontInfo(interfaceFont).pixelSize() * ratio())));
    return type;
}

QRect EditOverlay::readoutRect() const
{
    if (m_readout.isEmpty())
        return {};
    const QSize text = QFontMetrics(readoutFont()).size(Qt::TextSingleLine, m_readout);
    const int pad = scaled(QPoint(kReadoutPad, 0)).x();
    return QRect(m_readoutAt, text + QSize(2 * pad, 2 * pad));
}

QRegion EditOverlay::layerArea() const
{
    QRegion area;
    if (!m_item.isEmpty()) {
        const int h = kHandle / 2 + 1;
        area += m_item.adjusted(-h, -h, h, h) & m_clip.adjusted(-h, -h, h, h);
    }
    if (m_xGuide)
        area += QRect(*m_xGuide, m_guideExtent.top(), 1, m_guideExtent.height());
    if (m_yGuide)
        area += QRect(m_guideExtent.left(), *m_yGuide, m_guideExtent.width(), 1);
    area += readoutRect();
    return area;
}

void EditOverlay::refresh(const QRegion &before)
{
    // Only what changed is painted again, so a step costs the same on any background.
    if (m_canvas)
        m_canvas->updateView(before + layerArea());
}

void EditOverlay::setSelection(const QRect &item, const QRect &clip)
{
    if (item == m_item && clip == m_clip)
        return;
    const QRegion before = layerArea();
    m_item = item;
    m_clip = clip;
    refresh(before);
}

void EditOverlay::setGuides(std::optional<int> x, std::optional<int> y, const QRect &extent)
{
    if (x == m_xGuide && y == m_yGuide && extent == m_guideExtent)
        return;
    const QRegion before = layerArea();
    m_xGuide = x;
    m_yGuide = y;
    m_guideExtent = extent;
    refresh(before);
}

void EditOverlay::setReadout(const QString &text, QPoint at)
{
    if (text == m_readout && at == m_readoutAt)
        return;
    const QRegion before = layerArea();
    m_readout = text;
    m_readoutAt = at;
    refresh(before);
}

void EditOverlay::paintLayer(QPainter &painter, const QRegion &exposed)
{
    // One unit of the painter is one device pixel of the view.
    painter.setClipRegion(exposed);

    if (!m_item.isEmpty()) {
        painter.save();
        painter.setClipRegion(painter.clipRegion() & m_clip.adjusted(-kHandle, -kHandle, kHandle, kHandle));
        // Dashes of two colours, seen on light and dark pictures alike.
        const QRect outline = m_item.adjusted(0, 0, -1, -1);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(outline);
        painter.setPen(QPen(QColor(0, 120, 215), 1, Qt::DashLine));
        painter.drawRect(outline);
        // Centred on the outline's pixels, which are the item's first and last ones.
        const QRect line = m_item;
        const int cx = line.center().x();
        const int cy = line.center().y();
        for (const QPoint p :
             {line.topLeft(), QPoint(cx, line.top()), line.topRight(), QPoint(line.right(), cy),
              line.bottomRight(), QPoint(cx, line.bottom()), line.bottomLeft(), QPoint(line.left(), cy)}) {
            const QRect handle(p.x() - kHandle / 2, p.y() - kHandle / 2, kHandle, kHandle);
            painter.fillRect(handle, Qt::white);
            painter.setPen(QColor(0, 120, 215));
            painter.drawRect(handle.adjusted(0, 0, -1, -1));
        }
        painter.restore();
    }

    const QColor guide(255, 0, 200);
    if (m_xGuide)
        painter.fillRect(QRect(*m_xGuide, m_guideExtent.top(), 1, m_guideExtent.height()), guide);
    if (m_yGuide)
        painter.fillRect(QRect(m_guideExtent.left(), *m_yGuide, m_guideExtent.width(), 1), guide);

    if (!m_readout.isEmpty()) {
        const QRect box = readoutRect();
        painter.fillRect(box, QColor(255, 255, 225));
        painter.setPen(Qt::black);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        const int pad = scaled(QPoint(kReadoutPad, 0)).x();
        painter.setFont(readoutFont());
        painter.drawText(box.adjusted(pad, pad, -pad, -pad), Qt::AlignCenter | Qt::TextSingleLine, m_readout);
    }
}

} // namespace zq
