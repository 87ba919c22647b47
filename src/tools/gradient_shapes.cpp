#include "tools/gradient_shapes.h"

#include "document/model/pen_effect.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace quor {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double TwoPi = 2 * Pi;

// Colour over a two-way sweep at fraction t: start at both ends, end at 1/2.
Colour twoWayColour(const GradientColours &c, double t)
{
    return t <= 0.5 ? mixColour(c.start, c.end, 2 * t) : mixColour(c.start, c.end, 2 * (1 - t));
}

GradientOutline circleOutline(double cx, double cy, double radius, double aspect, Colour colour)
{
    GradientOutline o;
    o.x1 = cx;
    o.y1 = cy;
    o.radius = radius;
    o.aspect = aspect;
    o.colour = colour;
    return o;
}

GradientOutline lineOutline(GradientOutline::Shape shape, double x1, double y1, double x2,
                            double y2, Colour colour)
{
    GradientOutline o;
    o.shape = shape;
    o.x1 = x1;
    o.y1 = y1;
    o.x2 = x2;
    o.y2 = y2;
    o.colour = colour;
    return o;
}

// Calls step(v) for v = from, from + 1, ... up to and including `to`, then
// pauses; false as soon as the sink stops. Counting from the start keeps
// long runs free of accumulated rounding.
template <typename Step>
bool runUp(double from, double to, OutlineSink &sink, Step step)
{
    for (long long i = 0;; ++i) {
        const double v = from + double(i);
        if (!(v <= to))
            return true;
        step(v);
        if (!sink.pause())
            return false;
    }
}

template <typename Step>
bool runDown(double from, double to, OutlineSink &sink, Step step)
{
    for (long long i = 0;; ++i) {
        const double v = from - double(i);
        if (!(v >= to))
            return true;
        step(v);
        if (!sink.pause())
            return false;
    }
}

// Outlines from inner radius r0 out to r: one way, or two way with the end
// colour at the middle radius. outline(radius, colour) emits one.
template <typename Outline>
bool emitRadii(double r0, double r, const GradientColours &c, bool twoWay, OutlineSink &sink,
               Outline outline)
{
    const double span = r - r0;
    if (!(span > 0))
        return true;
    if (!twoWay)
        return runUp(r0, r, sink, [&](double rho) {
            outline(rho, mixColour(c.start, c.end, (rho - r0) / span));
        });
    const double mid = (r0 + r) / 2, half = span / 2;
    return runUp(r0, mid, sink,
                 [&](double rho) { outline(rho, mixColour(c.start, c.end, (rho - r0) / half)); })
        && runUp(mid, r, sink, [&](double rho) {
               outline(rho, mixColour(c.end, c.start, (rho - mid) / half));
           });
}

// --- painting ------------------------------------------------------------

// The pixels a surface call covers depend only on these (and on the pen
// styles, which do not change during a gradient). Mirrors the surface's
// twips-to-pixel rule for positions and circle radii.
struct PixelKey
{
    GradientOutline::Shape shape{};
    int v[4] = {};
    std::optional<double> start, end;

    bool operator==(const PixelKey &) const = default;
};

