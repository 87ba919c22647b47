// Gradient figures: colours, band widths, the outlines of each figure, and
// the painted result against drawing every outline in order on its own.
#include "gradient_reference.h"
#include "tools/gradient_shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using namespace quor;
namespace ref = gradient_reference;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr Colour Black = 0, White = 0xffffff;
const GradientColours BlackToWhite{Black, White};
const GradientColours Warm{rgbColour(250, 20, 3), rgbColour(10, 200, 101)};

Colour grey(int v) { return rgbColour(v, v, v); }

struct Recorder final : OutlineSink
{
    std::vector<GradientOutline> outlines;
    std::vector<std::size_t> pauses; // outline count at each pause
    void outline(const GradientOutline &o) override { outlines.push_back(o); }
    bool pause() override
    {
        pauses.push_back(outlines.size());
        return true;
    }
};

// The reference: every outline drawn through the surface on its own,
// stopping after `stopAt` pauses when given.
struct EveryOutline final : OutlineSink
{
    CanvasSurface &surface;
    int stopAt = -1, pauses = 0;
    explicit EveryOutline(CanvasSurface &s, int stop = -1)
        : surface(s)
        , stopAt(stop)
    {
    }
    void outline(const GradientOutline &o) override { drawOutline(surface, o); }
    bool pause() override { return ++pauses != stopAt; }
};

// A bitmap of noise, so that any difference in the raster operations shows.
QImage noise(int w, int h, unsigned seed)
{
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, 0xff000000u | (rng() & 0xffffffu));
    return img;
}

CanvasSurface ground(int w, int h, Colour c)
{
    CanvasSurface s(w, h);
    s.setBackColor(c);
    s.setFillStyle(FillStyle::Transparent);
    return s;
}

Colour pixel(const CanvasSurface &s, int x, int y)
{
    return s.point(x * CanvasSurface::TwipsPerPixel, y * CanvasSurface::TwipsPerPixel);
}

int channelDistance(Colour a, Colour b)
{
    return std::max({std::abs(redOf(a) - redOf(b)), std::abs(greenOf(a) - greenOf(b)),
                     std::abs(blueOf(a) - blueOf(b))});
}

// The reference of a round figure of the gradient tools, the band from
// radius r0 to r.
void drawRound(CanvasSurface &s, const std::vector<GradientOutline> &outlines, double r0,
               double r, GradientKind kind, const GradientColours &c)
{
    const bool along = kind == GradientKind::AlongOneWay || kind == GradientKind::AlongTwoWay;
    ref::drawRound(s, outlines, along, [&](double rho) {
        return ref::acrossColour(c.start, c.end, r0, r, rho, kind == GradientKind::TwoWay);
    });
}

} // namespace

TEST(GradientRules, ColoursRoundHalvesToEvenPerChannel)
{
    EXPECT_EQ(mixColour(Black, White, 0), Black);
    EXPECT_EQ(mixColour(Black, White, 1), White);
    EXPECT_EQ(mixColour(Black, White, 749.0 / 1499), grey(127));
    // 0.5, 1.5 and 2.5 halfway from 0: to 0, 2 and 2.
    EXPECT_EQ(mixColour(Black, rgbColour(1, 3, 5), 0.5), rgbColour(0, 2, 2));
    EXPECT_EQ(mixColour(rgbColour(200, 0, 9), rgbColour(100, 50, 9), 0.25),
              rgbColour(175, 12, 9)); // 12.5 -> 12
}

TEST(GradientRules, BandWidthsAndInnerRadius)
{
    EXPECT_EQ(bandWidthOf("300"), 300);
    EXPECT_EQ(bandWidthOf(" 0 "), 0);
    EXPECT_EQ(bandWidthOf("12.5"), 12.5);
    for (const char *bad : {"", "abc", "3x", "-5", "inf", "nan"})
        EXPECT_FALSE(bandWidthOf(bad)) << bad;

    EXPECT_EQ(innerRadius(1500, 0), 1);
    EXPECT_EQ(innerRadius(1500, 300), 1200);
    EXPECT_EQ(innerRadius(1500, 1500), 1); // not narrower than the figure
    EXPECT_EQ(innerRadius(1500, 2000), 1);

    const GradientBox b = normalisedBox(900, 200, 300, 800);
    EXPECT_EQ(b.left, 300);
    EXPECT_EQ(b.top, 200);
    EXPECT_EQ(b.right, 900);
    EXPECT_EQ(b.bottom, 800);
}

