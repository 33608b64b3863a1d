#include "picture/bitmap_ops.h"

#include "picture/palette_matcher.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <vector>

namespace zq {

namespace {

constexpr QRgb opaqueWhite = 0xFFFFFFFFu;

// A span of target columns [begin, end) or rows, in 64 bits so that no rectangle overflows.
struct Span {
    int64_t begin = 0;
    int64_t end = 0;
    bool isEmpty() const { return end <= begin; }
    int count() const { return int(end - begin); }
};

Span clip(int64_t start, int64_t length, int64_t limit)
{
    return {std::max<int64_t>(start, 0), std::min<int64_t>(start + length, limit)};
}

// Writes RGB rows into a bitmap in its own format. A palette target gets one palette matcher
// for the whole operation: a picture copied into a palette has far too many colours for a
// search of the whole table per pixel.
class RgbWriter {
public:
    explicit RgbWriter(const Bitmap &target, PaletteMatcher *given = nullptr)
        : m_matcher(given)
    {
        if (target.format().hasPalette() && !m_matcher)
            m_matcher = &m_own.emplace(usablePalette(target));
    }
    void write(Bitmap &b, int y, int x, int n, const uint32_t *in)
    {
        if (!m_matcher) {
            b.writeRgbRow(y, x, n, in);
            return;
        }
        m_indices.resize(size_t(n));
        for (int i = 0; i < n; ++i)
            m_indices[size_t(i)] = uint32_t(m_matcher->nearest(in[i]));
        b.writeRawRow(y, x, n, m_indices.data());
    }

private:
    std::optional<PaletteMatcher> m_own;
    PaletteMatcher *m_matcher = nullptr;
    std::vector<uint32_t> m_indices;
};

// How pixels move between two bitmaps: stored values unchanged when both store colours alike,
// else through RGB.
class PixelPath {
public:
    PixelPath(const Bitmap &target, const Bitmap &source, PaletteMatcher *matcher)
        : m_raw(target.format().samePixelLayout(source.format()))
    {
        if (!m_raw)
            m_rgb.emplace(target, matcher);
    }
    bool raw() const { return m_raw; }
    void read(const Bitmap &b, int y, int x, int n, uint32_t *out) const
    {
        if (m_raw)
            b.readRawRow(y, x, n, out);
        else
            b.readRgbRow(y, x, n, out);
    }
    void write(Bitmap &b, int y, int x, int n, const uint32_t *in)
    {
        if (m_raw)
            b.writeRawRow(y, x, n, in);
        else
            m_rgb->write(b, y, x, n, in);
    }

private:
    bool m_raw;
    std::optional<RgbWriter> m_rgb;
};

// Which source pixels (relative to the source rectangle) make destination pixel i, for a
// source length s shown over a destination length d.
struct Group {
    int64_t begin;
    int64_t end;
};

Group groupOf(int64_t i, int64_t s, int64_t d)
{
    if (d >= s) {
        const int64_t j = i * s / d;
        return {j, j + 1};
    }
    // Source pixel j lands on destination floor(j * d / s); the group is every j that does.
    return {(i * s + d - 1) / d, ((i + 1) * s + d - 1) / d};
}

// AND-merging stored values equals AND-merging colours only where every channel has at least
// 8 bits (the colour takes a channel's top bits).
bool andWorksOnStoredValues(const BitmapFormat &f)
{
    if (f.bitsPerPixel == 24)
        return true;
    if (f.bitsPerPixel != 32)
        return false;
    for (uint32_t m : f.effectiveMasks())
        if (std::popcount(m) < 8)
            return false;
    return true;
}

// The source columns that make each visible destination column of a stretch, relative to the
// first source column used.
struct ColumnGroups {
    std::vector<int32_t> begin;
    std::vector<int32_t> end;
    int64_t first = 0; // the first source column used, relative to the source rectangle
    int span = 0;      // how many source columns are used