PixelKey pixelKey(const CanvasSurface &s, const GradientOutline &o)
{
    PixelKey k;
    k.shape = o.shape;
    if (o.shape != GradientOutline::Shape::Circle) {
        const int x1 = s.toPixelX(o.x1), y1 = s.toPixelY(o.y1);
        const int x2 = s.toPixelX(o.x2), y2 = s.toPixelY(o.y2);
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
    const QSize axes = s.circleSemiAxes(o.radius, o.aspect);
    k.v[0] = s.toPixelX(o.x1);
    k.v[1] = s.toPixelY(o.y1);
    k.v[2] = axes.width();
    k.v[3] = axes.height();
    k.start = o.start;
    k.end = o.end;
    return k;
}

// Paints outlines through the surface, one call per run of consecutive
// outlines on the same pixels, with the run's combined operation.
class OutlinePainter final : public OutlineSink
{
public:
    OutlinePainter(CanvasSurface &surface, const GradientPace &pace)
        : m_surface(surface)
        , m_pace(pace)
    {
    }

    void outline(const GradientOutline &o) override
    {
        ++m_outlines;
        if (!paintsPenOnly(o)) {
            flush();
            drawOutline(m_surface, o); // filled: the fill would need its own run
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

    bool pause() override
    {
        if (!m_pace.due || !m_pace.due())
            return true;
        flush();
        return !m_pace.show || m_pace.show();
    }

    GradientResult finish(bool completed)
    {
        flush();
        if (!completed)
            return GradientResult::Stopped;
        return m_outlines > 0 ? GradientResult::Drawn : GradientResult::Nothing;
    }

private:
    // Outlines whose pixels take the pen alone: lines, unfilled boxes and
    // circles, and arcs without radii (which are never filled).
    bool paintsPenOnly(const GradientOutline &o) const
    {
        if (m_surface.fillStyle() == 1 || o.shape == GradientOutline::Shape::Segment)
            return true;
        const auto plain = [](const std::optional<double> &a) { return !a || !(*a < 0); };
        return o.shape == GradientOutline::Shape::Circle && (o.start || o.end) && plain(o.start)
            && plain(o.end);
    }

    void flush()
    {
        if (m_count == 0)
            return;
        const GradientOutline o = m_last;
        const int count = m_count;
        m_count = 0;
        std::vector<QPoint> pixels;
        const bool local = shortArcPixels(o, pixels);
        const auto draw = [&](Colour pen) {
            if (!local) {
                GradientOutline coloured = o;
                coloured.colour = pen;
                drawOutline(m_surface, coloured);
                return;
            }
            const double unit = m_surface.unit();
            for (QPoint p : pixels)
                m_surface.pset(p.x() * unit, p.y() * unit, pen);
            m_surface.setCurrentX(o.x1); // where the circle call leaves them
            m_surface.setCurrentY(o.y1);
        };
        if (count == 1) {
            draw(o.colour);
            return;
        }
        drawWithEffect(m_surface, m_effect, draw);
    }

    // The arcs along a gradient band are a pixel or two long, but a circle
    // call works through the whole circle to find them. For a thin solid pen
    // the same call on a small scratch surface around the arc gives its
    // pixels at a fraction of the cost; false when that does not apply.
    bool shortArcPixels(const GradientOutline &o, std::vector<QPoint> &out)
    {
        if (o.shape != GradientOutline::Shape::Circle || !o.start || !o.end || o.aspect != 1
            || m_surface.drawWidth() != 1
            || (m_surface.drawStyle() != 0 && m_surface.drawStyle() != 6))
            return false;
        const double from = *o.start, to = *o.end, sweep = to - from;
        const int cx = m_key.v[0], cy = m_key.v[1], r = m_key.v[2];
        // Within a pixel along the rim, so every pixel of the arc lies near
        // the rim point at the middle direction.
        if (!(from >= 0 && to <= TwoPi && sweep >= 0 && r * (sweep + 1e-6) <= 1))
            return false;
        const double middle = (from + to) / 2;
        const int left = int(std::lround(cx + r * std::cos(middle))) - ScratchReach;
        const int top = int(std::lround(cy - r * std::sin(middle))) - ScratchReach;
        if (!m_scratch) {
            m_scratch.emplace(2 * ScratchReach + 1, 2 * ScratchReach + 1);
            m_scratch->setScaleMode(m_surface.scaleMode());
            m_scratch->setBackColor(0);
        }
        CanvasSurface &scratch = *m_scratch;
        const double unit = scratch.unit();
        const double sx = o.x1 - left * unit, sy = o.y1 - top * unit;
        if (scratch.toPixelX(sx) != cx - left || scratch.toPixelY(sy) != cy - top)
            return false; // the shifted centre lands elsewhere: no shortcut
        scratch.cls();
        scratch.circle(sx, sy, o.radius, 0xffffff, from, to);
        const QImage &img = scratch.image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) & 0xffffffu)
                    out.emplace_back(left + x, top + y);
        return true;
    }

    static constexpr int ScratchReach = 3;
    CanvasSurface &m_surface;
    const GradientPace &m_pace;
    PixelKey m_key;
    PenEffect m_effect;
    GradientOutline m_last;
    int m_count = 0;
    long long m_outlines = 0;
    std::optional<CanvasSurface> m_scratch;
};

template <typename Produce>
GradientResult paint(CanvasSurface &surface, const GradientPace &pace, Produce produce)
{
    OutlinePainter painter(surface, pace);
    const bool completed = produce(painter);
    return painter.finish(completed);
}

} // namespace

