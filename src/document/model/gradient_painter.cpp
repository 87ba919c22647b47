#include "document/model/gradient_painter.h"

#include "document/model/raster_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

namespace quor {

using raster::AngleRange;
using raster::Ellipse;
using raster::HalfWidths;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double TwoPi = 2 * Pi;

// Smallest c >= 0 with c * c >= v.
long long ceilSqrt(long long v)
{
    if (v <= 0)
        return 0;
    auto c = static_cast<long long>(std::sqrt(double(v)));
    while (c * c < v)
        ++c;
    while (c > 0 && (c - 1) * (c - 1) >= v)
        --c;
    return c;
}

// The angles an arc outline covers, as the surface's circle call reads them.
AngleRange arcRange(std::optional<double> start, std::optional<double> end)
{
    return AngleRange::between(std::abs(start.value_or(0)), std::abs(end.value_or(TwoPi)));
}

// atan2 to within about 1e-5 radians, in [0, 2pi): enough to order pixels
// by their direction, at a fraction of the cost.
double roughAngle(double u, double v)
{
    const double au = std::abs(u), av = std::abs(v);
    if (au == 0 && av == 0)
        return 0;
    const double a = std::min(au, av) / std::max(au, av), s = a * a;
    double r = ((-0.0464964749 * s + 0.15931422) * s - 0.327622764) * s * a + a;
    if (av > au)
        r = Pi / 2 - r;
    if (u < 0)
        r = Pi - r;
    if (v < 0)
        r = TwoPi - r;
    return r;
}

// The arcs of a sweep worked out pixel by pixel. A pixel lies on the
// outline of a few rings at most (one for a thin pen); for each, the steps
// whose arc angles hold its direction, as the surface measures that
// direction on that ring's ellipse, reach it, each with all the radii that
// round to that ring. The effects combine in drawing order: step by step,
// and within a step from the inner ring out.
class SweepPixels
{
public:
    SweepPixels(const CanvasSurface &surface, const GradientSweep &sweep);

    // The pixels of the band on the bitmap, row by row.
    template <typename Visit>
    void forEachPixel(Visit visit) const;
    // Roughly the step a pixel's direction lies in, for the drawing order.
    std::size_t roughStep(int x, int y) const;
    // Combines the pixel with what reaches it; false when nothing does.
    bool paint(int x, int y, QRgb &pixel);

private:
    struct Part // directions counting down from top one step at a time
    {
        double top, along; // along: how far clockwise of the first direction
        std::size_t begin, count;
    };
    struct Hit
    {
        std::size_t step;
        long long ring;
        bool operator<(const Hit &h) const
        {
            return step != h.step ? step < h.step : ring < h.ring;
        }
    };

    int ringCount(long long ring) const
    {
        return ring < m_firstRing || ring > m_lastRing ? 0 : m_ringCounts[ring - m_firstRing];
    }
    template <typename Take>
    void forEachStep(double angle, Take take);
    bool onBoundary(long long dx, long long dy, long long ring) const;
    bool dashedOn(std::size_t step, const Ellipse &e, int x, int y, double angle);
    long long boundaryCount(int ring);