    // One destination row from the merged source row: each column the AND of its group when
    // the width shrinks, else its one source pixel.
    void merge(const std::vector<uint32_t> &merged, bool widthShrinks, std::vector<uint32_t> &out) const
    {
        const int n = int(out.size());
        if (widthShrinks) {
            for (int i = 0; i < n; ++i) {
                uint32_t v = merged[size_t(begin[size_t(i)])];
                for (int32_t j = begin[size_t(i)] + 1; j < end[size_t(i)]; ++j)
                    v &= merged[size_t(j)];
                out[size_t(i)] = v;
            }
        } else {
            for (int i = 0; i < n; ++i)
                out[size_t(i)] = merged[size_t(begin[size_t(i)])];
        }
    }
};

// The column groups of the visible destination columns cols of a rectangle that starts at
// column left, for a source width sw shown over a destination width dw.
ColumnGroups columnGroups(const Span &cols, int64_t left, int64_t sw, int64_t dw)
{
    const auto columns = static_cast<size_t>(cols.count());
    ColumnGroups groups{std::vector<int32_t>(columns), std::vector<int32_t>(columns)};
    groups.first = groupOf(cols.begin - left, sw, dw).begin;
    const int64_t lastColumn = groupOf(cols.end - 1 - left, sw, dw).end;
    for (int i = 0; i < cols.count(); ++i) {
        const Group g = groupOf(cols.begin - left + i, sw, dw);
        groups.begin[size_t(i)] = int32_t(g.begin - groups.first);
        groups.end[size_t(i)] = int32_t(g.end - groups.first);
    }
    groups.span = int(lastColumn - groups.first);
    return groups;
}

// Reads the used columns of a stretch's source rows, stored values or RGB, with white where a
// row or column lies outside the source bitmap.
class SourceRows {
public:
    // Source bitmap columns [firstColumn, firstColumn + span).
    SourceRows(const Bitmap &source, int64_t firstColumn, int span, bool raw)
        : m_source(source)
        , m_sx0(firstColumn)
        , m_span(span)
        , m_inside{std::max<int64_t>(firstColumn, 0), std::min<int64_t>(firstColumn + span, source.width())}
        , m_raw(raw)
        , m_fillValue(raw ? source.encode(qRgb(255, 255, 255)) : opaqueWhite)
    {}

    void load(int64_t sy, uint32_t *dst) const
    {
        if (sy < 0 || sy >= m_source.height() || m_inside.isEmpty()) {
            std::fill(dst, dst + m_span, m_fillValue);
            return;
        }
        std::fill(dst, dst + (m_inside.begin - m_sx0), m_fillValue);
        std::fill(dst + (m_inside.end - m_sx0), dst + m_span, m_fillValue);
        if (m_raw)
            m_source.readRawRow(int(sy), int(m_inside.begin), m_inside.count(),
                                dst + (m_inside.begin - m_sx0));
        else
            m_source.readRgbRow(int(sy), int(m_inside.begin), m_inside.count(),
                                dst + (m_inside.begin - m_sx0));
    }

