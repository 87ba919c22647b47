// Arc and sector geometry: the direction rule, what the second press reads
// from the guide, and the Circle call of each figure, down to its pixels.
#include "tools/arc_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace quor;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr std::uint32_t M = 0xffffff;

bool inked(const CanvasSurface &s, int x, int y) { return (s.image().pixel(x, y) & M) != M; }

QRect ink(const CanvasSurface &s)
{
    QRect box;
    for (int y = 0; y < s.heightPx(); ++y)
        for (int x = 0; x < s.widthPx(); ++x)
            if (inked(s, x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

int inkIn(const CanvasSurface &s, const QRect &r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += inked(s, x, y);
    return n;
}

} // namespace

TEST(PointAngle, EachCaseOfTheDirectionRule)
{
    const double cx = 1000, cy = 1000;
    EXPECT_DOUBLE_EQ(pointAngle(cx, cy, 1000, 1500), 3 * Pi / 2); // straight below
    EXPECT_DOUBLE_EQ(pointAngle(cx, cy, 1000, 20), Pi / 2);       // straight above
    EXPECT_DOUBLE_EQ(pointAngle(cx, cy, 1500, 1500), 7 * Pi / 4); // below right
    EXPECT_DOUBLE_EQ(pointAngle(cx, cy, 500, 500), 3 * Pi / 4);   // above left
    EXPECT_DOUBLE_EQ(pointAngle(cx, cy, 500, 1000), Pi);          // level left
    EXPECT_DOUBLE_EQ(pointAngle(cx, cy, 1500, 500), Pi / 4);      // above right
    EXPECT_EQ(pointAngle(cx, cy, 1500, 1000), 0);                 // level right
    EXPECT_DOUBLE_EQ(pointAngle(cx, cy, 500, 1500), 5 * Pi / 4);  // below left
    EXPECT_EQ(pointAngle(cx, cy, cx, cy), 0);                     // the centre itself

    // Off the diagonals the quotient is taken the right way round.
    EXPECT_DOUBLE_EQ(pointAngle(0, 0, 300, -100), std::atan(1.0 / 3));
    EXPECT_DOUBLE_EQ(pointAngle(0, 0, -100, -300), Pi - std::atan(3.0));
    EXPECT_DOUBLE_EQ(pointAngle(0, 0, -300, 100), Pi + std::atan(1.0 / 3));
    EXPECT_DOUBLE_EQ(pointAngle(0, 0, 100, 300), 2 * Pi - std::atan(3.0));
    for (double px : {-7.0, 0.0, 7.0})
        for (double py : {-7.0, 0.0, 7.0}) {
            const double g = pointAngle(0, 0, px, py);
            EXPECT_GE(g, 0);
            EXPECT_LT(g, 2 * Pi);
        }
}

TEST(ArcGuide, SecondPressReadsTheGuideWithItsEndRowRounded)
{
    const ArcCircle c = readGuide({1000, 1000, 2000, 1000});
    EXPECT_EQ(c.cx, 1000);
    EXPECT_EQ(c.cy, 1000);
    EXPECT_EQ(c.radius, 1000);
    EXPECT_EQ(c.guideAngle, 0);

    // Halves go to the even row, for the radius and for the direction.
    EXPECT_DOUBLE_EQ(readGuide({0, 0, 0, 2.5}).radius, 2);
    EXPECT_DOUBLE_EQ(readGuide({0, 0, 0, 3.5}).radius, 4);
    EXPECT_EQ(readGuide({0, 0, 300, 0.5}).guideAngle, 0); // not just below level
    EXPECT_DOUBLE_EQ(readGuide({0, 0, 300, 0.6}).guideAngle,
                     2 * Pi - std::atan(1.0 / 300));

    EXPECT_FALSE((ArcGuide{500, 700, 500, 700}).placed());
    EXPECT_TRUE((ArcGuide{500, 700, 500, 715}).placed());
}

TEST(ArcFigures, CallsOfTheWorkedExample)
{
    // Guide from (1000, 1000) to (2000, 1000), second press at (1000, 0).
    const ArcCircle c = readGuide({1000, 1000, 2000, 1000});
    const double a = pointAngle(c.cx, c.cy, 1000, 0);
    ASSERT_DOUBLE_EQ(a, Pi / 2);

    const CircleCall arc = arcFigureCall(ArcFigure::Arc, c, a);
    EXPECT_EQ(arc.cx, 1000);
    EXPECT_EQ(arc.cy, 1000);
    EXPECT_EQ(arc.radius, 1000);
    EXPECT_EQ(arc.start, a);
    EXPECT_EQ(arc.end, 0.0);
    EXPECT_FALSE(std::signbit(*arc.end)); // no radius at the guide

    const CircleCall band = arcFigureCall(ArcFigure::ArcRubberBand, c, a);
    EXPECT_EQ(band.start, -a);
    EXPECT_EQ(band.end, 0.0);

    const CircleCall sector = arcFigureCall(ArcFigure::Sector, c, a);
    EXPECT_EQ(sector.start, -a);
    EXPECT_EQ(sector.end, -2 * Pi); // the zero angle still draws its radius

    EXPECT_TRUE(figureUsesDrawingColour(ArcFigure::Arc));
    EXPECT_TRUE(figureUsesDrawingColour(ArcFigure::ArcRubberBand));
    EXPECT_FALSE(figureUsesDrawingColour(ArcFigure::Sector));
}

TEST(ArcFigures, PointerOnTheGuideOrOnTheCentre)
{
    const ArcCircle c = readGuide({1000, 1000, 2000, 1000});
    // Back on the guide's direction: the whole circle for every figure.
    const double onGuide = pointAngle(c.cx, c.cy, 3000, 1000);
    for (ArcFigure f : {ArcFigure::ArcRubberBand, ArcFigure::Arc, ArcFigure::Sector}) {
        const CircleCall call = arcFigureCall(f, c, onGuide);
        EXPECT_FALSE(call.start);
        EXPECT_FALSE(call.end);
        EXPECT_EQ(call.radius, 1000);
    }

    // A press on the centre is direction 0; with an upward guide the radius
    // to the right is drawn through -2pi.
    const ArcCircle up = readGuide({1000, 1000, 1000, 0});
    const double a = pointAngle(up.cx, up.cy, up.cx, up.cy);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(arcFigureCall(ArcFigure::ArcRubberBand, up, a).start, -2 * Pi);
    EXPECT_EQ(arcFigureCall(ArcFigure::Sector, up, a).start, -2 * Pi);
    EXPECT_EQ(arcFigureCall(ArcFigure::Sector, up, a).end, -Pi / 2);
    EXPECT_EQ(arcFigureCall(ArcFigure::Arc, up, a).start, 0.0);
}

TEST(ArcFigures, PixelsOfTheThreeQuarterArcAndSector)
{
    // The worked example moved to centre (3000, 3000), pixel (200, 200), so
    // that all of the circle (radius 1000 twips, 67 pixels) lies on the
    // bitmap.
    const ArcCircle c = readGuide({3000, 3000, 4000, 3000});
    const double a = pointAngle(c.cx, c.cy, 3000, 2000);
    const QRect topRight(201, 0, 199, 200);

    CanvasSurface arc(400, 400);
    drawCircleCall(arc, arcFigureCall(ArcFigure::Arc, c, a), 0x000000);
    EXPECT_EQ(ink(arc), QRect(QPoint(133, 133), QPoint(267, 267)));
    EXPECT_TRUE(inked(arc, 200, 133)); // top
    EXPECT_TRUE(inked(arc, 133, 200)); // left
    EXPECT_TRUE(inked(arc, 200, 267)); // bottom
    EXPECT_TRUE(inked(arc, 267, 200)); // right
    EXPECT_EQ(inkIn(arc, topRight), 0);
    EXPECT_FALSE(inked(arc, 200, 180)); // no radii
    EXPECT_FALSE(inked(arc, 220, 200));

    // The sector: the same three quarters closed by both radii.
    CanvasSurface sector(400, 400);
    drawCircleCall(sector, arcFigureCall(ArcFigure::Sector, c, a), std::nullopt);
    EXPECT_EQ(ink(sector), QRect(QPoint(133, 133), QPoint(267, 267)));
    for (int k = 1; k < 67; ++k) {
        EXPECT_TRUE(inked(sector, 200, 200 - k)) << k; // radius to the top
        EXPECT_TRUE(inked(sector, 200 + k, 200)) << k; // radius to the right
    }
    EXPECT_EQ(inkIn(sector, topRight), 0);

    // Filled, only the three quarters take the fill.
    CanvasSurface filled(400, 400);
    filled.setFillStyle(FillStyle::Solid);
    filled.setFillColor(0x00ff00);
    drawCircleCall(filled, arcFigureCall(ArcFigure::Sector, c, a), std::nullopt);
    EXPECT_EQ(filled.point(170 * 15, 230 * 15), 0x00ff00);
    EXPECT_EQ(filled.point(170 * 15, 170 * 15), 0x00ff00);
    EXPECT_EQ(filled.point(230 * 15, 170 * 15), 0xffffff);

    // The full circle of a = g reaches into every quadrant.
    CanvasSurface full(400, 400);
    drawCircleCall(full, arcFigureCall(ArcFigure::Arc, c, c.guideAngle), 0x000000);
    EXPECT_GT(inkIn(full, topRight), 0);
}
