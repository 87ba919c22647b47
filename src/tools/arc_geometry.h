// Geometry of the two-phase circle tools (arc, sector, gradient arc band):
// the direction of a point seen from the centre, what the second press reads
// from the guide, and the Circle call each figure makes. Angles are those of
// CanvasSurface::circle: 0 points right, counterclockwise on screen, [0, 2pi).
#pragma once

#include "document/model/canvas_surface.h"

#include <optional>

namespace quor {

// Direction from the centre (cx, cy) to (px, py) with screen y growing
// downwards, in [0, 2pi); 0 when the point is the centre.
double pointAngle(double cx, double cy, double px, double py);

// The guide line as the first phase left it: centre (x1, y1) to the point
// on the circle (x2, y2).
struct ArcGuide
{
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;

    // A guide without length does not start the second phase.
    bool placed() const { return x1 != x2 || y1 != y2; }
};

// What the second press takes from the guide: the centre, the radius and
// the guide's direction g.
struct ArcCircle
{
    double cx = 0, cy = 0, radius = 0, guideAngle = 0;
};
// The guide's far end y is taken as a whole number (halves to even) for both
// the radius and the direction, as the second press reads it.
ArcCircle readGuide(const ArcGuide &guide);

enum class ArcFigure {
    ArcRubberBand, // arc with the radius to the pointer
    Arc,           // the final arc, no radii
    Sector,        // rubber band and final sector, both radii
};

// One CanvasSurface::circle call. A negative angle also draws that radius;
// -2pi stands for a zero angle whose radius is drawn. No angles: the whole
// circle.
struct CircleCall
{
    double cx = 0, cy = 0, radius = 0;
    std::optional<double> start, end;
};

// The call that draws `figure` for the pointer direction a.
CircleCall arcFigureCall(ArcFigure figure, const ArcCircle &circle, double a);
// Arcs pass the drawing colour; sectors pass none and take the fore colour.
inline bool figureUsesDrawingColour(ArcFigure figure) { return figure != ArcFigure::Sector; }

void drawCircleCall(CanvasSurface &surface, const CircleCall &call,
                    std::optional<Colour> colour);

} // namespace quor
