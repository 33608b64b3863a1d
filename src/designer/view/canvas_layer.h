#pragma once

class QPainter;
class QRegion;

namespace zq {

// What is drawn over the skin and its items without being part of them: the selection's
// outline, the guides of a snap, a readout. The canvas paints each layer last, in the view's
// device pixels, so a mark lies on exactly the screen pixels it stands for; and since a layer
// holds its place on the screen, not on the skin, a pan paints it again where it was.
class CanvasLayer {
public:
    virtual ~CanvasLayer() = default;

    // Paints what meets `exposed`; the painter and `exposed` count in the view's device pixels.
    virtual void paintLayer(QPainter &painter, const QRegion &exposed) = 0;
    // Where the layer draws, in the view's device pixels.
    virtual QRegion layerArea() const = 0;
};

} // namespace zq
