#include "tools/arc_geometry.h"

#include <cmath>
#include <numbers>

namespace quor {

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double TwoPi = 2 * Pi;

// A zero divisor becomes 1; only reached where the result does not use it.
double quotient(double num, double den) { return num / (den == 0 ? 1 : den); }

// -angle, with -2pi for 0 so that the radius at direction 0 is still drawn
// (-0 would not be negative).
double withRadius(double angle) { return angle == 0 ? -TwoPi : -angle; }

} // namespace

double pointAngle(double cx, double cy, double px, double py)
{
    // The order of the cases decides the borders: a point level with the
    // centre is 0 on the right and pi on the left.
    if (px == cx && py > cy)
        return 3 * Pi / 2;
    if (px == cx && py < cy)
        return Pi / 2;
    if (px > cx && py > cy)
        return TwoPi - std::atan(quotient(py - cy, px - cx));
    if (px < cx && py <= cy)
        return Pi - std::atan(quotient(cy - py, cx - px));
    if (px > cx && py <= cy)
        return std::atan(quotient(cy - py, px - cx));
    if (px < cx && py > cy)
        return Pi + std::atan(quotient(py - cy, cx - px));
    return 0;
}

ArcCircle readGuide(const ArcGuide &guide)
{
    const double y2 = roundHalfEven(guide.y2);
    const double dx = guide.x2 - guide.x1, dy = y2 - guide.y1;
    return {guide.x1, guide.y1, std::sqrt(dx * dx + dy * dy),
            pointAngle(guide.x1, guide.y1, guide.x2, y2)};
}

CircleCall arcFigureCall(ArcFigure figure, const ArcCircle &circle, double a)
{
    CircleCall call{circle.cx, circle.cy, circle.radius, std::nullopt, std::nullopt};
    const double g = circle.guideAngle;
    if (a == g)
        return call; // the pointer back on the guide: the whole circle
    switch (figure) {
    case ArcFigure::ArcRubberBand:
        call.start = withRadius(a);
        call.end = g;
        break;
    case ArcFigure::Arc:
        call.start = a;
        call.end = g;
        break;
    case ArcFigure::Sector:
        call.start = withRadius(a);
        call.end = withRadius(g);
        break;
    }
    return call;
}

void drawCircleCall(CanvasSurface &surface, const CircleCall &call,
                    std::optional<Colour> colour)
{
    surface.circle(call.cx, call.cy, call.radius, colour, call.start, call.end);
}

} // namespace quor
