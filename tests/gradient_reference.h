// The slow, obvious picture of a round gradient: every outline drawn
// through the surface on its own, in order, then every pixel between the
// rings that no outline reached painted once, by the draw mode, in the
// colour its radius or direction gives.
#pragma once

#include "document/model/gradient_painter.h"
#include "document/model/raster_figures.h"

#include <QPoint>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <vector>

namespace gradient_reference {

using quor::CanvasSurface;
using quor::Colour;
using quor::GradientOutline;

inline void drawEvery(CanvasSurface &s, const std::vector<GradientOutline> &outlines)
{
    for (const GradientOutline &o : outlines)
        quor::drawOutline(s, o);
}

// A black picture of the surface's size and scale with a white pen of its
// width, solid (or inside-solid), drawing by copying.
inline CanvasSurface mask(const CanvasSurface &like)
{
    CanvasSurface m(like.widthPx(), like.heightPx());
    m.setScaleMode(like.scaleMode());
    m.setBackColor(0);
    m.setDrawWidth(like.drawWidth());
    m.setLineStyle(like.lineStyle() == quor::LineStyle::InsideSolid ? quor::LineStyle::InsideSolid : quor::LineStyle::Solid);
    m.setFillColor(0xffffff);
    m.setFillStyle(quor::FillStyle::Transparent);
    return m;
}

inline GradientOutline whole(GradientOutline o)
{
    o.start.reset();
    o.end.reset();
    o.colour = 0xffffff;
    return o;
}

// The pixels inside the outermost ring's outline, not inside the innermost
// ring's, and on no ring's outline. rings: one or more outlines of each
// ring, innermost first; angles are left out.
inline std::vector<QPoint> holes(const CanvasSurface &like,
                                 const std::vector<GradientOutline> &rings)
{
    CanvasSurface outer = mask(like), inner = mask(like), drawn = mask(like);
    outer.setFillStyle(quor::FillStyle::Solid);
    quor::drawOutline(outer, whole(rings.back()));
    inner.setFillStyle(quor::FillStyle::Solid);
    quor::drawOutline(inner, whole(rings.front()));
    GradientOutline edge = whole(rings.front());
    edge.colour = 0;
    inner.setFillStyle(quor::FillStyle::Transparent);
    quor::drawOutline(inner, edge);
    for (const GradientOutline &o : rings)
        quor::drawOutline(drawn, whole(o));
    std::vector<QPoint> out;
    for (int y = 0; y < like.heightPx(); ++y)
        for (int x = 0; x < like.widthPx(); ++x)
            if ((outer.image().pixel(x, y) & 0xffffff) && !(inner.image().pixel(x, y) & 0xffffff)
                && !(drawn.image().pixel(x, y) & 0xffffff))
                out.emplace_back(x, y);
    return out;
}

// Paints each hole once with a one-pixel pen in colourAt(hole), by the
// surface's draw mode; a hole without a colour is left alone.
inline void fillHoles(CanvasSurface &s, const std::vector<QPoint> &holes,
                      const std::function<std::optional<Colour>(QPoint)> &colourAt)
{
    const int width = s.drawWidth();
    s.setDrawWidth(1);
    const double unit = s.unit();
    const double cx = s.currentX(), cy = s.currentY();
    for (QPoint p : holes)
        if (const std::optional<Colour> c = colourAt(p))
            s.pset(p.x() * unit, p.y() * unit, *c);
    s.setDrawWidth(width);
    s.setCurrentX(cx);
    s.setCurrentY(cy);
}

// The pixel's offset from the figure's centre pixel.
inline QPointF offset(const CanvasSurface &s, const GradientOutline &ring, QPoint p)
{
    return QPointF(p.x() - s.toPixelX(ring.x1), p.y() - s.toPixelY(ring.y1));
}

// The radius, in the surface's units, of the ellipse of the ring's shape
// through the pixel.
inline double radiusAt(const CanvasSurface &s, const GradientOutline &ring, QPoint p)
{
    const QPointF d = offset(s, ring, p);
    const double ratio = std::abs(ring.aspect);
    const double u = ratio < 1 ? d.x() : d.x() * ratio, v = ratio < 1 ? d.y() / ratio : d.y();
    return s.unit() * std::sqrt(u * u + v * v);
}

// The pixel's direction as the surface's circle call measures it on the
// smallest of the rings that holds the pixel.
inline double directionAt(const CanvasSurface &s, const std::vector<GradientOutline> &rings,
                          QPoint p)
{
    for (const GradientOutline &o : rings) {
        const QSize axes = s.circleSemiAxes(o.radius, o.aspect);
        const quor::raster::Ellipse e{s.toPixelX(o.x1), s.toPixelY(o.y1), axes.width(),
                                      axes.height()};
        const int h = e.halfWidth(p.y() - e.cy);
        if (h >= 0 && std::abs(p.x() - e.cx) <= h)
            return e.angle(p.x(), p.y());
    }
    return 0;
}

// Whether an arc outline's angles hold a direction, as its circle call has it.
inline bool arcHolds(const GradientOutline &o, double angle)
{
    return quor::raster::AngleRange::between(std::abs(o.start.value_or(0)),
                                             std::abs(o.end.value_or(2 * std::numbers::pi)))
        .contains(angle);
}

// The colour rule across a band from radius r0 to r, at a radius kept
// within it: one way, or two way with the end colour in the middle.
inline Colour acrossColour(Colour start, Colour end, double r0, double r, double rho, bool twoWay)
{
    const auto part = [](double v) { return std::clamp(v, 0.0, 1.0); };
    if (!twoWay)
        return quor::mixColour(start, end, part((rho - r0) / (r - r0)));
    const double mid = (r0 + r) / 2, half = (r - r0) / 2;
    return rho < mid ? quor::mixColour(start, end, part((rho - r0) / half))
                     : quor::mixColour(end, start, part((rho - mid) / half));
}

// A round figure drawn as `outlines` (its rings in order, or the arcs along
// a band step by step): each by itself, then the pixels between its rings,
// across a band in colourAt(the radius they lie at), along the arc in the
// colour of the last step whose arc holds their direction. Nothing lies
// between rings that are filled, or drawn with an invisible pen.
inline void drawRound(CanvasSurface &s, const std::vector<GradientOutline> &outlines, bool along,
                      const std::function<Colour(double radius)> &colourAt)
{
    drawEvery(s, outlines);
    const GradientOutline &first = outlines.front();
    const bool arc = first.start || first.end;
    if (s.lineStyle() == quor::LineStyle::Invisible || (!arc && s.fillStyle() != quor::FillStyle::Transparent))
        return;
    std::vector<GradientOutline> rings; // those of the first direction
    for (const GradientOutline &o : outlines)
        if (o.end == first.end)
            rings.push_back(o);
    fillHoles(s, holes(s, rings), [&](QPoint p) -> std::optional<Colour> {
        const double angle = directionAt(s, rings, p);
        if (!along) {
            if (arc && !arcHolds(first, angle))
                return std::nullopt;
            return colourAt(radiusAt(s, first, p));
        }
        std::optional<Colour> colour;
        for (std::size_t i = 0; i < outlines.size(); i += rings.size())
            if (arcHolds(outlines[i], angle))
                colour = outlines[i].colour;
        return colour;
    });
}

} // namespace gradient_reference
