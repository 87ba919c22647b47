#include "effects/gradient_fill.h"

#include <algorithm>
#include <cmath>

namespace quor::effects {

int gradientPenWidth(GradientStyle style, int paletteWidth)
{
    switch (style) {
    case GradientStyle::OneWayCircle:
        return paletteWidth;
    case GradientStyle::TwoWayCircle:
        return 2;
    default:
        return 1;
    }
}

// --- the outlines ---------------------------------------------------------------

GradientOutlines::GradientOutlines(const GradientFill &fill) : m_fill(fill)
{
    if (m_fill.angle < 0 || m_fill.angle >= 180)
        m_fill.angle = 0; // as the angle box has it
    const double w = fill.width, h = fill.height;
    if (w > 0 && h > 0 && std::isfinite(w) && std::isfinite(h))
        setUp();
}

void GradientOutlines::setUp()
{
    const double w = m_fill.width, h = m_fill.height, frame = m_fill.frameWidth;
    const auto loop = [this](int pass, double from, double to, int step) {
        m_passes[pass] = {from, step, loopCount(from, to, step)};
    };
    switch (m_fill.style) {
    case GradientStyle::OneWayCircle:
    case GradientStyle::TwoWayCircle: {
        // Radii along the longer side; a frame narrower than that paints
        // only the ring along the edge.
        const double outer = (w >= h ? w : h) / 2;
        const double inner = outer > frame && frame != 0 ? outer - frame : 0;
        const double first = inner == 0 ? 1 : inner;
        m_rings.cx = w / 2;
        m_rings.cy = h / 2;
        m_rings.aspect = h / w;
        const Colour start = m_fill.start, end = m_fill.end;
        if (m_fill.style == GradientStyle::OneWayCircle) {
            m_rings.passes = {
                {first, loopCount(first, outer, 1), start, end, inner, outer - inner}};
        } else {
            const double mid = (outer + inner) / 2, half = (outer - inner) / 2;
            m_rings.passes = {{first, loopCount(first, mid, 1), start, end, inner, half},
                              {mid, loopCount(mid, outer, 1), end, start, mid, half}};
        }
        break;
    }
    case GradientStyle::OneWayBox:
    case GradientStyle::TwoWayBox: {
        // Distances from the edge along the longer side.
        const double halfLong = (w >= h ? w : h) / 2;
        m_outer = halfLong > frame && frame != 0 ? frame : halfLong;
        if (m_fill.style == GradientStyle::OneWayBox) {
            loop(0, m_outer, 0, -1);
        } else {
            loop(0, m_outer, m_outer / 2, -1);
            loop(1, m_outer / 2, 0, -1);
        }
        break;
    }
    case GradientStyle::OneWayAngled:
    case GradientStyle::TwoWayAngled: {
        const double theta = m_fill.angle * (4 * std::atan(1.0)) / 180;
        m_sin = std::sin(theta);
        m_cos = std::cos(theta);
        m_tan = std::tan(theta);
        const bool twoWay = m_fill.style == GradientStyle::TwoWayAngled;
        if (m_fill.angle == 0 || m_fill.angle == 90) {
            const double extent = m_fill.angle == 0 ? w : h;
            if (twoWay) {
                loop(0, 0, extent / 2, 1);
                loop(1, extent / 2 + 1, extent, 1);
            } else {
                loop(0, 0, extent, 1);
            }
        } else {
            m_span = h * m_sin + w * std::abs(m_cos);
            if (m_fill.angle < 90)
                loop(0, h, 0, -1);
            else
                loop(0, 0, h, 1);
            loop(1, 0, w, 1);
        }
        break;
    }
    }
}

std::size_t GradientOutlines::size() const
{
    return round() ? m_rings.size() : m_passes[0].count + m_passes[1].count;
}

GradientOutline GradientOutlines::operator[](std::size_t i) const
{
    if (round())
        return m_rings[i];
    const int pass = i < m_passes[0].count ? 0 : 1;
    if (pass == 1)
        i -= m_passes[0].count;
    const Pass &p = m_passes[pass];
    return outline(pass, p.first + p.step * double(i));
}

GradientOutline GradientOutlines::outline(int pass, double v) const
{
    const double w = m_fill.width, h = m_fill.height;
    const Colour start = m_fill.start, end = m_fill.end;
    GradientOutline o;
    switch (m_fill.style) {
    case GradientStyle::OneWayCircle:
    case GradientStyle::TwoWayCircle:
        break; // the rings
    case GradientStyle::OneWayBox:
    case GradientStyle::TwoWayBox: {
        // A box similar to the selection, v in from the edge along the
        // longer side.
        o.shape = GradientOutline::Shape::Box;
        if (w >= h) {
            const double k = v / (w / 2);
            o.x1 = v;
            o.y1 = h / 2 * k;
            o.x2 = w - v;
            o.y2 = h - h / 2 * k;
        } else {
            const double k = v / (h / 2);
            o.x1 = w / 2 * k;
            o.y1 = v;
            o.x2 = w - w / 2 * k;
            o.y2 = h - v;
        }
        const double l = m_outer;
        if (m_fill.style == GradientStyle::OneWayBox)
            o.colour = forwardColour(start, end, (l - v) / l);
        else if (pass == 0)
            o.colour = forwardColour(start, end, (l - v) / (l / 2));
        else
            o.colour = backwardColour(start, end, (l / 2 - v) / (l / 2));
        return o;
    }
    case GradientStyle::OneWayAngled:
    case GradientStyle::TwoWayAngled:
        break;
    }

    o.shape = GradientOutline::Shape::Segment;
    const bool twoWay = m_fill.style == GradientStyle::TwoWayAngled;
    if (m_fill.angle == 0 || m_fill.angle == 90) {
        const bool vertical = m_fill.angle == 0;
        const double extent = vertical ? w : h;
        if (vertical) {
            o.x1 = o.x2 = v;
            o.y2 = h;
        } else {
            o.y1 = o.y2 = v;
            o.x2 = w;
        }
        if (!twoWay)
            o.colour = forwardColour(start, end, v / extent);
        else if (pass == 0)
            o.colour = forwardColour(start, end, v / (extent / 2));
        else
            o.colour = backwardColour(start, end, (v - extent / 2) / (extent / 2));
        return o;
    }

    // Lines leaning the angle from the vertical, cut at the selection's
    // edges: first those starting on the left edge, then those starting on
    // the top (below 90 degrees) or bottom edge. u grows along the colour's
    // direction up to m_span.
    const double tanAbs = std::abs(m_tan), cosAbs = std::abs(m_cos);
    double dx, dy, u;
    if (pass == 0) {
        const double d = m_fill.angle < 90 ? h - v : v;
        const bool inside = d * tanAbs <= w;
        dx = inside ? d * tanAbs : w;
        dy = inside ? d : w / tanAbs;
        if (m_fill.angle > 90)
            dy = -dy;
        o.x1 = 0;
        o.y1 = v;
        u = d * m_sin;
    } else {
        const bool inside = h * tanAbs < w - v;
        dx = inside ? h * tanAbs : w - v;
        dy = inside ? h : (w - v) / tanAbs;
        if (m_fill.angle > 90)
            dy = -dy;
        o.x1 = v;
        o.y1 = m_fill.angle < 90 ? 0 : h;
        u = h * m_sin + v * cosAbs;
    }
    o.x2 = o.x1 + dx;
    o.y2 = o.y1 + dy;
    if (!twoWay)
        o.colour = forwardColour(start, end, u / m_span);
    else if (u / m_span < 0.5)
        o.colour = forwardColour(start, end, u / (m_span / 2));
    else
        o.colour = backwardColour(start, end, (u - m_span / 2) / (m_span / 2));
    return o;
}

// --- drawing ------------------------------------------------------------------

std::size_t drawOutlines(CanvasSurface &surface, const GradientOutlines &outlines,
                         std::size_t first, const GradientPace &pace)
{
    GradientPainter painter(surface, pace);
    if (outlines.round())
        return painter.paint(outlines.rings(), first);
    const std::size_t n = outlines.size();
    for (std::size_t i = first; i < n; ++i) {
        painter.outline(outlines[i]);
        if (!painter.pause())
            return i + 1 - first;
    }
    painter.flush();
    return n > first ? n - first : 0;
}

} // namespace quor::effects
