#pragma once

#include <QImage>

#include <memory>

class QPainter;
class QRect;

namespace zq {

class ReducedCopies;

// The background drawn at a zoom other than 1: below it smoothly, from the halving copy
// nearest above the zoom (made when first needed, once per picture); above it each picture
// pixel a square of screen pixels, widened row by row at a whole zoom. Only the part asked for
// is converted and drawn.
class ZoomedBackground {
public:
    ZoomedBackground();
    ~ZoomedBackground();

    // The picture to draw from now on; the copies of the one before go.
    void setPicture(const QImage &full);

    // Draws the part `zoomedPart` of the zoomed picture; `painter` counts in pixels of the
    // zoomed picture, (0, 0) its top-left corner.
    void paint(QPainter &painter, const QRect &zoomedPart, double zoom);

private:
    QImage m_full;
    std::unique_ptr<ReducedCopies> m_copies;
};

} // namespace zq
