#include "effects/gradient_fill.h"
#include "gradient_reference.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quor;
using namespace quor::effects;

namespace {

constexpr Colour Start = rgbColour(239, 239, 239), End = rgbColour(127, 127, 127);

GradientFill fill(GradientStyle style, double w, double h, double frame = 0, int angle = 0)
{
    GradientFill f;
    f.style = style;
    f.width = w;
    f.height = h;
    f.frameWidth = frame;
    f.angle = angle;
    f.start = Start;
    f.end = End;
    return f;
}

// A white surface of the selection's size in twips.
CanvasSurface surfaceFor(const GradientFill &f)
{
    CanvasSurface s;
    s.setScaleSize(f.width, f.height);
    s.setFillStyle(FillStyle::Transparent);
    return s;
}

// The slow reference: every outline on its own, and for the circle styles
// the pixels between the ellipses by the colour rule of their radius.
void drawEach(CanvasSurface &s, const GradientFill &f, const GradientOutlines &outlines,
              std::size_t count)
{
    std::vector<GradientOutline> each;
    for (std::size_t i = 0; i < count; ++i)
        each.push_back(outlines[i]);
    if (!outlines.round() || count == 0) {
        gradient_reference::drawEvery(s, each);
        return;
    }
    const double outer = std::max(f.width, f.height) / 2;
    const double inner = outer > f.frameWidth && f.frameWidth != 0 ? outer - f.frameWidth : 0;
    gradient_reference::drawRound(s, each, false, [&](double rho) {
        return gradient_reference::acrossColour(f.start, f.end, inner, outer, rho,
                                                f.style == GradientStyle::TwoWayCircle);
    });
}

} // namespace

TEST(GradientFill, ColoursRoundHalvesToEvenAndStayInRange)
{
    EXPECT_EQ(forwardColour(Start, End, 0), Start);
    EXPECT_EQ(forwardColour(Start, End, 1), End);
    EXPECT_EQ(forwardColour(Start, End, 0.5), rgbColour(183, 183, 183));
    EXPECT_EQ(backwardColour(Start, End, 0), End);
    EXPECT_EQ(backwardColour(Start, End, 1), Start);
    // 0.5 -> 0 and 2.5 -> 2 (to even), 1.5 -> 2.
    EXPECT_EQ(forwardColour(rgbColour(0, 1, 2), rgbColour(1, 2, 3), 0.5), rgbColour(0, 2, 2));
    // A parameter past the ends cannot spill into the next channel.
    EXPECT_EQ(forwardColour(rgbColour(0, 0, 0), rgbColour(255, 0, 0), 2), rgbColour(255, 0, 0));
    EXPECT_EQ(forwardColour(rgbColour(0, 0, 0), rgbColour(255, 0, 0), -1), 0);

    EXPECT_EQ(gradientPenWidth(GradientStyle::OneWayCircle, 5), 5);
    EXPECT_EQ(gradientPenWidth(GradientStyle::TwoWayCircle, 5), 2);
    for (auto s : {GradientStyle::OneWayBox, GradientStyle::TwoWayBox, GradientStyle::OneWayAngled,
                   GradientStyle::TwoWayAngled})
        EXPECT_EQ(gradientPenWidth(s, 5), 1);
}

TEST(GradientFill, CirclesFromTheCentreOrInAFrameAlongTheEdge)
{
    // Frame 0: radius 1 up to half the longer side, one twip apart.
    const GradientOutlines whole(fill(GradientStyle::OneWayCircle, 3000, 1500));
    ASSERT_EQ(whole.size(), 1500u);
    EXPECT_EQ(whole[0].shape, GradientOutline::Shape::Circle);
    EXPECT_EQ(whole[0].radius, 1);
    EXPECT_EQ(whole[0].x1, 1500);
    EXPECT_EQ(whole[0].y1, 750);
    EXPECT_EQ(whole[0].aspect, 0.5);
    EXPECT_EQ(whole[0].colour, forwardColour(Start, End, 1.0 / 1500));
    EXPECT_EQ(whole[749].colour, forwardColour(Start, End, 750.0 / 1500));
    EXPECT_EQ(whole[1499].radius, 1500);
    EXPECT_EQ(whole[1499].colour, End);

    // Frame 300 on 3000 wide: only the outer ring, start colour inside it.
    const GradientOutlines ring(fill(GradientStyle::OneWayCircle, 3000, 1500, 300));
    ASSERT_EQ(ring.size(), 301u);
    EXPECT_EQ(ring[0].radius, 1200);
    EXPECT_EQ(ring[0].colour, Start);
    EXPECT_EQ(ring[150].colour, forwardColour(Start, End, 0.5));
    EXPECT_EQ(ring[300].colour, End);

    // A frame at or beyond half the longer side counts as none; so does a
    // taller than wide selection, along its height.
    for (double frame : {1500.0, 1501.0, 1e300, double(INFINITY)})
        EXPECT_EQ(GradientOutlines(fill(GradientStyle::OneWayCircle, 3000, 1500, frame)).size(),
                  1500u)
            << frame;
    EXPECT_EQ(GradientOutlines(fill(GradientStyle::OneWayCircle, 1000, 3001)).size(), 1500u);

    // Two way: start, end in the middle of the band, start again.
    const GradientOutlines two(fill(GradientStyle::TwoWayCircle, 3000, 1500, 300));
    ASSERT_EQ(two.size(), 151u + 151u); // 1200..1350, then 1350..1500
    EXPECT_EQ(two[0].colour, Start);
    EXPECT_EQ(two[150].radius, 1350);
    EXPECT_EQ(two[150].colour, End);
    EXPECT_EQ(two[151].radius, 1350);
    EXPECT_EQ(two[151].colour, End);
    EXPECT_EQ(two[301].radius, 1500);
    EXPECT_EQ(two[301].colour, Start);
}

