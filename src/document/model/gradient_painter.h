// The painting of gradients, for the gradient tools and the gradient colour
// fill alike. A gradient is a sequence of thin outlines one unit apart
// (circles, ellipses, arcs, box outlines, straight lines), each in its own
// colour, drawn in order with the surface's draw mode, pen and styles.
//
// The painter gives the picture drawing every outline by itself gives, at a
// fraction of the cost: consecutive outlines on the same pixels go to the
// surface as one call with their combined effect, and the thousands of
// short arcs of a sweep along an arc band are worked out pixel by pixel.
// Round figures also paint the pixels between neighbouring rings that no
// outline reaches (see GradientRings).
#pragma once

#include "document/model/canvas_surface.h"
#include "document/model/pen_effect.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace quor {

// Each channel from + t * (to - from), rounded halves to even and kept in
// 0..255, so no t spills into another channel; a t that is no number
// counts as 0.
Colour mixColour(Colour from, Colour to, double t);

// How often a loop v = from, from + step, ... (step 1 or -1) runs while v
// stays on this side of `to`, both ends included. None for a loop far
// longer than any picture.
std::size_t loopCount(double from, double to, int step);

// One outline: a Circle, a Line segment or a Line box outline.
struct GradientOutline
{
    enum class Shape { Circle, Segment, Box };
    Shape shape = Shape::Circle;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // circle centre in x1, y1
    double radius = 0, aspect = 1;
    std::optional<double> start, end;
    Colour colour = 0;
};
// The surface call of one outline.
void drawOutline(CanvasSurface &surface, const GradientOutline &outline);

// Receives a gradient's outlines in drawing order.
class OutlineSink
{
public:
    virtual ~OutlineSink() = default;
    virtual void outline(const GradientOutline &outline) = 0;
    // A place to show the picture: after every outline, or after every
    // direction step along an arc. False stops the gradient there.
    virtual bool pause() = 0;
};

// How a long gradient lets the caller show progress. due is polled at
// every pause and should be cheap (a clock check); when it says yes, the
// surface is brought up to date and show is called, which repaints and
// says whether to go on. Either may be empty.
struct GradientPace
{
    std::function<bool()> due;
    std::function<bool()> show;
};

// Concentric circles or ellipses one unit apart, growing outwards, or arcs
// of them between two angles (without radii), in one or two passes, each
// with a straight colour rule over its radii.
//
// The outlines are a pixel thin and step whole pixels at a time (in the two
// axes of an ellipse at different radii), so between two neighbouring rings
// lie pixels no outline reaches. Each such pixel takes the colour of the
// radius it lies at, by the same rule, combined once with the picture by
// the draw mode. The radius a pixel lies at is that of the ellipse of the
// figure's aspect through the pixel's centre, measured from the centre
// pixel's centre; an arc's pixel must also lie within its angles, as the
// outlines' pixels must. Pixels an outline reaches keep what the outlines
// make of them.
struct GradientRings
{
    double cx = 0, cy = 0;
    double aspect = 1; // height / width; the radius runs along the longer axis
    std::optional<double> start, end;

    struct Pass
    {
        double first = 0; // radii first, first + 1, ...
        std::size_t count = 0;
        // The colour at radius r: mixColour(from, to, (r - origin) / length).
        Colour from = 0, to = 0;
        double origin = 0, length = 1;
    };
    std::vector<Pass> passes;

    std::size_t size() const;
    GradientOutline operator[](std::size_t i) const;
    // The colour between the outlines: by the rule of the last pass that
    // starts at or inside the radius, kept between its from and to colours.
    Colour colourBetween(double radius) const;
};

// The arcs along an arc band: for each direction step in turn, an arc of
// every radius, all in the step's colour, from the step's direction back
// (clockwise on screen) by the step angle. A pixel between rings that no
// arc reaches takes the colour of the step its direction lies in (the
// later of two), once, like a pixel between GradientRings.
struct GradientSweep
{
    double cx = 0, cy = 0;
    double firstRadius = 0; // radii firstRadius, firstRadius + 1, ...
    std::size_t radii = 0;
    double stepAngle = 0;
    std::vector<double> directions; // where each step's arcs end
    std::vector<Colour> colours;    // each step's colour

    std::size_t size() const { return directions.size() * radii; }
    GradientOutline outline(std::size_t step, std::size_t radius) const;
};

// Paints outlines in drawing order on a surface with its current settings.
// Once show has said stop, the surface is not touched again (it may be
// gone by then).
class GradientPainter final : public OutlineSink
{
public:
    GradientPainter(CanvasSurface &surface, GradientPace pace = {});

    void outline(const GradientOutline &outline) override;
    bool pause() override;
    // Brings the surface up to date with every outline so far.
    void flush();

    // The outlines from `first` on, with a pause after each; returns how
    // many were drawn: all, or those up to the pause that stopped.
    std::size_t paint(const GradientRings &rings, std::size_t first = 0);
    // With a pause after each direction step; returns how many outlines
    // the steps drawn hold.
    std::size_t paint(const GradientSweep &sweep);

    // Outlines taken so far, drawn or pending.
    long long outlines() const { return m_outlines; }

private:
    struct PixelKey
    {
        GradientOutline::Shape shape{};
        int v[4] = {};
        std::optional<double> start, end;

        bool operator==(const PixelKey &) const = default;
    };
    PixelKey pixelKey(const GradientOutline &o) const;
    bool paintsPenOnly(const GradientOutline &o) const;
    void paintHoles(QSize inside, QSize ring);
    void changed(int x, int y);
    void reportChanged();

    CanvasSurface &m_surface;
    GradientPace m_pace;
    PixelKey m_key;
    PenEffect m_effect;
    GradientOutline m_last;
    int m_count = 0;
    long long m_outlines = 0;
    // While rings are painted: their rule, and the axes of the last ring
    // drawn, whose holes are done.
    const GradientRings *m_rings = nullptr;
    std::optional<QSize> m_lastRing;
    // Pixels written directly and not yet reported.
    int m_left = 0, m_top = 0, m_right = -1, m_bottom = -1;
};

} // namespace quor