    int m_cx, m_cy;
    QRect m_clip;
    int m_width;
    LineStyle m_style;
    int m_outside, m_inside;
    bool m_dashed;
    long long m_firstRing = 0, m_lastRing = -1;
    std::vector<int> m_ringCounts;       // radii that round to each ring
    std::vector<long long> m_boundaries; // each ring's outline pixels, for dashes
    double m_stepAngle, m_perStep;
    int m_reach; // how many steps either side a direction may also be in
    std::vector<AngleRange> m_ranges;
    std::vector<PenEffect> m_effects;
    std::vector<Part> m_parts;
    std::vector<Hit> m_hits;
};

SweepPixels::SweepPixels(const CanvasSurface &surface, const GradientSweep &sweep)
    : m_cx(surface.toPixelX(sweep.cx))
    , m_cy(surface.toPixelY(sweep.cy))
    , m_clip(surface.image().rect())
    , m_width(surface.drawWidth())
    , m_style(surface.lineStyle())
    , m_dashed(m_width == 1 && raster::isDashed(m_style))
    , m_stepAngle(sweep.stepAngle)
    , m_perStep(1 / sweep.stepAngle)
{
    const raster::PenBand pen(m_width, m_style);
    m_outside = pen.outside;
    m_inside = pen.inside;
    for (std::size_t i = 0; i < sweep.radii; ++i) {
        const long long ring = surface.circleSemiAxes(sweep.firstRadius + double(i), 1).width();
        if (m_ringCounts.empty())
            m_firstRing = ring;
        m_lastRing = ring;
        m_ringCounts.resize(std::size_t(ring - m_firstRing + 1));
        ++m_ringCounts.back();
    }
    m_boundaries.assign(m_ringCounts.size(), -1);

    const DrawMode mode = surface.drawMode();
    for (std::size_t i = 0; i < sweep.directions.size(); ++i) {
        const double to = sweep.directions[i];
        m_ranges.push_back(arcRange(to - m_stepAngle, to));
        m_effects.push_back(PenEffect::of(mode, sweep.colours[i]));
        if (i == 0 || to > sweep.directions[i - 1]) {
            const double along =
                i == 0 ? 0 : std::fmod(sweep.directions[0] - to + 2 * TwoPi, TwoPi);
            m_parts.push_back({to, along, i, 0});
        }
        ++m_parts.back().count;
    }
    m_reach = 1 + int(std::ceil(2 * AngleRange::EdgeSlack / m_stepAngle));
}

template <typename Visit>
void SweepPixels::forEachPixel(Visit visit) const
{
    // Out to the outermost ring's outline, leaving the inside of the
    // innermost one.
    const int outer = int(m_lastRing + (m_width > 1 ? m_outside : 0));
    const HalfWidths outerRows(Ellipse{m_cx, m_cy, outer, outer});
    const int hole = int(m_width > 1 ? m_firstRing - m_inside - 1 : m_firstRing);
    const HalfWidths holeRows(Ellipse{m_cx, m_cy, hole, hole});
    const int top = std::max(-outer, m_clip.top() - m_cy);
    const int bottom = std::min(outer, m_clip.bottom() - m_cy);
    for (int dy = top; dy <= bottom; ++dy) {
        const int h = outerRows(dy);
        const int inside =
            m_width > 1 ? holeRows(dy) : std::max(-1, raster::boundaryFrom(holeRows, dy) - 1);
        const auto run = [&](int x0, int x1) {
            x0 = std::max(x0, m_clip.left());
            x1 = std::min(x1, m_clip.right());
            for (int x = x0; x <= x1; ++x)
                visit(x, m_cy + dy);
        };
        if (inside < 0) {
            run(m_cx - h, m_cx + h);
        } else {
            run(m_cx - h, m_cx - inside - 1);
            run(m_cx + inside + 1, m_cx + h);
        }
    }
}

std::size_t SweepPixels::roughStep(int x, int y) const
{
    double along = m_parts.front().top - roughAngle(x - m_cx, m_cy - y);
    if (along < 0)
        along += TwoPi;
    const Part *part = &m_parts.front();
    for (const Part &p : m_parts)
        if (p.along <= along)
            part = &p;
    const double into = (along - part->along) / m_stepAngle;
    const std::size_t last = m_parts.back().begin + m_parts.back().count - 1;
    if (part == &m_parts.back() && into >= double(part->count)) {
        // Past the end: nearer the end or, round the circle, the start.
        const double past = along - part->along - double(part->count) * m_stepAngle;
        return past < TwoPi - along ? last : 0;
    }
    return part->begin + std::min(part->count - 1, std::size_t(std::max(0.0, into)));
}

template <typename Take>
void SweepPixels::forEachStep(double angle, Take take)
{
    // The step holding the direction, and its neighbours, since the arcs
    // reach a hair past their ends. Parts come in step order, and a turn
    // more (minus 2pi) lies further on within a part.
    for (const Part &p : m_parts)
        for (double shift : {TwoPi, 0.0, -TwoPi}) {
            const double at = std::floor((p.top - angle - shift) * m_perStep);
            if (!(at >= -m_reach && at < double(p.count) + m_reach))
                continue;
            const auto centre = static_cast<long long>(at);
            const long long first = std::max(0LL, centre - m_reach);
            const long long last = std::min(static_cast<long long>(p.count) - 1, centre + m_reach);
            for (long long j = first; j <= last; ++j)
                if (m_ranges[p.begin + std::size_t(j)].contains(angle))
                    take(p.begin + std::size_t(j));
        }
}

bool SweepPixels::onBoundary(long long dx, long long dy, long long ring) const
{
    const long long d2 = dx * dx + dy * dy;
    const long long reach = d2 + 2 * std::max(std::llabs(dx), std::llabs(dy)) + 1;
    return d2 <= ring * ring && reach > ring * ring;
}

long long SweepPixels::boundaryCount(int ring)
{
    long long &count = m_boundaries[std::size_t(ring - m_firstRing)];
    if (count >= 0)
        return count;
    const bool huge = ring > raster::DashRankLimit;
    const HalfWidths width(Ellipse{m_cx, m_cy, ring, ring});
    const int top = huge ? std::max(-ring, m_clip.top() - m_cy) : -ring;
    const int bottom = huge ? std::min(ring, m_clip.bottom() - m_cy) : ring;
    count = 0;
    const auto run = [&](long long x0, long long x1) {
        if (huge) {
            x0 = std::max<long long>(x0, m_clip.left());
            x1 = std::min<long long>(x1, m_clip.right());
        }
        count += std::max(0LL, x1 - x0 + 1);
    };
    for (int dy = top; dy <= bottom; ++dy) {
        const int h = width(dy), from = raster::boundaryFrom(width, dy);
        if (h < 0)
            continue;
        if (from == 0) {
            run(m_cx - h, m_cx + h);
        } else {
            run(m_cx - h, m_cx - from);
            run(m_cx + from, m_cx + h);
        }
    }
    return count;
}

bool SweepPixels::dashedOn(std::size_t step, const Ellipse &e, int x, int y, double angle)
{
    // A dashed outline counts its pixels in angle order from the arc's
    // start round the whole ring. A step's arc is a pixel or two wide, so
    // the pixels counted before this one (just past the start) or after it
    // (a hair before the start, counted last) all lie next to it.
    const AngleRange origin{m_ranges[step].start, TwoPi};
    const double at = origin.offset(angle);
    const bool early = at < Pi;
    const bool huge = e.a > raster::DashRankLimit;
    long long others = 0;
    for (int qy = y - 2; qy <= y + 2; ++qy)
        for (int qx = x - 2; qx <= x + 2; ++qx) {
            if ((qx == x && qy == y) || (huge && !m_clip.contains(qx, qy))
                || !onBoundary(qx - m_cx, qy - m_cy, e.a))
                continue;
            const double q = origin.offset(e.angle(qx, qy));
            const bool before = q != at ? q < at : (qy != y ? qy < y : qx < x);
            others += early == before;
        }
    const long long rank = early ? others : boundaryCount(e.a) - 1 - others;
    return raster::dashOn(m_style, rank);
}

bool SweepPixels::paint(int x, int y, QRgb &pixel)
{
    const long long dx = x - m_cx, dy = y - m_cy;
    const long long d2 = dx * dx + dy * dy, ring = ceilSqrt(d2);
    // The rings whose outline holds the pixel: a thin pen's is the ring's
    // edge, a wide pen's a band about it.
    long long first = ring - m_outside, last = ring + m_inside;
    if (m_width == 1) {
        first = ring;
        last = ceilSqrt(d2 + 2 * std::max(std::llabs(dx), std::llabs(dy)) + 1) - 1;
    }
    first = std::max(first, m_firstRing);
    last = std::min(last, m_lastRing);
    m_hits.clear();
    bool onRing = false;
    for (long long k = first; k <= last; ++k) {
        if (ringCount(k) == 0)
            continue;
        onRing = true;
        const Ellipse e{m_cx, m_cy, int(k), int(k)};
        const double angle = e.angle(x, y);
        forEachStep(angle, [&](std::size_t step) {
            if (!m_dashed || dashedOn(step, e, x, y, angle))
                m_hits.push_back({step, k});
        });
    }
    if (!m_hits.empty()) {
        if (last > first) // several rings: into step order
            std::sort(m_hits.begin(), m_hits.end());
        PenEffect effect;
        for (const Hit &h : m_hits)
            effect = effect.then(m_effects[h.step].repeated(ringCount(h.ring)));
        pixel = effect.on(pixel);
        return true;
    }
    if (onRing)
        return false; // outside the sweep, or between dashes
    // Between rings: the step its direction lies in.
    const int k = int(std::clamp(ring, m_firstRing, m_lastRing));
    std::optional<std::size_t> lastStep;
    forEachStep(Ellipse{m_cx, m_cy, k, k}.angle(x, y), [&](std::size_t step) { lastStep = step; });
    if (!lastStep)
        return false;
    pixel = m_effects[*lastStep].on(pixel);
    return true;
}

} // namespace

