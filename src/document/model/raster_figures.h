// The pixel sets of the figures the surface draws: thin and wide segments,
// box frames, ellipses and their outlines, dashes and hatches. All work is
// limited to the rows and columns of the target SpanList's clip rectangle.
#pragma once

#include "document/model/raster_spans.h"

#include <QPoint>

#include <cstdint>

namespace quor::raster {

// DrawStyle 1..4 are dashed; 0 and 6 are solid, 5 draws nothing.
inline bool isDashed(int style) { return style >= 1 && style <= 4; }
// Whether pixel number `step` along a dashed outline is drawn.
bool dashOn(int style, long long step);

// Width-one line from a to b; the end pixel is left out (so chained segments
// do not meet twice) unless includeEnd or both ends share a pixel.
void addThinSegment(SpanList &out, QPoint a, QPoint b, int style, bool includeEnd);
// Pixels whose centres lie within radius of the segment a-b (round caps).
void addCapsule(SpanList &out, QPoint a, QPoint b, double radius);
// The same with real end points (pixel centres are whole numbers).
void addCapsule(SpanList &out, QPointF a, QPointF b, double radius);
// The pixels of outer that are not in hole (hole may be empty).
void addRectRing(SpanList &out, const QRect &outer, const QRect &hole);
// The one-pixel frame of r, walked clockwise from its top-left corner with
// the dash pattern of style.
void addDashedFrame(SpanList &out, const QRect &r, int style);

// The pixels (x, y) with ((x-cx)/a)^2 + ((y-cy)/b)^2 <= 1; a semi-axis of 0
// gives a line, a negative one an empty set.
struct Ellipse
{
    int cx = 0, cy = 0, a = 0, b = 0;

    // The pixels of row cy+dy are cx-h..cx+h; -1 when the row misses.
    int halfWidth(int dy) const;
    // Angle of a pixel on the ellipse's own axes, counterclockwise from
    // 3 o'clock with y growing downward, in [0, 2pi).
    double angle(int x, int y) const;
    QPoint pointAt(double angle) const;
    Ellipse grown(int by) const { return {cx, cy, a + by, b + by}; }
};

void addEllipse(SpanList &out, const Ellipse &e);
// The set's pixels that have a 4-neighbour outside it.
void addEllipseBoundary(SpanList &out, const Ellipse &e);
// The same pixels dashed in angle order, counting from angle `from`.
void addDashedEllipseBoundary(SpanList &out, const Ellipse &e, int style, double from);
// outer minus inner; inner is concentric and smaller.
void addEllipseRing(SpanList &out, const Ellipse &outer, const Ellipse &inner);

// Angles from start counterclockwise through sweep (both in [0, 2pi]).
struct AngleRange
{
    double start = 0, sweep = 0;

    // start and end as given to Circle (signs already dropped); end before
    // start wraps past 2pi.
    static AngleRange between(double start, double end);
    bool contains(double angle) const;
    // How far past start an angle lies, in [0, 2pi).
    double offset(double angle) const;
};

// 8x8 pattern of FillStyle 2..7: bit x & 7 of row y & 7, aligned to the
// bitmap origin. Null for the other styles.
const std::uint8_t *hatchPattern(int fillStyle);

} // namespace quor::raster
