#pragma once

#include <QImage>

#include <vector>

namespace zq {

// Halving copies of a picture, for drawing it reduced: copy k is 2^-k of the full size, each
// made from the one before by averaging blocks of 2 × 2 pixels, when it is first asked for, and
// kept. Drawing a reduced picture from the nearest copy at least as large as the result keeps
// the smooth scaling cheap and free of the moiré a direct reduction leaves.
class ReducedCopies {
public:
    explicit ReducedCopies(QImage full);

    // The picture to draw at `zoom` screen pixels per picture pixel: the full picture for a zoom
    // above one half, else the copy 2^-k with the largest k for which 2^-k is still at least
    // the zoom (never smaller than one pixel). Copies are in QImage::Format_RGB32.
    const QImage &forZoom(double zoom);

    // How many times smaller the picture forZoom(zoom) gives is than the full one: 2^k.
    int reductionFor(double zoom) const;

    const QImage &full() const { return m_full; }
    // The copies made so far, the full picture not counted.
    qsizetype madeCount() const { return qsizetype(m_copies.size()); }

private:
    QImage m_full;
    std::vector<QImage> m_copies; // m_copies[k - 1] is copy k
};

// One halving step: (width + 1) / 2 × (height + 1) / 2 pixels, each the rounded average of a
// block of 2 × 2 (a block cut by an odd edge repeats its last column or row). Opaque result in
// QImage::Format_RGB32; an alpha channel is dropped, as the designer draws the background opaque.
QImage halvePicture(const QImage &picture);

} // namespace zq
