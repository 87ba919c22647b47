// The gradient colour fill of a floating selection: which outlines it draws,
// in which colours, and drawing them. No widget code.
//
// The fill is a sequence of thin outlines one twip apart (ellipses, box
// outlines or straight lines), each in its own colour between the start
// and the end colour, drawn in order over the whole selection. The
// sequence is computed per index, so even the longest (one line per twip
// of a full-size selection) costs no memory.
#pragma once

#include "document/model/canvas_surface.h"

#include <cstddef>
#include <functional>

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

// Channel by channel start + (end - start) * t, rounded halves to even
// (clamped to 0..255, so no t can spill into another channel).
Colour forwardColour(Colour start, Colour end, double t);
// end + (start - end) * t.
Colour backwardColour(Colour start, Colour end, double t);

// The pen width the style draws with: the palette's for the one-way
// circle, 2 for the two-way circle, 1 for the rest.
int gradientPenWidth(GradientStyle style, int paletteWidth);

struct FillOutline
{
    enum class Shape { Ellipse, Box, Segment };
    Shape shape = Shape::Segment;
    // Box and segment: the two corners or ends. Ellipse: the centre in
    // x1, y1; radius along the longer side, aspect height / width.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double radius = 0, aspect = 1;
    Colour colour = 0;
};

// The outlines of one fill, in drawing order. Empty when the selection has
// no width or height.
class GradientOutlines
{
public:
    explicit GradientOutlines(const GradientFill &fill);

    std::size_t size() const { return m_passes[0].count + m_passes[1].count; }
    FillOutline operator[](std::size_t i) const;

private:
    // One counted loop: parameter first, first + step, ... (step +1 or -1).
    struct Pass
    {
        double first = 0;
        int step = 1;
        std::size_t count = 0;
    };
    FillOutline outline(int pass, double v) const;
    void setUp();

    GradientFill m_fill;
    Pass m_passes[2];
    // Derived once: circles' and boxes' extents, the angle's functions.
    double m_outer = 0, m_inner = 0, m_mid = 0, m_half = 0;
    double m_sin = 0, m_cos = 0, m_tan = 0, m_span = 0;
};

// The surface call of one outline.
void drawOutline(CanvasSurface &surface, const FillOutline &outline);

// How a long fill shows its progress. due is polled after every outline
// and should be cheap (a clock check); when it says yes, every outline so
// far is on the surface and show is called, which repaints and says
// whether to go on. Either may be empty.
struct FillPace
{
    std::function<bool()> due;
    std::function<bool()> show;
};

// Draws outlines[first..] in order with the surface's pen, styles and draw
// mode. Consecutive outlines on the same pixels go to the surface as one
// call with their combined effect, which leaves every pixel as drawing
// each outline in turn would. Returns how many outlines from first on are
// drawn: all of them, or those before show said stop; once show has said
// stop the surface is not touched again (it may be gone by then).
std::size_t drawOutlines(CanvasSurface &surface, const GradientOutlines &outlines,
                         std::size_t first = 0, const FillPace &pace = {});

} // namespace quor::effects