TEST(GradientFill, BoxesShrinkTowardsTheCentreSimilarToTheSelection)
{
    const GradientOutlines wide(fill(GradientStyle::OneWayBox, 3000, 1500));
    ASSERT_EQ(wide.size(), 1501u); // from 1500 down to 0
    const GradientOutline inner = wide[0], outer = wide[1500];
    EXPECT_EQ(inner.shape, GradientOutline::Shape::Box);
    EXPECT_EQ(inner.colour, Start);
    EXPECT_EQ(inner.x1, 1500);
    EXPECT_EQ(inner.y1, 750);
    EXPECT_EQ(outer.colour, End);
    EXPECT_EQ(outer.x1, 0);
    EXPECT_EQ(outer.y1, 0);
    EXPECT_EQ(outer.x2, 3000);
    EXPECT_EQ(outer.y2, 1500);
    // Every box keeps the selection's proportions.
    const GradientOutline mid = wide[1000];
    EXPECT_DOUBLE_EQ((mid.x2 - mid.x1) / (mid.y2 - mid.y1), 2.0);

    // Taller than wide, with a frame: the distance runs along the height.
    const GradientOutlines tall(fill(GradientStyle::OneWayBox, 1000, 3000, 300));
    ASSERT_EQ(tall.size(), 301u);
    EXPECT_EQ(tall[0].y1, 300);
    EXPECT_EQ(tall[0].y2, 2700);
    EXPECT_DOUBLE_EQ(tall[0].x1, 100);
    EXPECT_EQ(tall[0].colour, Start);
    EXPECT_EQ(tall[300].colour, End);

    const GradientOutlines two(fill(GradientStyle::TwoWayBox, 3000, 1500, 300));
    ASSERT_EQ(two.size(), 151u + 151u);
    EXPECT_EQ(two[0].colour, Start);
    EXPECT_EQ(two[150].x1, 150);
    EXPECT_EQ(two[150].colour, End);
    EXPECT_EQ(two[301].x1, 0);
    EXPECT_EQ(two[301].colour, Start);
}

TEST(GradientFill, StraightLinesAtZeroAndNinetyDegrees)
{
    const GradientOutlines v(fill(GradientStyle::OneWayAngled, 300, 150));
    ASSERT_EQ(v.size(), 301u);
    EXPECT_EQ(v[0].colour, Start); // left
    EXPECT_EQ(v[300].colour, End); // right
    EXPECT_EQ(v[120].x1, 120);
    EXPECT_EQ(v[120].x2, 120);
    EXPECT_EQ(v[120].y1, 0);
    EXPECT_EQ(v[120].y2, 150);

    // An angle out of 0..179 counts as 0.
    for (int angle : {180, 200, -45}) {
        const GradientOutlines odd(fill(GradientStyle::OneWayAngled, 300, 150, 0, angle));
        ASSERT_EQ(odd.size(), 301u) << angle;
        EXPECT_EQ(odd[120].x2, 120) << angle;
    }

    const GradientOutlines h(fill(GradientStyle::OneWayAngled, 300, 150, 0, 90));
    ASSERT_EQ(h.size(), 151u);
    EXPECT_EQ(h[0].colour, Start); // top
    EXPECT_EQ(h[150].colour, End); // bottom
    EXPECT_EQ(h[40].y1, 40);
    EXPECT_EQ(h[40].y2, 40);
    EXPECT_EQ(h[40].x2, 300);

    // Two way: 0..W/2 towards the end colour, then from W/2 + 1 back.
    const GradientOutlines two(fill(GradientStyle::TwoWayAngled, 301, 150));
    ASSERT_EQ(two.size(), 151u + 150u);
    EXPECT_EQ(two[0].colour, Start);
    EXPECT_EQ(two[150].x1, 150);
    EXPECT_EQ(two[151].x1, 151.5);
    EXPECT_EQ(two[300].x1, 300.5);
    EXPECT_EQ(two[300].colour, backwardColour(Start, End, 150 / 150.5));
}

