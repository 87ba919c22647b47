// Pixel sets as row spans. Every figure is built as one of these before a
// single pixel is written, so overlapping pieces (a wide line's caps, an arc's
// radius lines, a box's fill and outline) can be merged or subtracted and
// each pixel is combined with the pen exactly once.
#pragma once

#include <QRect>

#include <vector>

namespace quor::raster {

// Pixels x0..x1 (inclusive) of row y.
struct Span
{
    int y, x0, x1;
};

// A pixel set kept inside a clip rectangle (the bitmap): nothing outside it
// is ever stored, so figures far larger than the bitmap stay cheap.
class SpanList
{
public:
    explicit SpanList(const QRect &clip);

    const QRect &clip() const { return m_clip; }
    bool rowVisible(int y) const { return y >= m_top && y <= m_bottom; }

    void add(int y, int x0, int x1)
    {
        if (!rowVisible(y))
            return;
        x0 = x0 < m_left ? m_left : x0;
        x1 = x1 > m_right ? m_right : x1;
        if (x0 <= x1)
            m_spans.push_back({y, x0, x1});
    }
    // Adds one pixel, extending the previous span when it touches it, so
    // pixel-by-pixel figures (lines, dashes) stay compact.
    void addPixel(int x, int y);
    void addRect(const QRect &r);

    // Sorts and merges so that no pixel is listed twice. The set operations
    // below expect normalized inputs and give normalized results.
    void normalize();

    bool empty() const { return m_spans.empty(); }
    const std::vector<Span> &spans() const { return m_spans; }
    // The bounding box, as of the last normalize().
    const QRect &bounds() const { return m_bounds; }

    SpanList minus(const SpanList &other) const;

    // The pixels keep(x, y) accepts, in order.
    template <typename Keep>
    SpanList filtered(Keep keep) const
    {
        SpanList out(m_clip);
        for (const Span &s : m_spans)
            for (int x = s.x0; x <= s.x1; ++x)
                if (keep(x, s.y))
                    out.addPixel(x, s.y);
        return out;
    }

private:
    QRect m_clip;
    int m_left, m_top, m_right, m_bottom;
    std::vector<Span> m_spans;
    QRect m_bounds;
};

} // namespace quor::raster