TEST(GradientEllipse, OutlinesOfA3000By1500Box)
{
    const GradientBox box{0, 0, 3000, 1500};
    Recorder all;
    emitGradientEllipse(box, 0, BlackToWhite, GradientKind::OneWay, all);
    ASSERT_EQ(all.outlines.size(), 1500u);
    EXPECT_EQ(all.pauses.size(), 1500u); // shown after every outline
    for (std::size_t i = 0; i < all.outlines.size(); ++i) {
        const GradientOutline &o = all.outlines[i];
        ASSERT_EQ(o.radius, double(i + 1));
        ASSERT_EQ(o.x1, 1500);
        ASSERT_EQ(o.y1, 750);
        ASSERT_EQ(o.aspect, 0.5);
        ASSERT_FALSE(o.start || o.end);
    }
    EXPECT_EQ(all.outlines[0].colour, Black);
    EXPECT_EQ(all.outlines[749].colour, grey(127)); // radius 750
    EXPECT_EQ(all.outlines.back().colour, White);

    Recorder band;
    emitGradientEllipse(box, 300, BlackToWhite, GradientKind::OneWay, band);
    ASSERT_EQ(band.outlines.size(), 301u);
    EXPECT_EQ(band.outlines.front().radius, 1200);
    EXPECT_EQ(band.outlines.back().radius, 1500);

    Recorder wide;
    emitGradientEllipse(box, 2000, BlackToWhite, GradientKind::OneWay, wide);
    EXPECT_EQ(wide.outlines.size(), 1500u);
    EXPECT_EQ(wide.outlines[749].colour, grey(127));

    // Two way: end colour in the middle of the band, start at both edges.
    Recorder two;
    emitGradientEllipse(box, 300, BlackToWhite, GradientKind::TwoWay, two);
    ASSERT_EQ(two.outlines.size(), 302u); // the middle radius twice
    EXPECT_EQ(two.outlines.front().colour, Black);
    EXPECT_EQ(two.outlines[150].radius, 1350);
    EXPECT_EQ(two.outlines[150].colour, White);
    EXPECT_EQ(two.outlines[151].radius, 1350);
    EXPECT_EQ(two.outlines[151].colour, White);
    EXPECT_EQ(two.outlines.back().colour, Black);
}

TEST(GradientEllipse, PaintsTheBandAndLeavesTheInside)
{
    const Colour ground0 = rgbColour(30, 160, 90);
    const GradientBox box{0, 0, 3000, 1500};
    CanvasSurface banded = ground(210, 110, ground0);
    EXPECT_EQ(drawGradientEllipse(banded, box, "300", BlackToWhite, GradientKind::OneWay),
              GradientResult::Drawn);
    EXPECT_EQ(pixel(banded, 100, 50), ground0); // the centre
    EXPECT_EQ(pixel(banded, 150, 50), ground0); // inside radius 1200 (80 pixels)
    EXPECT_EQ(pixel(banded, 200, 50), White);   // the rim
    EXPECT_EQ(pixel(banded, 100, 0), White);
    EXPECT_EQ(pixel(banded, 205, 50), ground0); // outside

    CanvasSurface full = ground(210, 110, ground0);
    drawGradientEllipse(full, box, "0", BlackToWhite, GradientKind::OneWay);
    EXPECT_EQ(pixel(full, 200, 50), White);
    EXPECT_LT(channelDistance(pixel(full, 100, 50), Black), 3);
    EXPECT_LT(channelDistance(pixel(full, 150, 50), grey(127)), 3);

    CanvasSurface wide = ground(210, 110, ground0);
    drawGradientEllipse(wide, box, "2000", BlackToWhite, GradientKind::OneWay);
    EXPECT_EQ(wide.image(), full.image());
}