TEST(GradientFill, AngledLinesLeanStayInsideAndRunFromCornerToCorner)
{
    const double w = 600, h = 450;
    for (int angle : {1, 30, 45, 60, 89, 91, 120, 135, 179}) {
        SCOPED_TRACE(angle);
        GradientFill f = fill(GradientStyle::OneWayAngled, w, h, 0, angle);
        f.start = 0;
        f.end = rgbColour(255, 0, 0);
        const GradientOutlines lines(f);
        ASSERT_EQ(lines.size(), std::size_t(h + 1 + w + 1));
        const double tanTheta = std::tan(angle * std::atan(1.0) / 45);
        int red = -1;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const GradientOutline o = lines[i];
            for (double x : {o.x1, o.x2})
                ASSERT_TRUE(x >= -1e-6 && x <= w + 1e-6) << i;
            for (double y : {o.y1, o.y2})
                ASSERT_TRUE(y >= -1e-6 && y <= h + 1e-6) << i;
            if (o.y2 != o.y1) { // leaning the angle from the vertical
                ASSERT_NEAR((o.x2 - o.x1) / (o.y2 - o.y1), tanTheta, 1e-9) << i;
            }
            ASSERT_GE(redOf(o.colour), red) << "the colour runs one way, " << i;
            red = redOf(o.colour);
        }
        EXPECT_EQ(lines[0].colour, 0);
        EXPECT_EQ(lines[lines.size() - 1].colour, rgbColour(255, 0, 0));
        // The start colour's corner: bottom left below 90 degrees, top left
        // above.
        EXPECT_EQ(lines[0].x1, 0);
        EXPECT_EQ(lines[0].y1, angle < 90 ? h : 0);
    }

    // Two way: start at both far corners, end across the middle.
    const GradientOutlines two(fill(GradientStyle::TwoWayAngled, w, h, 0, 45));
    EXPECT_EQ(two[0].colour, Start);
    EXPECT_EQ(two[two.size() - 1].colour, Start);
    int darkest = 255;
    for (std::size_t i = 0; i < two.size(); ++i)
        darkest = std::min(darkest, redOf(two[i].colour));
    EXPECT_EQ(darkest, redOf(End));
}

TEST(GradientFill, NothingOnAnEmptySelection)
{
    for (int style = 1; style <= 6; ++style)
        for (auto [w, h] : {std::pair{0.0, 100.0}, {100.0, 0.0}, {-5.0, 100.0},
                            {double(NAN), 100.0}})
            EXPECT_EQ(GradientOutlines(fill(GradientStyle(style), w, h, 0, 30)).size(), 0u)
                << style << " " << w << " x " << h;
}

// Drawing the outlines together must give exactly the picture drawing each
// one in turn gives (and the pixels between the ellipses), whatever the pen
// and draw mode.
TEST(GradientFill, DrawingTogetherEqualsDrawingEachInTurn)
{
    struct Pen { int mode, width, style; };
    const Pen pens[] = {{13, 1, 0}, {7, 1, 0}, {2, 1, 0}, {13, 3, 0}, {10, 1, 2}, {13, 2, 6}};
    struct Case { GradientStyle style; double frame; int angle; };
    const Case cases[] = {
        {GradientStyle::OneWayCircle, 0, 0},  {GradientStyle::OneWayCircle, 200, 0},
        {GradientStyle::TwoWayCircle, 0, 0},  {GradientStyle::OneWayBox, 0, 0},
        {GradientStyle::TwoWayBox, 150, 0},   {GradientStyle::OneWayAngled, 0, 0},
        {GradientStyle::OneWayAngled, 0, 45}, {GradientStyle::TwoWayAngled, 0, 90},
        {GradientStyle::TwoWayAngled, 0, 120},
    };
    for (const Case &c : cases)
        for (const Pen &p : pens) {
            SCOPED_TRACE(testing::Message() << int(c.style) << " angle " << c.angle << " mode "
                                            << p.mode << " width " << p.width);
            GradientFill f = fill(c.style, 61 * 15 + 7, 43 * 15, c.frame, c.angle);
            f.start = rgbColour(250, 10, 128);
            f.end = rgbColour(3, 200, 77);
            const GradientOutlines outlines(f);
            CanvasSurface each = surfaceFor(f);
            each.setDrawMode(DrawMode(p.mode));
            each.setDrawWidth(p.width);
            each.setLineStyle(LineStyle(p.style));
            CanvasSurface together = each;
            drawEach(each, f, outlines, outlines.size());
            EXPECT_EQ(drawOutlines(together, outlines), outlines.size());
            ASSERT_EQ(together.image(), each.image());
            EXPECT_EQ(together.drawMode(), DrawMode(p.mode));
        }
}

