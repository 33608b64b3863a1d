#pragma once

#include "view/canvas_layer.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QString>

#include <optional>

namespace zq {

class SkinCanvas;

// Drawn above the elements and never part of a picture: the selection's dashed outline
// with its handles, the guide lines of a snap, and the readout of a drag or key step. The
// canvas paints it as its top layer, in the view's device pixels, so an outline or a guide
// lies on the screen pixels of the edge it marks at any display scaling; the readout's text
// and margins follow the display's scaling, to stay readable. Windows above the canvas (the
// control window, the overview) cover it as they cover the skin.
class EditOverlay : public QObject, public CanvasLayer {
    Q_OBJECT
public:
    explicit EditOverlay(SkinCanvas *canvas, QObject *owner = nullptr);
    ~EditOverlay() override;

    // Device pixels per logical pixel.
    qreal ratio() const;
    // The view's device pixel under a global logical position (the pointer's, say).
    QPoint viewPixelAtGlobal(QPoint global) const;
    // A distance of the interface (a margin, an offset) in device pixels.
    QPoint scaled(QPoint logical) const;

    // The selected item's rectangle and the area it is seen through (its page, for a box),
    // both in device pixels of the view; an empty rectangle shows no selection.
    void setSelection(const QRect &item, const QRect &clip);
    // Guide lines along x and y, each as far as `extent` reaches.
    void setGuides(std::optional<int> x, std::optional<int> y, const QRect &extent);
    // A readout label with its top-left corner at `at`; empty text hides it.
    void setReadout(const QString &text, QPoint at);

    QRect selectionRect() const { return m_item; }
    QString readoutText() const { return m_readout; }
    QRect readoutRect() const;
    std::optional<int> xGuide() const { return m_xGuide; }
    std::optional<int> yGuide() const { return m_yGuide; }

    void paintLayer(QPainter &painter, const QRegion &exposed) override;
    QRegion layerArea() const override;

private:
    QFont readoutFont() const;
    void refresh(const QRegion &before);

    QPointer<SkinCanvas> m_canvas;

    QRect m_item;
    QRect m_clip;
    std::optional<int> m_xGuide;
    std::optional<int> m_yGuide;
    QRect m_guideExtent;
    QString m_readout;
    QPoint m_readoutAt;
};

} // namespace zq
