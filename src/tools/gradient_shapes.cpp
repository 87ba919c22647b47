#include "tools/gradient_shapes.h"

#include <algorithm>
#include <cmath>
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

// The radii from r0 out to r: one way, or two way with the end colour at
// the middle radius, which both halves draw.
std::vector<GradientRings::Pass> radiusPasses(double r0, double r, const GradientColours &c,
                                              bool twoWay)
{
    const double span = r - r0;
    if (!(span > 0))
        return {};
    if (!twoWay)
        return {{r0, loopCount(r0, r, 1), c.start, c.end, r0, span}};
    const double mid = (r0 + r) / 2, half = span / 2;
    return {{r0, loopCount(r0, mid, 1), c.start, c.end, r0, half},
            {mid, loopCount(mid, r, 1), c.end, c.start, mid, half}};
}

GradientRings ellipseRings(const GradientBox &box, double band, const GradientColours &colours,
                           GradientKind kind)
{
    GradientRings rings;
    const double w = box.width(), h = box.height();
    if (!(w > 0 && h > 0))
        return rings;
    rings.cx = (box.left + box.right) / 2;
    rings.cy = (box.top + box.bottom) / 2;
    rings.aspect = h / w;
    const double outer = w >= h ? w / 2 : h / 2;
    rings.passes =
        radiusPasses(innerRadius(outer, band), outer, colours, kind != GradientKind::OneWay);
    return rings;
}

bool alongTheArc(GradientKind kind)
{
    return kind == GradientKind::AlongOneWay || kind == GradientKind::AlongTwoWay;
}

// Across the band: arcs from the pointer's direction to the guide's. The
// pointer back on the guide gives the whole ring, as the arc tool draws the
// whole circle and the sweeps along the arc go all round.
GradientRings arcBandRings(const ArcCircle &circle, double arcAngle, double band,
                           const GradientColours &colours, GradientKind kind)
{
    GradientRings rings;
    rings.cx = circle.cx;
    rings.cy = circle.cy;
    const double a = arcAngle, g = circle.guideAngle;
    rings.start = a == g ? 0 : a;
    rings.end = a == g ? TwoPi : g;
    const double outer = circle.radius;
    rings.passes =
        radiusPasses(innerRadius(outer, band), outer, colours, kind == GradientKind::TwoWay);
    return rings;
}

// Along the arc: from the guide clockwise to the pointer in steps of one
// twip of the outer rim; a step that would cross the end is left out.
// Past direction 0 the sweep goes on from 2pi.
GradientSweep arcBandSweep(const ArcCircle &circle, double arcAngle, double band,
                           const GradientColours &colours, GradientKind kind)
{
    GradientSweep sweep;
    const double outer = circle.radius, inner = innerRadius(outer, band);
    if (!(outer - inner > 0))
        return sweep;
    sweep.cx = circle.cx;
    sweep.cy = circle.cy;
    sweep.firstRadius = inner;
    sweep.radii = loopCount(inner, outer, 1);
    sweep.stepAngle = 1 / outer;
    const double a = arcAngle, g = circle.guideAngle;
    const bool wraps = !(a < g);
    const double span = wraps ? g + TwoPi - a : g - a;
    const auto run = [&](double from, double to) {
        for (long long i = 0;; ++i) {
            const double phi = from - double(i) * sweep.stepAngle;
            if (!(phi - sweep.stepAngle >= to))
                return;
            sweep.directions.push_back(phi);
        }
    };
    run(g, wraps ? 0 : a);
    if (wraps)
        run(TwoPi, a);
    const std::size_t n = sweep.directions.size();
    for (std::size_t k = 0; k < n; ++k) {
        if (kind == GradientKind::AlongOneWay)
            sweep.colours.push_back(
                mixColour(colours.start, colours.end, (double(k) / outer) / span));
        else // both ends of the arc in the start colour
            sweep.colours.push_back(twoWayColour(colours, n > 1 ? double(k) / double(n - 1) : 0));
    }
    return sweep;
}

bool emitRings(const GradientRings &rings, OutlineSink &sink)
{
    for (std::size_t i = 0; i < rings.size(); ++i) {
        sink.outline(rings[i]);
        if (!sink.pause())
            return false;
    }
    return true;
}

// A pause after each direction step.
bool emitSweep(const GradientSweep &sweep, OutlineSink &sink)
{
    for (std::size_t step = 0; step < sweep.directions.size(); ++step) {
        for (std::size_t r = 0; r < sweep.radii; ++r)
            sink.outline(sweep.outline(step, r));
        if (!sink.pause())
            return false;
    }
    return true;
}

GradientResult resultOf(std::size_t drawn, std::size_t outlines)
{
    if (outlines == 0)
        return GradientResult::Nothing;
    return drawn < outlines ? GradientResult::Stopped : GradientResult::Drawn;
}

// Frames and lines go to the painter as they come.
template <typename Produce>
GradientResult paintOutlines(CanvasSurface &surface, const GradientPace &pace, Produce produce)
{
    GradientPainter painter(surface, pace);
    if (!produce(painter))
        return GradientResult::Stopped;
    painter.flush();
    return painter.outlines() > 0 ? GradientResult::Drawn : GradientResult::Nothing;
}

} // namespace

// --- colours and inputs ------------------------------------------------------

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

// --- the figures ---------------------------------------------------------

bool emitGradientEllipse(const GradientBox &box, double band, const GradientColours &colours,
                         GradientKind kind, OutlineSink &sink)
{
    return emitRings(ellipseRings(box, band, colours, kind), sink);
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
    if (alongTheArc(kind))
        return emitSweep(arcBandSweep(circle, arcAngle, band, colours, kind), sink);
    return emitRings(arcBandRings(circle, arcAngle, band, colours, kind), sink);
}

// --- drawing -------------------------------------------------------------

GradientResult drawGradientEllipse(CanvasSurface &surface, const GradientBox &box,
                                   const QString &bandText, const GradientColours &colours,
                                   GradientKind kind, const GradientPace &pace)
{
    const std::optional<double> band = bandWidthOf(bandText);
    if (!band)
        return GradientResult::Nothing;
    const GradientRings rings = ellipseRings(box, *band, colours, kind);
    GradientPainter painter(surface, pace);
    return resultOf(painter.paint(rings), rings.size());
}

GradientResult drawGradientFrames(CanvasSurface &surface, const GradientBox &box,
                                  const QString &bandText, const GradientColours &colours,
                                  GradientKind kind, const GradientPace &pace)
{
    const std::optional<double> band = bandWidthOf(bandText);
    if (!band)
        return GradientResult::Nothing;
    return paintOutlines(surface, pace, [&](OutlineSink &sink) {
        return emitGradientFrames(box, *band, colours, kind, sink);
    });
}

GradientResult drawDirectionalGradient(CanvasSurface &surface, const GradientBox &box,
                                       double angle, const GradientColours &colours,
                                       GradientKind kind, const GradientPace &pace)
{
    return paintOutlines(surface, pace, [&](OutlineSink &sink) {
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
    GradientPainter painter(surface, pace);
    if (alongTheArc(kind)) {
        const GradientSweep sweep = arcBandSweep(circle, arcAngle, *band, colours, kind);
        return resultOf(painter.paint(sweep), sweep.size());
    }
    const GradientRings rings = arcBandRings(circle, arcAngle, *band, colours, kind);
    return resultOf(painter.paint(rings), rings.size());
}

} // namespace quor