TEST(GradientFill, APausedRunHasDrawnEveryOutlineBeforeThePause)
{
    const GradientFill f = fill(GradientStyle::OneWayCircle, 40 * 15, 30 * 15);
    const GradientOutlines outlines(f);
    CanvasSurface together = surfaceFor(f);
    // Due after every 37th outline; the third show stops the run.
    std::size_t polled = 0, shows = 0;
    GradientPace pace;
    pace.due = [&] { return ++polled % 37 == 0; };
    pace.show = [&] {
        CanvasSurface each = surfaceFor(f);
        drawEach(each, f, outlines, polled);
        EXPECT_EQ(together.image(), each.image()) << "at outline " << polled;
        return ++shows < 3;
    };
    EXPECT_EQ(drawOutlines(together, outlines, 0, pace), 111u);
    // Going on from there finishes the same picture.
    EXPECT_EQ(drawOutlines(together, outlines, 111), outlines.size() - 111);
    CanvasSurface each = surfaceFor(f);
    drawEach(each, f, outlines, outlines.size());
    EXPECT_EQ(together.image(), each.image());
}

// Ellipses of one-pixel outlines a twip apart leave pinholes between them:
// every pixel of the ellipse painted, as the slow reference has it, by
// copying or by exclusive-or.
TEST(GradientFill, AnEllipseHasNoHolesBetweenItsOutlines)
{
    const GradientFill f = fill(GradientStyle::OneWayCircle, 77 * 15, 58 * 15);
    const GradientOutlines outlines(f);
    for (int mode : {13, 7}) {
        SCOPED_TRACE(mode);
        CanvasSurface each = surfaceFor(f);
        each.setDrawMode(DrawMode(mode));
        CanvasSurface together = each;
        std::vector<GradientOutline> rings;
        for (std::size_t i = 0; i < outlines.size(); ++i)
            rings.push_back(outlines[i]);
        ASSERT_GT(gradient_reference::holes(each, rings).size(), 40u);
        drawEach(each, f, outlines, outlines.size());
        drawOutlines(together, outlines);
        ASSERT_EQ(together.image(), each.image());
        if (mode != 13)
            continue;
        CanvasSurface inside = gradient_reference::mask(each);
        inside.setFillStyle(FillStyle::Solid);
        drawOutline(inside, gradient_reference::whole(rings.back()));
        int untouched = 0;
        for (int y = 0; y < 58; ++y)
            for (int x = 0; x < 77; ++x)
                untouched += (inside.image().pixel(x, y) & 0xffffff)
                    && together.image().pixel(x, y) == 0xffffffffu;
        EXPECT_EQ(untouched, 0);
    }
}

TEST(GradientFill, AFrameLeavesTheMiddleAlone)
{
    // 200 x 100 pixels, a 300-twip (20-pixel) frame.
    const GradientFill f = fill(GradientStyle::OneWayCircle, 3000, 1500, 300);
    CanvasSurface s = surfaceFor(f);
    drawOutlines(s, GradientOutlines(f));
    EXPECT_EQ(s.point(1500, 750), 0xffffff);
    EXPECT_EQ(s.point(1500, 1500 - 15 * 25), 0xffffff); // inside the innermost ellipse
    EXPECT_EQ(s.point(1500, 5), End);                    // the outermost touches the top
    EXPECT_EQ(s.point(5, 750), End);                     // and the left side

    const GradientFill boxes = fill(GradientStyle::OneWayBox, 3000, 1500, 300);
    CanvasSurface b = surfaceFor(boxes);
    drawOutlines(b, GradientOutlines(boxes));
    EXPECT_EQ(b.point(1500, 750), 0xffffff);
    EXPECT_EQ(b.point(300, 700), Start); // the innermost box's left side
    EXPECT_EQ(b.point(0, 0), End);
}