// --- colours and loops -------------------------------------------------------

Colour mixColour(Colour from, Colour to, double t)
{
    if (std::isnan(t))
        t = 0;
    const auto channel = [t](int a, int b) {
        return std::clamp(roundHalfEven(a + t * (b - a)), 0, 255);
    };
    return rgbColour(channel(redOf(from), redOf(to)), channel(greenOf(from), greenOf(to)),
                     channel(blueOf(from), blueOf(to)));
}

std::size_t loopCount(double from, double to, int step)
{
    // Far beyond any picture's size: no outlines rather than an endless run.
    constexpr double Longest = 1 << 26;
    const double span = step > 0 ? to - from : from - to;
    if (!(span >= 0) || span > Longest)
        return 0;
    // As the loop itself tests each value, whatever the rounding.
    const auto inside = [&](std::size_t i) {
        const double v = from + step * double(i);
        return step > 0 ? v <= to : v >= to;
    };
    auto n = std::size_t(std::floor(span)) + 1;
    while (n > 0 && !inside(n - 1))
        --n;
    while (inside(n))
        ++n;
    return n;
}

// --- the outlines ------------------------------------------------------------

void drawOutline(CanvasSurface &surface, const GradientOutline &o)
{
    switch (o.shape) {
    case GradientOutline::Shape::Circle:
        surface.circle(o.x1, o.y1, o.radius, o.colour, o.start, o.end, o.aspect);
        break;
    case GradientOutline::Shape::Segment:
        surface.line(o.x1, o.y1, o.x2, o.y2, o.colour);
        break;
    case GradientOutline::Shape::Box:
        surface.line(o.x1, o.y1, o.x2, o.y2, o.colour, LineKind::Box);
        break;
    }
}