TEST(GradientFigures, NothingForUnusableInput)
{
    const GradientBox box{0, 0, 3000, 1500};
    CanvasSurface s = ground(60, 60, rgbColour(1, 2, 3));
    const QImage before = s.image();
    EXPECT_EQ(drawGradientEllipse(s, box, "wide", BlackToWhite, GradientKind::OneWay),
              GradientResult::Nothing);
    EXPECT_EQ(drawGradientFrames(s, box, "", BlackToWhite, GradientKind::OneWay),
              GradientResult::Nothing);
    EXPECT_EQ(drawGradientArcBand(s, {450, 450, 300, 0}, 2, "1e", BlackToWhite,
                                  GradientKind::OneWay),
              GradientResult::Nothing);
    // A box without height or width.
    const GradientBox flat{0, 300, 900, 300};
    EXPECT_EQ(drawGradientEllipse(s, flat, "0", BlackToWhite, GradientKind::OneWay),
              GradientResult::Nothing);
    EXPECT_EQ(drawGradientFrames(s, flat, "0", BlackToWhite, GradientKind::TwoWay),
              GradientResult::Nothing);
    EXPECT_EQ(drawDirectionalGradient(s, {300, 0, 300, 900}, 30, BlackToWhite,
                                      GradientKind::OneWay),
              GradientResult::Nothing);
    // No room between the innermost and the outermost outline: R - r0 = 0.
    EXPECT_EQ(drawGradientArcBand(s, {450, 450, 1, 0}, 2, "0", BlackToWhite,
                                  GradientKind::AlongOneWay),
              GradientResult::Nothing);
    EXPECT_EQ(drawGradientEllipse(s, {0, 0, 2, 1}, "0", BlackToWhite, GradientKind::TwoWay),
              GradientResult::Nothing);
    // A direction the palette never gives.
    for (double angle : {-1.0, 181.0, std::nan("")})
        EXPECT_EQ(drawDirectionalGradient(s, box, angle, BlackToWhite, GradientKind::OneWay),
                  GradientResult::Nothing);
    EXPECT_EQ(s.image(), before);
}

TEST(GradientFrames, InsideStartsWithTheStartColourOneWay)
{
    Recorder wide;
    emitGradientFrames({300, 600, 3300, 2100}, 0, BlackToWhite, GradientKind::OneWay, wide);
    ASSERT_EQ(wide.outlines.size(), 1501u); // left edges 1800 down to 300
    const GradientOutline &inner = wide.outlines.front(), &outer = wide.outlines.back();
    EXPECT_EQ(inner.shape, GradientOutline::Shape::Box);
    EXPECT_EQ(inner.colour, Black);
    EXPECT_EQ(inner.x1, 1800);
    EXPECT_EQ(inner.x2, 1800);
    EXPECT_EQ(inner.y1, 1350); // similar to the box: a point at the centre
    EXPECT_EQ(outer.colour, White);
    EXPECT_EQ(outer.x1, 300);
    EXPECT_EQ(outer.y1, 600);
    EXPECT_EQ(outer.x2, 3300);
    EXPECT_EQ(outer.y2, 2100);
    const GradientOutline &some = wide.outlines[1000]; // left edge 800
    EXPECT_EQ(some.y1, 600 + 500 * 0.5);
    EXPECT_EQ(some.x2, 2800);

    // Taller than wide: the top edges sweep; a band of 300 from the border.
    Recorder tall;
    emitGradientFrames({0, 0, 1000, 4000}, 300, BlackToWhite, GradientKind::TwoWay, tall);
    ASSERT_FALSE(tall.outlines.empty());
    EXPECT_EQ(tall.outlines.front().y1, 300);
    EXPECT_EQ(tall.outlines.front().x1, 75);
    EXPECT_EQ(tall.outlines.front().colour, Black);
    EXPECT_EQ(tall.outlines[150].y1, 150);
    EXPECT_EQ(tall.outlines[150].colour, White);
    EXPECT_EQ(tall.outlines.back().y1, 0);
    EXPECT_EQ(tall.outlines.back().y2, 4000);
    EXPECT_EQ(tall.outlines.back().colour, Black);
}

