#include "effects/gradient_fill.h"

#include "document/model/pen_effect.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quor::effects {

namespace {

int channel(int from, int to, double t)
{
    return std::clamp(roundHalfEven(from + (to - from) * t), 0, 255);
}

Colour mix(Colour from, Colour to, double t)
{
    if (std::isnan(t))
        t = 0;
    return rgbColour(channel(redOf(from), redOf(to), t), channel(greenOf(from), greenOf(to), t),
                     channel(blueOf(from), blueOf(to), t));
}

// Loop v = from, from + step, ... while v stays on this side of to; both
// ends included when reached.
std::size_t loopCount(double from, double to, int step)
{
    // Far beyond any picture's size in twips: no outlines rather than an
    // endless run.
    constexpr double Longest = 1 << 26;
    const double span = step > 0 ? to - from : from - to;
    if (!(span >= 0) || span > Longest)
        return 0;
    return std::size_t(std::floor(span)) + 1;
}

// --- drawing ----------------------------------------------------------------

// What decides the pixels of a surface call, given the pen styles, which
// stay the same through a fill. Follows the surface's rules: positions to
// the pixel holding them, circle radii to the nearest pixel, halves up.
struct PixelKey
{
    FillOutline::Shape shape = FillOutline::Shape::Segment;
    std::array<int, 4> v{};

    bool operator==(const PixelKey &) const = default;
};

PixelKey pixelKey(const CanvasSurface &s, const FillOutline &o)
{
    PixelKey k;
    k.shape = o.shape;
    if (o.shape == FillOutline::Shape::Ellipse) {
        const QSize axes = s.circleSemiAxes(o.radius, o.aspect);
        k.v = {s.toPixelX(o.x1), s.toPixelY(o.y1), axes.width(), axes.height()};
        return k;
    }
    const int x1 = s.toPixelX(o.x1), y1 = s.toPixelY(o.y1);
    const int x2 = s.toPixelX(o.x2), y2 = s.toPixelY(o.y2);
    if (o.shape == FillOutline::Shape::Box) // only the box spanned counts
        k.v = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    else
        k.v = {x1, y1, x2, y2};
    return k;
}

// Collects consecutive outlines on the same pixels and draws each group
// with one surface call (two for the odd draw modes).
class Painter
{
public:
    explicit Painter(CanvasSurface &s) : m_surface(s) {}

    void add(const FillOutline &o)
    {
        // A filled figure's inside would need its own combined effect; the
        // fill draws transparent, so that is left to the plain way.
        if (o.shape != FillOutline::Shape::Segment && m_surface.fillStyle() != 1) {
            flush();
            drawOutline(m_surface, o);
            return;
        }
        const PixelKey key = pixelKey(m_surface, o);
        const PenEffect effect = PenEffect::of(m_surface.drawMode(), o.colour);
        if (m_count > 0 && key == m_key) {
            m_effect = m_effect.then(effect);
            m_last = o;
            ++m_count;
            return;
        }
        flush();
        m_key = key;
        m_effect = effect;
        m_last = o;
        m_count = 1;
    }

    void flush()
    {
        if (m_count == 0)
            return;
        const int count = m_count;
        m_count = 0;
        FillOutline o = m_last;
        if (count == 1) {
            drawOutline(m_surface, o);
            return;
        }
        drawWithEffect(m_surface, m_effect, [&](Colour pen) {
            o.colour = pen;
            drawOutline(m_surface, o);
        });
    }

private:
    CanvasSurface &m_surface;
    PixelKey m_key;
    PenEffect m_effect;
    FillOutline m_last;
    int m_count = 0;
};

} // namespace

Colour forwardColour(Colour start, Colour end, double t) { return mix(start, end, t); }
Colour backwardColour(Colour start, Colour end, double t) { return mix(end, start, t); }

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
        m_outer = (w >= h ? w : h) / 2;
        m_inner = m_outer > frame && frame != 0 ? m_outer - frame : 0;
        const double first = m_inner == 0 ? 1 : m_inner;
        if (m_fill.style == GradientStyle::OneWayCircle) {
            loop(0, first, m_outer, 1);
        } else {
            m_mid = (m_outer + m_inner) / 2;
            m_half = (m_outer - m_inner) / 2;
            loop(0, first, m_mid, 1);
            loop(1, m_mid, m_outer, 1);
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

FillOutline GradientOutlines::operator[](std::size_t i) const
{
    const int pass = i < m_passes[0].count ? 0 : 1;
    if (pass == 1)
        i -= m_passes[0].count;
    const Pass &p = m_passes[pass];
    return outline(pass, p.first + p.step * double(i));
}

FillOutline GradientOutlines::outline(int pass, double v) const
{
    const double w = m_fill.width, h = m_fill.height;
    const Colour start = m_fill.start, end = m_fill.end;
    FillOutline o;
    switch (m_fill.style) {
    case GradientStyle::OneWayCircle:
    case GradientStyle::TwoWayCircle:
        o.shape = FillOutline::Shape::Ellipse;
        o.x1 = w / 2;
        o.y1 = h / 2;
        o.radius = v;
        o.aspect = h / w;
        if (m_fill.style == GradientStyle::OneWayCircle)
            o.colour = forwardColour(start, end, (v - m_inner) / (m_outer - m_inner));
        else if (pass == 0)
            o.colour = forwardColour(start, end, (v - m_inner) / m_half);
        else
            o.colour = backwardColour(start, end, (v - m_mid) / m_half);
        return o;
    case GradientStyle::OneWayBox:
    case GradientStyle::TwoWayBox: {
        // A box similar to the selection, v in from the edge along the
        // longer side.
        o.shape = FillOutline::Shape::Box;
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

    o.shape = FillOutline::Shape::Segment;
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

void drawOutline(CanvasSurface &surface, const FillOutline &o)
{
    switch (o.shape) {
    case FillOutline::Shape::Ellipse:
        surface.circle(o.x1, o.y1, o.radius, o.colour, std::nullopt, std::nullopt, o.aspect);
        break;
    case FillOutline::Shape::Box:
        surface.line(o.x1, o.y1, o.x2, o.y2, o.colour, LineKind::Box);
        break;
    case FillOutline::Shape::Segment:
        surface.line(o.x1, o.y1, o.x2, o.y2, o.colour);
        break;
    }
}

std::size_t drawOutlines(CanvasSurface &surface, const GradientOutlines &outlines,
                         std::size_t first, const FillPace &pace)
{
    Painter painter(surface);
    const std::size_t n = outlines.size();
    for (std::size_t i = first; i < n; ++i) {
        painter.add(outlines[i]);
        if (pace.due && pace.due()) {
            painter.flush();
            if (pace.show && !pace.show())
                return i + 1 - first;
        }
    }
    painter.flush();
    return n > first ? n - first : 0;
}

} // namespace quor::effects