std::size_t GradientRings::size() const
{
    std::size_t n = 0;
    for (const Pass &p : passes)
        n += p.count;
    return n;
}

GradientOutline GradientRings::operator[](std::size_t i) const
{
    std::size_t pass = 0;
    while (pass + 1 < passes.size() && i >= passes[pass].count)
        i -= passes[pass++].count;
    const Pass &p = passes[pass];
    GradientOutline o;
    o.x1 = cx;
    o.y1 = cy;
    o.radius = p.first + double(i);
    o.aspect = aspect;
    o.start = start;
    o.end = end;
    o.colour = mixColour(p.from, p.to, (o.radius - p.origin) / p.length);
    return o;
}

Colour GradientRings::colourBetween(double radius) const
{
    const Pass *pass = nullptr;
    for (const Pass &p : passes)
        if (p.count > 0 && (!pass || p.first <= radius))
            pass = &p;
    if (!pass)
        return 0;
    const double t = (radius - pass->origin) / pass->length;
    return mixColour(pass->from, pass->to, std::clamp(t, 0.0, 1.0));
}

GradientOutline GradientSweep::outline(std::size_t step, std::size_t radius) const
{
    GradientOutline o;
    o.x1 = cx;
    o.y1 = cy;
    o.radius = firstRadius + double(radius);
    o.start = directions[step] - stepAngle;
    o.end = directions[step];
    o.colour = colours[step];
    return o;
}

// --- painting ------------------------------------------------------------------

GradientPainter::GradientPainter(CanvasSurface &surface, GradientPace pace)
    : m_surface(surface)
    , m_pace(std::move(pace))
{
}

// The pixels a surface call covers depend only on these (and on the pen
// styles, which do not change during a gradient). Mirrors the surface's
// rule for positions and circle radii.
GradientPainter::PixelKey GradientPainter::pixelKey(const GradientOutline &o) const
{
    PixelKey k;
    k.shape = o.shape;
    if (o.shape != GradientOutline::Shape::Circle) {
        const int x1 = m_surface.toPixelX(o.x1), y1 = m_surface.toPixelY(o.y1);
        const int x2 = m_surface.toPixelX(o.x2), y2 = m_surface.toPixelY(o.y2);
        if (o.shape == GradientOutline::Shape::Box) { // only the spanned box counts
            k.v[0] = std::min(x1, x2);
            k.v[1] = std::min(y1, y2);
            k.v[2] = std::max(x1, x2);
            k.v[3] = std::max(y1, y2);
        } else {
            k.v[0] = x1;
            k.v[1] = y1;
            k.v[2] = x2;
            k.v[3] = y2;
        }
        return k;
    }
    const QSize axes = m_surface.circleSemiAxes(o.radius, o.aspect);
    k.v[0] = m_surface.toPixelX(o.x1);
    k.v[1] = m_surface.toPixelY(o.y1);
    k.v[2] = axes.width();
    k.v[3] = axes.height();
    k.start = o.start;
    k.end = o.end;
    return k;
}

