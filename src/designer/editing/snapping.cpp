#include "editing/snapping.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace zq {

namespace {

// The nearest pair of a moving line and a candidate: the shift that joins them.
struct Catch {
    int shift = 0;
    int line = 0;
    bool found = false;
};

Catch nearest(const std::vector<int> &moving, const std::vector<int> &candidates, int threshold)
{
    Catch best;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (int m : moving) {
        for (int c : candidates) {
            const long long distance = std::llabs(static_cast<long long>(c) - m);
            if (distance <= threshold && distance < bestDistance) {
                bestDistance = distance;
                best = {int(static_cast<long long>(c) - m), c, true};
            }
        }
    }
    return best;
}

// One axis of the rectangle: start and length, and which of its two edges are dragged.
struct Span {
    int start;
    int length;
};

std::optional<int> snapAxis(Span &span, bool lowDragged, bool highDragged, const std::vector<int> &candidates,
                            int threshold)
{
    const int low = span.start;
    const int high = span.start + span.length;
    if (lowDragged && highDragged) {
        const Catch c = nearest({low, span.start + span.length / 2, high}, candidates, threshold);
        if (!c.found)
            return std::nullopt;
        span.start += c.shift;
        return c.line;
    }
    if (lowDragged) {
        const Catch c = nearest({low}, candidates, threshold);
        if (!c.found || c.line > high)
            return std::nullopt;
        span.start = c.line;
        span.length = high - c.line;
        return c.line;
    }
    if (highDragged) {
        const Catch c = nearest({high}, candidates, threshold);
        if (!c.found || c.line < low)
            return std::nullopt;
        span.length = c.line - low;
        return c.line;
    }
    return std::nullopt;
}

} // namespace

void SnapLines::addRect(const QRect &r)
{
    xs.insert(xs.end(), {r.x(), r.x() + r.width() / 2, r.x() + r.width()});
    ys.insert(ys.end(), {r.y(), r.y() + r.height() / 2, r.y() + r.height()});
}

SnapResult snapRect(const QRect &wanted, Qt::Edges dragged, const SnapLines &candidates, int threshold)
{
    Span h{wanted.x(), wanted.width()};
    Span v{wanted.y(), wanted.height()};
    SnapResult result;
    result.xGuide = snapAxis(h, dragged.testFlag(Qt::LeftEdge), dragged.testFlag(Qt::RightEdge),
                             candidates.xs, threshold);
    result.yGuide = snapAxis(v, dragged.testFlag(Qt::TopEdge), dragged.testFlag(Qt::BottomEdge),
                             candidates.ys, threshold);
    result.rect = QRect(h.start, v.start, h.length, v.length);
    return result;
}

SnapResult snapDragStep(const QRect &wanted, Qt::Edges dragged, const SnapLines &candidates, int threshold,
                        Qt::KeyboardModifiers held)
{
    if (held.testFlag(Qt::AltModifier))
        return {wanted, std::nullopt, std::nullopt};
    return snapRect(wanted, dragged, candidates, threshold);
}

} // namespace zq