// --- colours and inputs ------------------------------------------------------

Colour mixColour(Colour from, Colour to, double t)
{
    const auto channel = [t](int a, int b) {
        return std::clamp(roundHalfEven(a + t * (b - a)), 0, 255);
    };
    return rgbColour(channel(redOf(from), redOf(to)), channel(greenOf(from), greenOf(to)),
                     channel(blueOf(from), blueOf(to)));
}

std::optional<double> bandWidthOf(const QString &text)
{
    bool ok = false;
    const double w = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(w) || w < 0)
        return std::nullopt;
    return w;
}

double innerRadius(double outer, double band)
{
    return band != 0 && outer > band ? outer - band : 1;
}

GradientBox normalisedBox(double x0, double y0, double x1, double y1)
{
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

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

// --- the figures ---------------------------------------------------------

bool emitGradientEllipse(const GradientBox &box, double band, const GradientColours &colours,
                         GradientKind kind, OutlineSink &sink)
{
    const double w = box.width(), h = box.height();
    if (!(w > 0 && h > 0))
        return true;
    const double cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    const double aspect = h / w, outer = w >= h ? w / 2 : h / 2;
    return emitRadii(innerRadius(outer, band), outer, colours, kind != GradientKind::OneWay, sink,
                     [&](double rho, Colour c) {
                         sink.outline(circleOutline(cx, cy, rho, aspect, c));
                     });
}

bool emitGradientFrames(const GradientBox &box, double band, const GradientColours &colours,
                        GradientKind kind, OutlineSink &sink)
{
    const double w = box.width(), h = box.height();
    if (!(w > 0 && h > 0))
        return true;
    // The frames shrink towards the centre along the longer side; `edge` is
    // the left (or top) edge of a frame, running outwards from `inner`.
    const bool wide = w >= h;
    const double from = wide ? box.left : box.top, size = wide ? w : h;
    const double centre = wide ? (box.left + box.right) / 2 : (box.top + box.bottom) / 2;
    const double inner = band != 0 && size / 2 > band ? from + band : centre;
    const double span = inner - from;
    if (!(span > 0))
        return true;
    const auto frame = [&](double edge, Colour c) {
        using S = GradientOutline::Shape;
        if (wide) {
            const double k = (edge - box.left) * h / w;
            sink.outline(lineOutline(S::Box, edge, box.top + k, box.left + box.right - edge,
                                     box.bottom - k, c));
        } else {
            const double k = (edge - box.top) * w / h;
            sink.outline(lineOutline(S::Box, box.left + k, edge, box.right - k,
                                     box.top + box.bottom - edge, c));
        }
    };
    if (kind == GradientKind::OneWay)
        return runDown(inner, from, sink, [&](double e) {
            frame(e, mixColour(colours.start, colours.end, (inner - e) / span));
        });
    const double mid = (inner + from) / 2, half = span / 2;
    return runDown(inner, mid, sink,
                   [&](double e) {
                       frame(e, mixColour(colours.start, colours.end, (inner - e) / half));
                   })
        && runDown(mid, from, sink, [&](double e) {
               frame(e, mixColour(colours.end, colours.start, (mid - e) / half));
           });
}

bool emitDirectionalGradient(const GradientBox &box, double angle,
                             const GradientColours &colours, GradientKind kind,
                             OutlineSink &sink)
{
    const double w = box.width(), h = box.height();
    if (!(w > 0 && h > 0) || !(angle >= 0 && angle <= 180))
        return true;
    if (angle == 180)
        angle = 0; // the same lines, the start colour on the left again
    const bool twoWay = kind != GradientKind::OneWay;
    using S = GradientOutline::Shape;
    const auto colourAt = [&](double t) {
        return twoWay ? twoWayColour(colours, t) : mixColour(colours.start, colours.end, t);
    };

    if (angle == 0 || angle == 90) {
        // Lines across the box; two way, the second half starts one twip
        // past the middle.
        const bool across = angle == 0;
        const double from = across ? box.left : box.top, to = across ? box.right : box.bottom;
        const auto line = [&](double v, Colour c) {
            sink.outline(across ? lineOutline(S::Segment, v, box.top, v, box.bottom, c)
                                : lineOutline(S::Segment, box.left, v, box.right, v, c));
        };
        if (!twoWay)
            return runUp(from, to, sink,
                         [&](double v) { line(v, colourAt((v - from) / (to - from))); });
        const double mid = (from + to) / 2;
        return runUp(from, mid, sink,
                     [&](double v) {
                         line(v, mixColour(colours.start, colours.end, (v - from) / (mid - from)));
                     })
            && runUp(mid + 1, to, sink, [&](double v) {
                   line(v, mixColour(colours.start, colours.end, (to - v) / (to - mid)));
               });
    }

    // Slanted lines a twip apart, each from the left or the far horizontal
    // edge to where it meets the box; the colour goes by the distance of its
    // first point from the starting corner along the direction.
    const double theta = angle * 4 * std::atan(1.0) / 180;
    const double a = std::abs(std::tan(theta)), sinT = std::sin(theta);
    const double cosT = std::cos(theta), absCos = std::abs(cosT);
    const double extent = w * absCos + h * sinT;
    const auto step = [&](double x, double y, double dx, double dy, double t) {
        sink.outline(lineOutline(S::Segment, x, y, x + dx, y + dy, colourAt(t)));
    };
    if (angle > 90) {
        // Rising to the right, from the top-left corner down the left edge,
        // then along the bottom edge.
        return runUp(box.top, box.bottom, sink,
                     [&](double y) {
                         const double d = y - box.top;
                         if (a * d < w)
                             step(box.left, y, a * d, -d, sinT * d / extent);
                         else
                             step(box.left, y, w, -w / a, sinT * d / extent);
                     })
            && runUp(box.left, box.right, sink, [&](double x) {
                   const double rest = box.right - x;
                   const double t = (sinT * h + absCos * (x - box.left)) / extent;
                   if (a * h < rest)
                       step(x, box.bottom, a * h, -h, t);
                   else
                       step(x, box.bottom, rest, -rest / a, t);
               });
    }
    // Falling to the right, from the bottom-left corner up the left edge,
    // then along the top edge.
    return runDown(box.bottom, box.top, sink,
                   [&](double y) {
                       const double d = box.bottom - y;
                       if (a * d <= w)
                           step(box.left, y, a * d, d, sinT * d / extent);
                       else
                           step(box.left, y, w, w / a, sinT * d / extent);
                   })
        && runUp(box.left, box.right, sink, [&](double x) {
               const double rest = box.right - x;
               const double t = (sinT * h + cosT * (x - box.left)) / extent;
               if (a * h < rest)
                   step(x, box.top, a * h, h, t);
               else
                   step(x, box.top, rest, rest / a, t);
           });
}

bool emitGradientArcBand(const ArcCircle &circle, double arcAngle, double band,
                         const GradientColours &colours, GradientKind kind, OutlineSink &sink)
{
    const double outer = circle.radius, inner = innerRadius(outer, band);
    if (!(outer - inner > 0))
        return true;
    const auto arc = [&](double rho, Colour c, double from, double to) {
        GradientOutline o = circleOutline(circle.cx, circle.cy, rho, 1, c);
        o.start = from;
        o.end = to;
        sink.outline(o);
    };
    const double a = arcAngle, g = circle.guideAngle;
    if (kind == GradientKind::OneWay || kind == GradientKind::TwoWay) {
        // The pointer back on the guide: the whole ring, as the arc tool
        // draws the whole circle and the sweeps along the arc go all round.
        const double from = a == g ? 0 : a, to = a == g ? TwoPi : g;
        return emitRadii(inner, outer, colours, kind == GradientKind::TwoWay, sink,
                         [&](double rho, Colour c) { arc(rho, c, from, to); });
    }

    // Along the arc: from the guide clockwise to the pointer in steps of one
    // twip of the outer rim; a step that would cross the end is left out.
    // Past direction 0 the sweep goes on from 2pi.
    const double stepAngle = 1 / outer;
    const bool wraps = !(a < g);
    const double span = wraps ? g + TwoPi - a : g - a;
    std::vector<double> directions;
    const auto sweep = [&](double from, double to) {
        for (long long i = 0;; ++i) {
            const double phi = from - double(i) * stepAngle;
            if (!(phi - stepAngle >= to))
                return;
            directions.push_back(phi);
        }
    };
    sweep(g, wraps ? 0 : a);
    if (wraps)
        sweep(TwoPi, a);

    const std::size_t n = directions.size();
    for (std::size_t k = 0; k < n; ++k) {
        Colour c;
        if (kind == GradientKind::AlongOneWay)
            c = mixColour(colours.start, colours.end, (double(k) / outer) / span);
        else // both ends of the arc in the start colour
            c = twoWayColour(colours, n > 1 ? double(k) / double(n - 1) : 0);
        const double phi = directions[k];
        for (long long i = 0;; ++i) {
            const double rho = inner + double(i);
            if (!(rho <= outer))
                break;
            arc(rho, c, phi - stepAngle, phi);
        }
        if (!sink.pause())
            return false;
    }
    return true;
}

// --- drawing -------------------------------------------------------------

GradientResult drawGradientEllipse(CanvasSurface &surface, const GradientBox &box,
                                   const QString &bandText, const GradientColours &colours,
                                   GradientKind kind, const GradientPace &pace)
{
    const std::optional<double> band = bandWidthOf(bandText);
    if (!band)
        return GradientResult::Nothing;
    return paint(surface, pace, [&](OutlineSink &sink) {
        return emitGradientEllipse(box, *band, colours, kind, sink);
    });
}

GradientResult drawGradientFrames(CanvasSurface &surface, const GradientBox &box,
                                  const QString &bandText, const GradientColours &colours,
                                  GradientKind kind, const GradientPace &pace)
{
    const std::optional<double> band = bandWidthOf(bandText);
    if (!band)
        return GradientResult::Nothing;
    return paint(surface, pace, [&](OutlineSink &sink) {
        return emitGradientFrames(box, *band, colours, kind, sink);
    });
}

GradientResult drawDirectionalGradient(CanvasSurface &surface, const GradientBox &box,
                                       double angle, const GradientColours &colours,
                                       GradientKind kind, const GradientPace &pace)
{
    return paint(surface, pace, [&](OutlineSink &sink) {
        return emitDirectionalGradient(box, angle, colours, kind, sink);
    });
}

GradientResult drawGradientArcBand(CanvasSurface &surface, const ArcCircle &circle,
                                   double arcAngle, const QString &bandText,
                                   const GradientColours &colours, GradientKind kind,
                                   const GradientPace &pace)
{
    const std::optional<double> band = bandWidthOf(bandText);
    if (!band)
        return GradientResult::Nothing;
    return paint(surface, pace, [&](OutlineSink &sink) {
        return emitGradientArcBand(circle, arcAngle, *band, colours, kind, sink);
    });
}

} // namespace quor