// Outlines whose pixels take the pen alone: lines, unfilled boxes and
// circles, and arcs without radii (which are never filled). A filled one
// would need its own run for the fill.
bool GradientPainter::paintsPenOnly(const GradientOutline &o) const
{
    if (m_surface.fillStyle() == FillStyle::Transparent || o.shape == GradientOutline::Shape::Segment)
        return true;
    const auto plain = [](const std::optional<double> &a) { return !a || !(*a < 0); };
    return o.shape == GradientOutline::Shape::Circle && (o.start || o.end) && plain(o.start)
        && plain(o.end);
}

void GradientPainter::outline(const GradientOutline &o)
{
    ++m_outlines;
    if (!paintsPenOnly(o)) {
        flush();
        drawOutline(m_surface, o);
        return;
    }
    const PixelKey key = pixelKey(o);
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

bool GradientPainter::pause()
{
    if (!m_pace.due || !m_pace.due())
        return true;
    flush();
    return !m_pace.show || m_pace.show();
}

void GradientPainter::flush()
{
    if (m_count > 0) {
        const int count = m_count;
        m_count = 0;
        GradientOutline o = m_last;
        if (count == 1) {
            drawOutline(m_surface, o);
        } else {
            drawWithEffect(m_surface, m_effect, [&](Colour pen) {
                o.colour = pen;
                drawOutline(m_surface, o);
            });
        }
        if (m_rings) {
            const QSize ring(m_key.v[2], m_key.v[3]);
            if (m_lastRing && *m_lastRing != ring)
                paintHoles(*m_lastRing, ring);
            m_lastRing = ring;
        }
    }
    reportChanged();
}

std::size_t GradientPainter::paint(const GradientRings &rings, std::size_t first)
{
    flush();
    const std::size_t n = rings.size();
    if (first >= n)
        return 0;
    // Filled ellipses leave nothing between them, nor does a pen that
    // draws nothing.
    const bool arcs = rings.start || rings.end;
    const bool holes = m_surface.lineStyle() != LineStyle::Invisible
                       && (arcs || m_surface.fillStyle() == FillStyle::Transparent);
    m_rings = holes ? &rings : nullptr;
    m_lastRing.reset();
    if (first > 0) { // the ring before, drawn earlier with its holes
        const PixelKey before = pixelKey(rings[first - 1]);
        m_lastRing = QSize(before.v[2], before.v[3]);
    }
    for (std::size_t i = first; i < n; ++i) {
        outline(rings[i]);
        if (!pause()) {
            m_rings = nullptr;
            return i + 1 - first;
        }
    }
    flush();
    m_rings = nullptr;
    return n - first;
}

// The pixels that enter the figure with this ring but are not on its
// outline: inside a thin pen's outline, or inside a wide pen's inner edge,
// and outside the outline of the ring before (`inside`).
void GradientPainter::paintHoles(QSize inside, QSize ring)
{
    QImage &image = m_surface.editImage();
    const int cx = m_key.v[0], cy = m_key.v[1];
    const Ellipse e{cx, cy, ring.width(), ring.height()};
    const Ellipse before{cx, cy, inside.width(), inside.height()};
    const bool thin = m_surface.drawWidth() == 1;
    const raster::PenBand pen(m_surface.drawWidth(), m_surface.lineStyle());
    const HalfWidths ringRows(thin ? e : e.grown(-pen.inside - 1));
    const HalfWidths beforeRows(thin ? before : before.grown(pen.outside));
    const bool arc = m_rings->start || m_rings->end;
    const AngleRange range = arcRange(m_rings->start, m_rings->end);
    const double unit = m_surface.unit();
    double ratio = std::abs(m_rings->aspect);
    if (std::isnan(ratio))
        ratio = 1;
    const DrawMode mode = m_surface.drawMode();

    const int top = std::max(-e.b, -cy), bottom = std::min(e.b, image.height() - 1 - cy);
    for (int dy = top; dy <= bottom; ++dy) {
        const int hi = thin ? raster::boundaryFrom(ringRows, dy) - 1 : ringRows(dy);
        const int lo = beforeRows(dy) + 1;
        if (hi < lo)
            continue;
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(cy + dy));
        const auto run = [&](int x0, int x1) {
            x0 = std::max(x0, 0);
            x1 = std::min(x1, image.width() - 1);
            for (int x = x0; x <= x1; ++x) {
                if (arc && !range.contains(e.angle(x, cy + dy)))
                    continue;
                // The radius of the ellipse of the figure's shape through
                // the pixel.
                const double u = x - cx, v = dy;
                const double radius = unit
                    * (ratio < 1 ? std::sqrt(u * u + v * v / (ratio * ratio))
                                 : std::sqrt(u * u * ratio * ratio + v * v));
                row[x] = PenEffect::of(mode, m_rings->colourBetween(radius)).on(row[x]);
                changed(x, cy + dy);
            }
        };
        if (lo == 0) {
            run(cx - hi, cx + hi);
        } else {
            run(cx - hi, cx - lo);
            run(cx + lo, cx + hi);
        }
    }
}

