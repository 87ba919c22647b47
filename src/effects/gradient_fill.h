// The gradient colour fill of a floating selection: which outlines it draws,
// in which colours, and drawing them. No widget code.
//
// The fill is a sequence of thin outlines one twip apart (ellipses, box
// outlines or straight lines), each in its own colour between the start
// and the end colour, drawn in order over the whole selection. The
// sequence is computed per index, so even the longest (one line per twip
// of a full-size selection) costs no memory.
#pragma once

#include "document/model/gradient_painter.h"

#include <cstddef>

namespace quor::effects {

// The six kinds the dialog offers, by their option numbers.
enum class GradientStyle {
    OneWayCircle = 1,
    TwoWayCircle = 2,
    OneWayBox = 3,    // nested boxes, start colour inside
    TwoWayBox = 4,
    OneWayAngled = 5, // parallel lines at an angle
    TwoWayAngled = 6,
};

struct GradientFill
{
    GradientStyle style = GradientStyle::OneWayCircle;
    double width = 0, height = 0; // the selection, twips
    // The band along the edge the circles and boxes cover; 0, or at least
    // half the longer side, covers everything.
    double frameWidth = 0;
    int angle = 0; // degrees 0..179 from the vertical (others count as 0)
    Colour start = 0, end = 0;
};

// The fill's two colour rules: start + (end - start) * t, and
// end + (start - end) * t.
inline Colour forwardColour(Colour start, Colour end, double t)
{
    return mixColour(start, end, t);
}
inline Colour backwardColour(Colour start, Colour end, double t)
{
    return mixColour(end, start, t);
}

// The pen width the style draws with: the palette's for the one-way
// circle, 2 for the two-way circle, 1 for the rest.
int gradientPenWidth(GradientStyle style, int paletteWidth);

// The outlines of one fill, in drawing order. Empty when the selection has
// no width or height.
class GradientOutlines
{
public:
    explicit GradientOutlines(const GradientFill &fill);

    std::size_t size() const;
    GradientOutline operator[](std::size_t i) const;
    // The circle styles' ellipses, which the painter also fills between.
    bool round() const { return !m_rings.passes.empty(); }
    const GradientRings &rings() const { return m_rings; }

private:
    // One counted loop: parameter first, first + step, ... (step +1 or -1).
    struct Pass
    {
        double first = 0;
        int step = 1;
        std::size_t count = 0;
    };
    GradientOutline outline(int pass, double v) const;
    void setUp();

    GradientFill m_fill;
    Pass m_passes[2];
    GradientRings m_rings;
    // Derived once: the boxes' extent, the angle's functions.
    double m_outer = 0;
    double m_sin = 0, m_cos = 0, m_tan = 0, m_span = 0;
};

// Draws outlines[first..] in order with the surface's pen, styles and draw
// mode through the gradient painter, pausing after each outline. Returns
// how many outlines from first on are drawn: all of them, or those before
// show said stop; once show has said stop the surface is not touched again
// (it may be gone by then).
std::size_t drawOutlines(CanvasSurface &surface, const GradientOutlines &outlines,
                         std::size_t first = 0, const GradientPace &pace = {});

} // namespace quor::effects