TEST(DirectionalGradient, StartAndEndCornersByDirection)
{
    // 200 x 100 pixels; the start colour at the sweep's first corner, the end
    // colour at the opposite one.
    const GradientBox box{0, 0, 3000, 1500};
    struct Case
    {
        double angle;
        QPoint startCorner, endCorner;
    };
    const Case cases[] = {
        {0, {0, 50}, {199, 50}},   {90, {100, 0}, {100, 99}},  {45, {0, 99}, {199, 0}},
        {135, {0, 0}, {199, 99}},  {30, {0, 99}, {199, 0}},    {150, {0, 0}, {199, 99}},
        {1, {0, 50}, {199, 50}},   {89, {0, 99}, {199, 0}},  {180, {0, 50}, {199, 50}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.angle);
        CanvasSurface s = ground(200, 100, rgbColour(0, 255, 0));
        drawDirectionalGradient(s, box, c.angle, BlackToWhite, GradientKind::OneWay);
        EXPECT_LT(channelDistance(pixel(s, c.startCorner.x(), c.startCorner.y()), Black), 8);
        EXPECT_LT(channelDistance(pixel(s, c.endCorner.x(), c.endCorner.y()), White), 8);
        const QPoint mid = (c.startCorner + c.endCorner) / 2;
        EXPECT_LT(channelDistance(pixel(s, mid.x(), mid.y()), grey(128)), 10);
        // Every pixel covered; lines leave out their last pixel, which at
        // 90 to 180 degrees lies on the top row.
        for (int y = 1; y < 100; y += 9)
            for (int x = 0; x < 200; x += 7)
                ASSERT_NE(pixel(s, x, y), rgbColour(0, 255, 0)) << x << "," << y;

        // Two way: the start colour at both corners, the end in the middle.
        CanvasSurface two = ground(200, 100, rgbColour(0, 255, 0));
        drawDirectionalGradient(two, box, c.angle, BlackToWhite, GradientKind::TwoWay);
        EXPECT_LT(channelDistance(pixel(two, c.startCorner.x(), c.startCorner.y()), Black), 8);
        EXPECT_LT(channelDistance(pixel(two, c.endCorner.x(), c.endCorner.y()), Black), 12);
        EXPECT_LT(channelDistance(pixel(two, mid.x(), mid.y()), White), 12);
    }
}

TEST(DirectionalGradient, LinesOfTheSweeps)
{
    const GradientBox box{0, 0, 3000, 1500};
    Recorder across;
    emitDirectionalGradient(box, 0, BlackToWhite, GradientKind::OneWay, across);
    ASSERT_EQ(across.outlines.size(), 3001u);
    EXPECT_EQ(across.outlines[10].x1, 10);
    EXPECT_EQ(across.outlines[10].y2, 1500);
    EXPECT_EQ(across.outlines.back().colour, White);

    Recorder halves;
    emitDirectionalGradient(box, 90, BlackToWhite, GradientKind::TwoWay, halves);
    ASSERT_EQ(halves.outlines.size(), 1501u); // rows 0..750, then 751..1500
    EXPECT_EQ(halves.outlines[750].y1, 750);
    EXPECT_EQ(halves.outlines[750].colour, White);
    EXPECT_EQ(halves.outlines[751].y1, 751);
    EXPECT_EQ(halves.outlines.back().colour, Black);

    // 45 degrees: up the left edge from the bottom, then along the top; each
    // line ends on the bottom or the right edge.
    Recorder slant;
    emitDirectionalGradient(box, 45, BlackToWhite, GradientKind::OneWay, slant);
    ASSERT_EQ(slant.outlines.size(), 1501u + 3001u);
    const GradientOutline &first = slant.outlines.front(), &last = slant.outlines.back();
    EXPECT_EQ(first.x1, 0);
    EXPECT_EQ(first.y1, 1500);
    EXPECT_EQ(first.colour, Black);
    EXPECT_EQ(last.x1, 3000);
    EXPECT_EQ(last.y1, 0);
    EXPECT_EQ(last.colour, White);
    for (const GradientOutline &o : slant.outlines) {
        ASSERT_NEAR(o.x2 - o.x1, o.y2 - o.y1, 1e-6);
        ASSERT_TRUE(std::abs(o.y2 - 1500) < 1e-6 || std::abs(o.x2 - 3000) < 1e-6);
    }
    // 135 degrees rises to the right from the left and the bottom edges.
    Recorder rising;
    emitDirectionalGradient(box, 135, BlackToWhite, GradientKind::OneWay, rising);
    EXPECT_EQ(rising.outlines.front().y1, 0);
    EXPECT_EQ(rising.outlines.back().x1, 3000);
    EXPECT_EQ(rising.outlines.back().y1, 1500);
    for (const GradientOutline &o : rising.outlines) {
        ASSERT_NEAR(o.x2 - o.x1, o.y1 - o.y2, 1e-6);
        ASSERT_TRUE(std::abs(o.y2) < 1e-6 || std::abs(o.x2 - 3000) < 1e-6);
    }
}