std::size_t GradientPainter::paint(const GradientSweep &sweep)
{
    flush();
    const std::size_t steps = sweep.directions.size(), total = sweep.size();
    if (total == 0)
        return 0;
    m_outlines += static_cast<long long>(total);
    m_surface.setCurrentX(sweep.cx); // where the circle calls leave them
    m_surface.setCurrentY(sweep.cy);
    if (m_surface.lineStyle() == LineStyle::Invisible)
        return total; // the pen draws nothing

    // The band's pixels in drawing order: by the step their direction lies
    // in, so that the band grows along the arc as the steps go.
    SweepPixels pixels(m_surface, sweep);
    std::vector<std::uint32_t> stepOf, order;
    std::vector<std::size_t> starts(steps + 1, 0);
    bool going = true;
    int lastRow = -1;
    pixels.forEachPixel([&](int x, int y) {
        if (y != lastRow && going) { // the program stays live while the order is found
            lastRow = y;
            going = pause();
        }
        const std::size_t step = pixels.roughStep(x, y);
        stepOf.push_back(std::uint32_t(step));
        ++starts[step + 1];
    });
    if (!going)
        return 0;
    for (std::size_t i = 0; i < steps; ++i)
        starts[i + 1] += starts[i];
    order.resize(stepOf.size());
    const auto width = std::uint32_t(m_surface.widthPx());
    {
        std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
        std::size_t e = 0;
        pixels.forEachPixel([&](int x, int y) {
            order[next[stepOf[e++]]++] = std::uint32_t(y) * width + std::uint32_t(x);
        });
    }
    stepOf = {};

    const std::size_t stride = std::size_t(m_surface.image().bytesPerLine()) / sizeof(QRgb);
    for (std::size_t step = 0; step < steps; ++step) {
        // Asked anew after every pause: a copy or a snapshot taken meanwhile
        // reads the bitmap until it is written.
        auto *bits = reinterpret_cast<QRgb *>(m_surface.editImage().bits());
        for (std::size_t i = starts[step]; i < starts[step + 1]; ++i) {
            const int x = int(order[i] % width), y = int(order[i] / width);
            if (pixels.paint(x, y, bits[std::size_t(y) * stride + std::size_t(x)]))
                changed(x, y);
        }
        if (!pause())
            return (step + 1) * sweep.radii;
    }
    reportChanged();
    return total;
}

void GradientPainter::changed(int x, int y)
{
    if (m_right < m_left) {
        m_left = m_right = x;
        m_top = m_bottom = y;
        return;
    }
    m_left = std::min(m_left, x);
    m_right = std::max(m_right, x);
    m_top = std::min(m_top, y);
    m_bottom = std::max(m_bottom, y);
}

void GradientPainter::reportChanged()
{
    if (m_right < m_left)
        return;
    m_surface.reportChanged(QRect(QPoint(m_left, m_top), QPoint(m_right, m_bottom)));
    m_left = 0;
    m_right = -1;
}

} // namespace quor