    // The AND of source rows [begin, end) into merged; line is room for one more row.
    void merge(int64_t begin, int64_t end, std::vector<uint32_t> &merged, std::vector<uint32_t> &line) const
    {
        load(begin, merged.data());
        for (int64_t sy = begin + 1; sy < end; ++sy) {
            load(sy, line.data());
            for (int i = 0; i < m_span; ++i)
                merged[size_t(i)] &= line[size_t(i)];
        }
    }

private:
    const Bitmap &m_source;
    int64_t m_sx0;
    int m_span;
    Span m_inside;
    bool m_raw;
    uint32_t m_fillValue;
};

} // namespace

void copyRect(Bitmap &target, QPoint to, const Bitmap &source, const QRect &from, PaletteMatcher *matcher)
{
    copyRect(target, to, source, from.topLeft(), from.size(), matcher);
}

void copyRect(Bitmap &target, QPoint to, const Bitmap &source, QPoint fromCorner, QSize size,
              PaletteMatcher *matcher)
{
    if (size.width() <= 0 || size.height() <= 0)
        return;
    if (&target == &source) {
        const Bitmap copy = source;
        copyRect(target, to, copy, fromCorner, size, matcher);
        return;
    }
    const Span rows = clip(to.y(), size.height(), target.height());
    const Span cols = clip(to.x(), size.width(), target.width());
    if (rows.isEmpty() || cols.isEmpty())
        return;
    // Source position = target position + shift.
    const int64_t dx = int64_t(fromCorner.x()) - to.x();
    const int64_t dy = int64_t(fromCorner.y()) - to.y();
    PixelPath path(target, source, matcher);
    const uint32_t targetWhite = target.encode(qRgb(255, 255, 255));
    const Span inside{std::max(cols.begin, -dx), std::min(cols.end, source.width() - dx)};
    const int bpp = target.format().bitsPerPixel;
    std::vector<uint32_t> buffer(size_t(std::max(inside.count(), 0)));

    for (int64_t y = rows.begin; y < rows.end; ++y) {
        const int64_t sy = y + dy;
        if (sy < 0 || sy >= source.height() || inside.isEmpty()) {
            target.fillRaw(int(y), int(cols.begin), cols.count(), targetWhite);
            continue;
        }
        target.fillRaw(int(y), int(cols.begin), int(inside.begin - cols.begin), targetWhite);
        target.fillRaw(int(y), int(inside.end), int(cols.end - inside.end), targetWhite);
        const int x = int(inside.begin);
        const int sx = int(inside.begin + dx);
        if (path.raw() && bpp >= 8) {
            const size_t bytes = size_t(bpp / 8);
            std::memcpy(target.row(int(y)) + x * bytes, source.row(int(sy)) + sx * bytes,
                        size_t(inside.count()) * bytes);
        } else {
            path.read(source, int(sy), sx, inside.count(), buffer.data());
            path.write(target, int(y), x, inside.count(), buffer.data());
        }
    }
}

void stretchRect(Bitmap &target, const QRect &to, const Bitmap &source, const QRect &from)
{
    if (to.width() <= 0 || to.height() <= 0 || from.width() <= 0 || from.height() <= 0)
        return;
    if (&target == &source) {
        const Bitmap copy = source;
        stretchRect(target, to, copy, from);
        return;
    }
    const Span rows = clip(to.y(), to.height(), target.height());
    const Span cols = clip(to.x(), to.width(), target.width());
    if (rows.isEmpty() || cols.isEmpty())
        return;
    const int64_t sw = from.width(), sh = from.height();
    const int64_t dw = to.width(), dh = to.height();
    const bool shrinking = dw < sw || dh < sh;

    // Stored values move unconverted when the formats agree and an AND of them is an AND of colours.
    const bool sameLayout = target.format().samePixelLayout(source.format());
    const bool raw = sameLayout && (!shrinking || andWorksOnStoredValues(source.format()));

    const ColumnGroups groups = columnGroups(cols, to.x(), sw, dw);
    const SourceRows sourceRows(source, int64_t(from.x()) + groups.first, groups.span, raw);

    std::optional<RgbWriter> rgbWriter;
    if (!raw)
        rgbWriter.emplace(target);
    const int n = cols.count();
    const auto spanSize = static_cast<size_t>(groups.span);
    std::vector<uint32_t> merged(spanSize), line(spanSize), out(static_cast<size_t>(n));

    const bool widthShrinks = dw < sw;
    const int bpp = target.format().bitsPerPixel;
    Group previous{-1, -1};
    int64_t previousRow = -1;
    for (int64_t y = rows.begin; y < rows.end; ++y) {
        const Group g = groupOf(y - to.y(), sh, dh);
        if (g.begin == previous.begin && g.end == previous.end && bpp >= 8) {
            // Enlarging: the same source row again.
            const size_t bytes = size_t(bpp / 8);
            std::memcpy(target.row(int(y)) + cols.begin * bytes,
                        target.row(int(previousRow)) + cols.begin * bytes, size_t(n) * bytes);
            previousRow = y;
            continue;
        }
        if (g.begin != previous.begin || g.end != previous.end) {
            sourceRows.merge(from.y() + g.begin, from.y() + g.end, merged, line);
            groups.merge(merged, widthShrinks, out);
            previous = g;
        }
        if (raw)
            target.writeRawRow(int(y), int(cols.begin), n, out.data());
        else
            rgbWriter->write(target, int(y), int(cols.begin), n, out.data());
        previousRow = y;
    }
}

} // namespace zq