TEST(GradientArcBand, AcrossTheBand)
{
    const ArcCircle c{3000, 3000, 1500, Pi / 2};
    Recorder one;
    emitGradientArcBand(c, Pi, 300, BlackToWhite, GradientKind::OneWay, one);
    ASSERT_EQ(one.outlines.size(), 301u);
    EXPECT_EQ(one.outlines.front().radius, 1200);
    EXPECT_EQ(one.outlines.front().colour, Black);
    EXPECT_EQ(one.outlines[150].colour, mixColour(Black, White, 0.5));
    EXPECT_EQ(one.outlines.back().radius, 1500);
    EXPECT_EQ(one.outlines.back().colour, White);
    for (const GradientOutline &o : one.outlines) {
        ASSERT_EQ(o.start, Pi); // from the pointer to the guide, no radii
        ASSERT_EQ(o.end, Pi / 2);
    }
    Recorder two;
    emitGradientArcBand(c, Pi, 300, BlackToWhite, GradientKind::TwoWay, two);
    EXPECT_EQ(two.outlines.front().colour, Black);
    EXPECT_EQ(two.outlines[150].colour, White);
    EXPECT_EQ(two.outlines.back().colour, Black);
}

TEST(GradientArcBand, AlongTheArcInDirectionSteps)
{
    // Guide straight up, pointer to the left: a quarter clockwise on screen
    // would be wrong; the arc runs from the guide clockwise to the pointer,
    // i.e. down from pi/2 through 0 and on from 2pi to pi.
    const ArcCircle c{3000, 3000, 150, Pi / 2};
    Recorder one;
    emitGradientArcBand(c, Pi, 30, BlackToWhite, GradientKind::AlongOneWay, one);
    const std::size_t perStep = 31; // radii 120..150
    ASSERT_EQ(one.outlines.size() % perStep, 0u);
    const std::size_t steps = one.outlines.size() / perStep;
    EXPECT_EQ(one.pauses.size(), steps); // shown once per direction step
    EXPECT_NEAR(double(steps), (1.5 * Pi) * 150, 2);
    bool passedZero = false;
    double previousEnd = 10;
    for (std::size_t k = 0; k < steps; ++k) {
        const GradientOutline &o = one.outlines[k * perStep];
        EXPECT_EQ(o.radius, 120);
        EXPECT_EQ(one.outlines[k * perStep + perStep - 1].radius, 150);
        EXPECT_EQ(one.outlines[k * perStep + perStep - 1].colour, o.colour);
        ASSERT_GE(*o.start, 0);
        ASSERT_LE(*o.end, 2 * Pi);
        ASSERT_NEAR(*o.end - *o.start, 1.0 / 150, 1e-12);
        if (*o.end > previousEnd) {
            EXPECT_FALSE(passedZero);
            passedZero = true;
            EXPECT_EQ(*o.end, 2 * Pi); // on from 2pi after direction 0
        }
        previousEnd = *o.end;
        EXPECT_EQ(o.colour, mixColour(Black, White, (double(k) / 150) / (Pi / 2 + 2 * Pi - Pi)));
    }
    EXPECT_TRUE(passedZero);
    EXPECT_EQ(one.outlines.front().end, Pi / 2);
    EXPECT_GE(*one.outlines.back().start, Pi);
    EXPECT_LT(channelDistance(one.outlines.back().colour, White), 2);

    // Without passing 0: from the guide at pi down to the pointer at pi/2.
    Recorder plain;
    emitGradientArcBand({3000, 3000, 150, Pi}, Pi / 2, 0, Warm, GradientKind::AlongOneWay, plain);
    EXPECT_EQ(plain.outlines.front().end, Pi);
    EXPECT_EQ(plain.outlines.front().colour, Warm.start);
    EXPECT_EQ(plain.outlines.front().radius, 1);
    EXPECT_GE(*plain.outlines.back().start, Pi / 2);

    // Two way along: start colour at both ends, end colour in the middle.
    Recorder two;
    emitGradientArcBand(c, Pi, 30, Warm, GradientKind::AlongTwoWay, two);
    ASSERT_EQ(two.outlines.size(), one.outlines.size());
    EXPECT_EQ(two.outlines.front().colour, Warm.start);
    EXPECT_EQ(two.outlines.back().colour, Warm.start);
    const std::size_t middle = (steps - 1) / 2;
    EXPECT_LT(channelDistance(two.outlines[middle * perStep].colour, Warm.end), 3);
}

