// The pixel sets of the figures the surface draws: thin and wide segments,
// box frames, ellipses and their outlines, dashes and hatches. All work is
// limited to the rows and columns of the target SpanList's clip rectangle.
#pragma once

#include "document/model/raster_spans.h"

#include <QPoint>

#include "core/pen_styles.h"

#include <cstdint>
#include <vector>

namespace quor::raster {

// Dash, dot and their mixtures are dashed; the solid ones are not, and the
// invisible one draws nothing.
inline bool isDashed(LineStyle style)
{
    return style == LineStyle::Dash || style == LineStyle::Dot || style == LineStyle::DashDot
           || style == LineStyle::DashDotDot;
}
// Whether pixel number `step` along a dashed outline is drawn.
bool dashOn(LineStyle style, long long step);

// Width-one line from a to b; the end pixel is left out (so chained segments
// do not meet twice) unless includeEnd or both ends share a pixel.
void addThinSegment(SpanList &out, QPoint a, QPoint b, LineStyle style, bool includeEnd);
// Pixels whose centres lie within radius of the segment a-b (round caps).
void addCapsule(SpanList &out, QPoint a, QPoint b, double radius);
// The same with real end points (pixel centres are whole numbers).
void addCapsule(SpanList &out, QPointF a, QPointF b, double radius);
// The pixels of outer that are not in hole (hole may be empty).
void addRectRing(SpanList &out, const QRect &outer, const QRect &hole);
// The one-pixel frame of r, walked clockwise from its top-left corner with
// the dash pattern of style.
void addDashedFrame(SpanList &out, const QRect &r, LineStyle style);

// The pixels a pen of width w draws outside and inside a figure's edge
// pixel: centred on the edge, or wholly inside for the inside-solid style.
struct PenBand
{
    int outside, inside;

    PenBand(int width, LineStyle style)
    {
        if (style == LineStyle::InsideSolid) {
            outside = 0;
            inside = width - 1;
        } else {
            outside = width / 2;
            inside = width - 1 - outside;
        }
    }
};

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

// Every row's half width of one ellipse, found by walking the rows from the
// middle outwards: the width only shrinks, so each row costs a comparison or
// two in plain integers instead of a square root and a wide division. Very
// tall ellipses, whose rows mostly lie off the bitmap, ask each row alone.
class HalfWidths
{
public:
    explicit HalfWidths(const Ellipse &e);
    // Ellipse::halfWidth of row dy.
    int operator()(int dy) const
    {
        if (m_rows.empty())
            return m_e.halfWidth(dy);
        const int d = dy < 0 ? -dy : dy;
        return d > m_e.b ? -1 : m_rows[std::size_t(d)];
    }

private:
    // With both semi-axes at most this, a^2 b^2 fits in 64 bits.
    static constexpr int MaxNarrow = 46340;
    static constexpr int MaxTableRows = 46340;

    template <typename Wide>
    void walk();

    Ellipse m_e;
    std::vector<int> m_rows;
};

// The pixels of row dy on the ellipse's boundary (those with a 4-neighbour
// outside it) are those from this distance from the centre column out to
// the row's half width; -1 when the row misses.
int boundaryFrom(const HalfWidths &width, int dy);

void addEllipse(SpanList &out, const Ellipse &e);
// The set's pixels that have a 4-neighbour outside it.
void addEllipseBoundary(SpanList &out, const Ellipse &e);
// The same pixels dashed in angle order, counting from angle `from`. The
// count runs round the whole outline, off the clip rectangle too, except
// for an ellipse with a semi-axis beyond DashRankLimit, whose pixels on the
// clip rectangle alone are counted.
constexpr int DashRankLimit = 1 << 14;
void addDashedEllipseBoundary(SpanList &out, const Ellipse &e, LineStyle style, double from);
// outer minus inner; inner is concentric and smaller.
void addEllipseRing(SpanList &out, const Ellipse &outer, const Ellipse &inner);

// Angles from start counterclockwise through sweep (both in [0, 2pi]).
struct AngleRange
{
    double start = 0, sweep = 0;
    // contains() also takes angles this close outside either end.
    static constexpr double EdgeSlack = 1e-7;

    // start and end as given to Circle (signs already dropped); end before
    // start wraps past 2pi.
    static AngleRange between(double start, double end);
    bool contains(double angle) const;
    // How far past start an angle lies, in [0, 2pi).
    double offset(double angle) const;
};

// 8x8 pattern of FillStyle 2..7: bit x & 7 of row y & 7, aligned to the
// bitmap origin. Null for the other styles.
const std::uint8_t *hatchPattern(FillStyle style);

} // namespace quor::raster