// The painted result is the one of drawing every outline by itself, in
// order, whatever the draw mode, pen and fill settings, with the pixels
// between the rings of round figures painted by their rule.
TEST(GradientPainting, SameAsDrawingEveryOutline)
{
    // Each figure as its outlines and as the painter draws it.
    struct Figure
    {
        const char *name;
        int tool;
        double size; // band width or direction
        GradientKind kind;
    };
    const GradientBox box{95, 40, 2680, 1790};
    const ArcCircle arc{1400, 900, 700, 0.3}, small{1400, 900, 240, 0.3};
    const auto outlines = [&](const Figure &f, OutlineSink &k) {
        switch (f.tool) {
        case 11: return emitGradientEllipse(box, f.size, Warm, f.kind, k);
        case 12: return emitGradientFrames(box, f.size, Warm, f.kind, k);
        case 13: return emitDirectionalGradient(box, f.size, Warm, f.kind, k);
        case 14: return emitGradientArcBand(arc, 4, f.size, Warm, f.kind, k);
        default: return emitGradientArcBand(small, 4, f.size, Warm, f.kind, k);
        }
    };
    const auto draw = [&](const Figure &f, CanvasSurface &s) {
        const QString band = QString::number(f.size);
        switch (f.tool) {
        case 11: return drawGradientEllipse(s, box, band, Warm, f.kind);
        case 12: return drawGradientFrames(s, box, band, Warm, f.kind);
        case 13: return drawDirectionalGradient(s, box, f.size, Warm, f.kind);
        case 14: return drawGradientArcBand(s, arc, 4, band, Warm, f.kind);
        default: return drawGradientArcBand(s, small, 4, band, Warm, f.kind);
        }
    };
    const Figure figures[] = {
        {"ellipse", 11, 0, GradientKind::OneWay},
        {"ellipse band two way", 11, 400, GradientKind::TwoWay},
        {"frames", 12, 0, GradientKind::TwoWay},
        {"directional 30", 13, 30, GradientKind::OneWay},
        {"directional 120", 13, 120, GradientKind::TwoWay},
        {"arc across", 14, 0, GradientKind::TwoWay},
        {"arc along", 15, 45, GradientKind::AlongOneWay},
    };
    struct Pen
    {
        int mode, style, width, fill;
    };
    // Copy, exclusive-or, not-merge (no single pen sums up a run), mask,
    // with dots, a wide pen and a fill.
    const Pen pens[] = {{13, 0, 1, 1}, {7, 0, 1, 1}, {2, 0, 1, 1}, {9, 2, 1, 1},
                        {14, 0, 3, 1}, {13, 0, 1, 0}, {6, 0, 1, 5}};
    const QImage background = noise(190, 125, 11);
    for (const Figure &f : figures) {
        for (const Pen &p : pens) {
            SCOPED_TRACE(::testing::Message() << f.name << ", mode " << p.mode << ", style "
                                              << p.style << ", width " << p.width << ", fill "
                                              << p.fill);
            const auto prepare = [&](CanvasSurface &s) {
                s.setImage(background);
                s.setDrawMode(DrawMode(p.mode));
                s.setLineStyle(LineStyle(p.style));
                s.setDrawWidth(p.width);
                s.setFillStyle(FillStyle(p.fill));
                s.setFillColor(rgbColour(40, 50, 60));
            };
            CanvasSurface fast, slow;
            prepare(fast);
            prepare(slow);
            Recorder every;
            outlines(f, every);
            if (f.tool == 12 || f.tool == 13)
                ref::drawEvery(slow, every.outlines);
            else if (f.tool == 11)
                drawRound(slow, every.outlines, innerRadius(1292.5, f.size), 1292.5, f.kind, Warm);
            else
                drawRound(slow, every.outlines, innerRadius(700, f.size), 700, f.kind, Warm);
            EXPECT_EQ(draw(f, fast), GradientResult::Drawn);
            ASSERT_EQ(fast.image(), slow.image());
            EXPECT_EQ(fast.drawMode(), DrawMode(p.mode));
            EXPECT_EQ(fast.currentX(), slow.currentX());
            EXPECT_EQ(fast.currentY(), slow.currentY());
        }
    }
}

// The arcs along a band out to a rim of 100 pixels, pixel by pixel: the
// same as every arc's own circle call gives.
TEST(GradientPainting, ArcsAlongAWideBand)
{
    const ArcCircle c{1600, 1500, 1500, 0.8};
    const QImage background = noise(215, 205, 3);
    for (int mode : {13, 10}) {
        SCOPED_TRACE(mode);
        CanvasSurface fast, slow;
        for (CanvasSurface *s : {&fast, &slow}) {
            s->setImage(background);
            s->setDrawMode(DrawMode(mode));
        }
        Recorder every;
        emitGradientArcBand(c, 0.5, 30, Warm, GradientKind::AlongTwoWay, every);
        drawRound(slow, every.outlines, 1470, 1500, GradientKind::AlongTwoWay, Warm);
        drawGradientArcBand(fast, c, 0.5, "30", Warm, GradientKind::AlongTwoWay);
        ASSERT_EQ(fast.image(), slow.image());
    }
}

// One-pixel circles a twip apart leave pinholes between them: a whole
// two-way ring from radius 1 out has every pixel painted, as the slow
// reference has it, whatever the draw mode.
TEST(GradientPainting, ARingHasNoHolesBetweenItsCircles)
{
    const ArcCircle c{85 * 15, 85 * 15, 77 * 15, 1.0};
    const GradientColours redToBlue{rgbColour(250, 0, 0), rgbColour(0, 0, 250)};
    const Colour green = rgbColour(0, 255, 0);
    for (int mode : {13, 7}) {
        SCOPED_TRACE(mode);
        CanvasSurface fast = ground(170, 170, green), slow = ground(170, 170, green);
        fast.setDrawMode(DrawMode(mode));
        slow.setDrawMode(DrawMode(mode));
        Recorder every;
        emitGradientArcBand(c, 1.0, 0, redToBlue, GradientKind::TwoWay, every);
        ASSERT_GT(ref::holes(slow, every.outlines).size(), 1000u);
        drawRound(slow, every.outlines, 1, 77 * 15, GradientKind::TwoWay, redToBlue);
        EXPECT_EQ(drawGradientArcBand(fast, c, 1.0, "0", redToBlue, GradientKind::TwoWay),
                  GradientResult::Drawn);
        ASSERT_EQ(fast.image(), slow.image());
        if (mode != 13)
            continue;
        int untouched = 0;
        for (int y = 85 - 77; y <= 85 + 77; ++y)
            for (int x = 85 - 77; x <= 85 + 77; ++x)
                untouched += (x - 85) * (x - 85) + (y - 85) * (y - 85) <= 77 * 77
                    && pixel(fast, x, y) == green;
        EXPECT_EQ(untouched, 0);
    }
}

// Shown or stopped part way, the picture holds exactly the outlines so far.
TEST(GradientPainting, ShowsAndStopsBetweenOutlines)
{
    const GradientBox box{0, 0, 2400, 1500};
    const QImage background = noise(170, 110, 5);
    for (int mode : {13, 7}) {
        for (int stopAt : {1, 40, 333}) {
            SCOPED_TRACE(::testing::Message() << "mode " << mode << ", stop at " << stopAt);
            CanvasSurface fast, slow, seen;
            for (CanvasSurface *s : {&fast, &slow}) {
                s->setImage(background);
                s->setDrawMode(DrawMode(mode));
            }
            EveryOutline every(slow, stopAt);
            EXPECT_FALSE(emitGradientEllipse(box, 0, Warm, GradientKind::TwoWay, every));

            int shown = 0;
            GradientPace pace;
            pace.due = [&] { return true; };
            pace.show = [&] {
                seen.setImage(fast.image());
                return ++shown != stopAt;
            };
            EXPECT_EQ(drawGradientEllipse(fast, box, "0", Warm, GradientKind::TwoWay, pace),
                      GradientResult::Stopped);
            EXPECT_EQ(shown, stopAt);
            EXPECT_EQ(seen.image(), slow.image());
            EXPECT_EQ(fast.image(), slow.image());
        }
    }

    // Shown now and then, as a caller on a clock does: the same result.
    CanvasSurface fast, slow;
    fast.setImage(background);
    slow.setImage(background);
    EveryOutline every(slow);
    emitDirectionalGradient(box, 60, Warm, GradientKind::OneWay, every);
    int polls = 0, shown = 0;
    GradientPace pace;
    pace.due = [&] { return ++polls % 97 == 0; };
    pace.show = [&] { return ++shown > 0; };
    EXPECT_EQ(drawDirectionalGradient(fast, box, 60, Warm, GradientKind::OneWay, pace),
              GradientResult::Drawn);
    EXPECT_GT(shown, 10);
    EXPECT_EQ(fast.image(), slow.image());
}
