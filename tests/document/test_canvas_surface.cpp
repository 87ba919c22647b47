// The canvas surface: colour rules, raster operations, scale mapping,
// figures, pictures, text and damage reports.
#include "document/model/canvas_surface.h"

#include <gtest/gtest.h>

#include <functional>
#include <numbers>
#include <random>
#include <tuple>
#include <vector>

using namespace quor;

namespace {

constexpr double Pi = std::numbers::pi;
constexpr Colour White = 0xffffff, Black = 0, Red = 0x0000ff, Blue = 0xff0000;
constexpr std::uint32_t M = 0xffffff;

QImage solidImage(int w, int h, QRgb c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

QImage noiseImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(7);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, 0xff000000u | (rng() & M));
    return img;
}

CanvasSurface pixelSurface(int w, int h)
{
    CanvasSurface s(w, h);
    s.setScaleMode(ScaleMode::Pixels);
    return s;
}

int differing(const QImage &a, const QImage &b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += ((a.pixel(x, y) ^ b.pixel(x, y)) & M) != 0;
    return n;
}

// Bounding box of the pixels that are not white.
QRect ink(const CanvasSurface &s)
{
    QRect box;
    for (int y = 0; y < s.heightPx(); ++y)
        for (int x = 0; x < s.widthPx(); ++x)
            if ((s.image().pixel(x, y) & M) != M)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(Colour, PacksSplitsAndRounds)
{
    const Colour c = rgbColour(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x12 + 256 * 0x34 + 65536 * 0x56);
    EXPECT_EQ(redOf(c), 0x12);
    EXPECT_EQ(greenOf(c), 0x34);
    EXPECT_EQ(blueOf(c), 0x56);
    EXPECT_EQ(toQRgb(c), 0xff123456u);
    EXPECT_EQ(fromQRgb(0x80123456u), c);
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(2.6), 3);
}

TEST(RasterOps, EachDrawModeIsItsBinaryOperationOnAPixel)
{
    using Op = std::function<std::uint32_t(std::uint32_t, std::uint32_t)>;
    const Op modes[16] = {
        [](auto, auto) { return 0u; },         [](auto p, auto d) { return ~(p | d) & M; },
        [](auto p, auto d) { return ~p & d & M; }, [](auto p, auto) { return ~p & M; },
        [](auto p, auto d) { return p & ~d & M; }, [](auto, auto d) { return ~d & M; },
        [](auto p, auto d) { return p ^ d; },  [](auto p, auto d) { return ~(p & d) & M; },
        [](auto p, auto d) { return p & d; },  [](auto p, auto d) { return ~(p ^ d) & M; },
        [](auto, auto d) { return d; },        [](auto p, auto d) { return (~p | d) & M; },
        [](auto p, auto) { return p; },        [](auto p, auto d) { return (p | ~d) & M; },
        [](auto p, auto d) { return p | d; },  [](auto, auto) { return M; },
    };
    const Colour pen = 0x5a3c96, dest = 0x33cc0f;
    for (int mode = 1; mode <= 16; ++mode) {
        SCOPED_TRACE(mode);
        const std::uint32_t want = modes[mode - 1](pen, dest);
        EXPECT_EQ(applyDrawMode(mode, pen, dest), want);
        CanvasSurface s = pixelSurface(3, 3);
        s.setImage(solidImage(3, 3, toQRgb(dest)));
        s.setDrawMode(DrawMode(mode));
        s.pset(1, 1, pen);
        EXPECT_EQ(std::uint32_t(s.point(1, 1)), want);
        EXPECT_EQ(s.point(0, 1), dest);
    }
}

TEST(RasterOps, EachPasteCodeIsItsTernaryOperationOnAPixel)
{
    const std::uint32_t src = 0x0ff0a5, dst = 0x3c55c3, pat = 0x996633;
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {rop::SrcCopy, src},
        {rop::SrcPaint, src | dst},
        {rop::MergePaint, (~src | dst) & M},
        {rop::SrcInvert, src ^ dst},
        {rop::SrcErase, src & ~dst & M},
        {rop::NotSrcCopy, ~src & M},
        {rop::DstInvert, ~dst & M},
        {rop::NotSrcErase, ~(src | dst) & M},
        {rop::SrcAnd, src & dst},
        {0xf00021, pat}, // any code's truth table works, pattern = FillColor
        {0xb8074a, (pat & ~src) | (dst & src)},
    };
    for (auto [code, want] : cases) {
        SCOPED_TRACE(code);
        EXPECT_EQ(applyRop3(code, pat, src, dst), want);
        CanvasSurface s = pixelSurface(2, 2);
        s.setImage(solidImage(2, 2, toQRgb(Colour(dst))));
        s.setFillColor(Colour(pat));
        s.paintPicture(solidImage(1, 1, toQRgb(Colour(src))), 1, 1, code);
        EXPECT_EQ(std::uint32_t(s.point(1, 1)), want);
        EXPECT_EQ(std::uint32_t(s.point(0, 0)), dst);
    }
}

TEST(CanvasSurface, StartsInTheDocumentedState)
{
    CanvasSurface s(4, 3);
    EXPECT_EQ(s.backColor(), White);
    EXPECT_EQ(s.foreColor(), Black);
    EXPECT_EQ(s.fillStyle(), FillStyle::Transparent);
    EXPECT_EQ(s.fillColor(), Black);
    EXPECT_EQ(s.lineStyle(), LineStyle::Solid);
    EXPECT_EQ(s.drawWidth(), 1);
    EXPECT_EQ(s.drawMode(), DrawMode::CopyPen);
    EXPECT_EQ(s.point(45, 30), White);
    EXPECT_EQ(s.scaleWidth(), 4 * 15);
}

TEST(CanvasSurface, MapsTwipsAndPixelsAndKeepsContentOnResize)
{
    CanvasSurface s;
    s.setScaleSize(36035, 30035);
    EXPECT_EQ(s.scaleWidth(), 36035);
    EXPECT_EQ(s.scaleHeight(), 30035);
    EXPECT_EQ(s.widthPx(), 2402);
    EXPECT_EQ(s.heightPx(), 2002);
    EXPECT_EQ(s.toPixelX(14.99), 0);
    EXPECT_EQ(s.toPixelX(15), 1);
    EXPECT_EQ(s.toPixelY(-1), -1);
    EXPECT_EQ(s.toPixelSize(3), 1);
    EXPECT_EQ(s.toPixelSize(44), 2);
    s.setScaleMode(ScaleMode::Pixels);
    EXPECT_NEAR(s.scaleWidth(), 36035.0 / 15, 1e-9);
    EXPECT_EQ(s.toPixelX(2.5), 2);
    s.setScaleMode(ScaleMode::Twips);
    EXPECT_NEAR(s.scaleWidth(), 36035, 1e-6);

    CanvasSurface p = pixelSurface(4, 4);
    p.setBackColor(Blue);
    p.pset(3, 3, Red);
    p.resizePixels(6, 5);
    EXPECT_EQ(p.scaleWidth(), 6);
    EXPECT_EQ(p.point(3, 3), Red);
    EXPECT_EQ(p.point(5, 4), Blue);
}

namespace {

struct Figure
{
    const char *name;
    int width, style, fill;
    std::function<void(CanvasSurface &)> draw;
};

std::vector<Figure> allFigures()
{
    const auto seg = [](CanvasSurface &s) { s.line(5, 7, 100, 60); };
    const auto box = [](CanvasSurface &s) { s.line(12, 9, 97, 70, std::nullopt, LineKind::Box); };
    const auto ell = [](double aspect, std::optional<double> from = {},
                        std::optional<double> to = {}) {
        return [=](CanvasSurface &s) { s.circle(60, 45, 33, std::nullopt, from, to, aspect); };
    };
    std::vector<Figure> f = {
        {"segment", 1, 0, 1, seg},
        {"dash", 1, 1, 1, seg},
        {"dot", 1, 2, 1, seg},
        {"dash-dot", 1, 3, 1, seg},
        {"dash-dot-dot", 1, 4, 1, seg},
        {"inside-solid", 1, 6, 1, seg},
        {"wide", 5, 0, 1, seg},
        {"wide dashed", 5, 1, 1, seg},
        {"steep", 1, 4, 1, [](CanvasSurface &s) { s.line(90, 3, 70, 85); }},
        {"off-canvas", 4, 0, 1, [](CanvasSurface &s) { s.line(-40, 10, 160, 95); }},
        {"huge", 1, 3, 1, [](CanvasSurface &s) { s.line(-3e8, -1e8, 3e8, 1e8 + 90); }},
        {"box", 1, 0, 1, box},
        {"dashed box", 1, 1, 1, box},
        {"wide box", 5, 0, 1, box},
        {"wide inside box", 5, 6, 0, box},
        {"dotted filled box", 1, 2, 0, box},
        {"wide hatched box", 4, 0, 7, box},
        {"invisible outline box", 1, 5, 0, box},
        {"BF", 1, 0, 0,
         [](CanvasSurface &s) { s.line(100, 80, 20, 30, std::nullopt, LineKind::BoxFilled); }},
        {"ellipse", 1, 0, 1, ell(0.6)},
        {"circle filled", 1, 0, 0, ell(1)},
        {"ellipse hatched", 1, 0, 6, ell(1.7)},
        {"dashed ellipse filled", 1, 3, 0, ell(0.5)},
        {"wide ellipse hatched", 5, 0, 4, ell(0.8)},
        {"wide inside ellipse", 4, 6, 0, ell(1)},
        {"arc", 1, 0, 0, ell(1, 0.3, 2.5)},
        {"wrapping dashed arc", 1, 1, 0, ell(0.7, 5.0, 1.0)},
        {"wide arc", 3, 0, 0, ell(1, 1.0, 4.0)},
        {"pie", 1, 0, 0, ell(1, -0.5, -2.0)},
        {"wide hatched pie", 5, 0, 5, ell(0.6, -4.0, -1.0)},
        {"dotted pie", 1, 2, 0, ell(1.4, -1.0, -5.5)},
        {"off-canvas ellipse", 1, 0, 0, [](CanvasSurface &s) { s.circle(110, -5, 40); }},
        {"huge dashed ellipse", 1, 1, 6,
         [](CanvasSurface &s) { s.circle(60, 100040, 1e5, std::nullopt, {}, {}, 3); }},
        {"wide pset", 9, 0, 1, [](CanvasSurface &s) { s.pset(116, 2); }},
    };
    for (int fill = 2; fill <= 7; ++fill)
        f.push_back({"box hatch", 1, 0, fill, box});
    return f;
}

void drawFigure(CanvasSurface &s, const Figure &f)
{
    s.setDrawWidth(f.width);
    s.setLineStyle(LineStyle(f.style));
    s.setFillStyle(FillStyle(f.fill));
    f.draw(s);
}

} // namespace

TEST(Figures, XorTwiceRestoresTheBitmapAndEachPixelIsTouchedOnce)
{
    const QImage before = noiseImage(120, 90);
    for (const Figure &f : allFigures()) {
        SCOPED_TRACE(f.name);
        CanvasSurface s = pixelSurface(120, 90);
        s.setImage(before);
        s.setDrawMode(DrawMode::XorPen);
        s.setForeColor(0x8040c0);
        s.setFillColor(0x1f2e3d);
        drawFigure(s, f);
        EXPECT_GT(differing(s.image(), before), 0);
        drawFigure(s, f);
        EXPECT_EQ(differing(s.image(), before), 0);

        // A pixel combined twice in exclusive-or mode would stay black where
        // the copy-pen drawing makes it white.
        QImage drawn[2];
        for (int i = 0; i < 2; ++i) {
            CanvasSurface s = pixelSurface(120, 90);
            s.setImage(solidImage(120, 90, 0xff000000));
            s.setDrawMode(i == 0 ? DrawMode::XorPen : DrawMode::CopyPen);
            s.setForeColor(White);
            s.setFillColor(White);
            drawFigure(s, f);
            drawn[i] = s.image();
        }
        EXPECT_EQ(differing(drawn[0], drawn[1]), 0);
    }
}

TEST(Lines, ThinLinesLeaveOutTheirLastPixelAndWideOnesHaveRoundCaps)
{
    CanvasSurface s = pixelSurface(50, 40);
    s.line(0, 0, 5, 0);
    EXPECT_EQ(s.point(4, 0), Black);
    EXPECT_EQ(s.point(5, 0), White);
    s.line(9, 9, 9.5, 9.9); // both ends in one pixel
    EXPECT_EQ(s.point(9, 9), Black);

    // A chained joint is drawn once, so it survives exclusive-or.
    s.setDrawMode(DrawMode::XorPen);
    s.setForeColor(White);
    s.line(0, 10, 6, 10);
    s.lineTo(6, 16);
    EXPECT_EQ(s.point(6, 10), Black);
    EXPECT_EQ(s.point(6, 16), White);
    EXPECT_EQ(s.currentY(), 16);

    s.setDrawMode(DrawMode::CopyPen);
    s.setForeColor(Black);
    s.setDrawWidth(5); // radius 2.5
    s.line(10, 30, 30, 30);
    EXPECT_EQ(s.point(32, 30), Black);
    EXPECT_EQ(s.point(33, 30), White);
    EXPECT_EQ(s.point(8, 30), Black);
    EXPECT_EQ(s.point(31, 32), Black); // sqrt(5) from the end
    EXPECT_EQ(s.point(32, 32), White); // sqrt(8)
}

TEST(Lines, DashStylesApplyToThinPensOnly)
{
    const auto row = [](int style, int width) {
        CanvasSurface s = pixelSurface(60, 5);
        s.setLineStyle(LineStyle(style));
        s.setDrawWidth(width);
        s.line(0, 2, 60, 2);
        std::string on;
        for (int x = 0; x < 24; ++x)
            on += s.point(x, 2) == Black ? '#' : '.';
        return on;
    };
    EXPECT_EQ(row(1, 1), "##################......");
    EXPECT_EQ(row(2, 1), "###...###...###...###...");
    EXPECT_EQ(row(3, 1), "#########......###......");
    EXPECT_EQ(row(4, 1), "#########...###...###...");
    EXPECT_EQ(row(5, 1), "........................");
    EXPECT_EQ(row(6, 1), "########################");
    EXPECT_EQ(row(1, 3), "########################");
}

TEST(Boxes, IncludeBothCornersAndPlaceWideOutlines)
{
    CanvasSurface s = pixelSurface(60, 60);
    s.line(20, 15, 10, 10, std::nullopt, LineKind::Box);
    s.line(25, 5, 30, 8, Red, LineKind::BoxFilled);
    EXPECT_EQ(ink(s), QRect(QPoint(10, 5), QPoint(30, 15)));
    EXPECT_EQ(s.point(21, 15), White);
    EXPECT_EQ(s.point(15, 12), White); // FillStyle 1: transparent
    EXPECT_EQ(s.point(27, 6), Red);

    // Wide outlines are centred on the edge, or inside it with DrawStyle 6.
    const std::tuple<int, QRect, int> wide[] = {{0, QRect(QPoint(8, 8), QPoint(42, 42)), 12},
                                                {6, QRect(QPoint(10, 10), QPoint(40, 40)), 14}};
    for (const auto &[style, bounds, innermost] : wide) {
        s.cls();
        s.setDrawWidth(5);
        s.setLineStyle(LineStyle(style));
        s.line(10, 10, 40, 40, std::nullopt, LineKind::Box);
        EXPECT_EQ(ink(s), bounds);
        EXPECT_EQ(s.point(innermost, 20), Black);
        EXPECT_EQ(s.point(innermost + 1, 20), White);
    }
}

TEST(Boxes, HatchesAreAlignedToTheBitmapOriginAndTheOutlineWins)
{
    const std::function<bool(int, int)> hatch[] = {
        [](int, int y) { return y % 8 == 0; },
        [](int x, int) { return x % 8 == 0; },
        [](int x, int y) { return (x + y) % 8 == 0; },
        [](int x, int y) { return (x - y + 64) % 8 == 0; },
        [](int x, int y) { return x % 8 == 0 || y % 8 == 0; },
        [](int x, int y) { return (x + y) % 8 == 0 || (x - y + 64) % 8 == 0; },
    };
    for (int style = 2; style <= 7; ++style) {
        SCOPED_TRACE(style);
        CanvasSurface s = pixelSurface(50, 40);
        s.setFillStyle(FillStyle(style));
        s.setFillColor(Red);
        s.line(3, 5, 40, 30, Blue, LineKind::Box);
        for (int y = 5; y <= 30; ++y)
            for (int x = 3; x <= 40; ++x) {
                const bool edge = x == 3 || x == 40 || y == 5 || y == 30;
                ASSERT_EQ(s.point(x, y), edge ? Blue : hatch[style - 2](x, y) ? Red : White)
                    << x << "," << y;
            }
    }

    // Dash gaps show neither pen nor fill.
    CanvasSurface s = pixelSurface(60, 40);
    s.setLineStyle(LineStyle::Dash);
    s.setFillStyle(FillStyle::Solid);
    s.setFillColor(Red);
    s.line(0, 0, 50, 30, Black, LineKind::Box);
    EXPECT_EQ(s.point(17, 0), Black);
    EXPECT_EQ(s.point(18, 0), White);
    EXPECT_EQ(s.point(18, 1), Red);
}

TEST(Points, PsetAndPointStayOnTheBitmap)
{
    CanvasSurface s = pixelSurface(10, 10);
    int damaged = 0;
    s.setDamageListener([&](const QRect &) { ++damaged; });
    EXPECT_EQ(s.point(-1, 0), -1);
    EXPECT_EQ(s.point(0, 10), -1);
    s.pset(10, 3);
    s.pset(-1, -1);
    EXPECT_EQ(damaged, 0);
    EXPECT_EQ(ink(s), QRect());

    s.setImage(solidImage(10, 10, 0xff112233));
    EXPECT_EQ(s.point(4, 4), 0x11 + 256 * 0x22 + 65536 * 0x33);

    s.cls();
    s.setDrawWidth(4); // a round dot 4 pixels across: 4 x 4 less its corners
    s.pset(5, 5);
    EXPECT_EQ(differing(s.image(), solidImage(10, 10, 0xffffffff)), 12);
    EXPECT_EQ(s.currentX(), 5);
}

TEST(Circles, OutlineIsTheSetsBoundaryAndFillTheRest)
{
    const auto in = [](long long dx, long long dy, long long a, long long b) {
        return std::llabs(dx) <= a && std::llabs(dy) <= b
            && dx * dx * b * b + dy * dy * a * a <= a * a * b * b;
    };
    const struct
    {
        double r, aspect;
        int a, b;
    } cases[] = {{17, 9.0 / 17, 17, 9}, {12, 1, 12, 12}, {5, 1e9, 0, 5}, {6, 0, 6, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.a * 100 + c.b);
        CanvasSurface s = pixelSurface(41, 31);
        s.setFillStyle(FillStyle::Solid);
        s.setFillColor(Red);
        s.circle(20, 15, c.r, Blue, std::nullopt, std::nullopt, c.aspect);
        for (int y = 0; y < 31; ++y)
            for (int x = 0; x < 41; ++x) {
                const int dx = x - 20, dy = y - 15;
                const bool inside = in(dx, dy, c.a, c.b);
                const bool edge = inside
                    && !(in(dx - 1, dy, c.a, c.b) && in(dx + 1, dy, c.a, c.b)
                         && in(dx, dy - 1, c.a, c.b) && in(dx, dy + 1, c.a, c.b));
                ASSERT_EQ(s.point(x, y), edge ? Blue : inside ? Red : White) << x << "," << y;
            }
    }
}

TEST(Circles, RadiusLiesAlongTheLongerAxis)
{
    CanvasSurface s = pixelSurface(400, 300);
    s.setScaleMode(ScaleMode::Twips);
    QRect damaged;
    s.setDamageListener([&](const QRect &r) { damaged = r; });
    s.circle(200 * 15, 150 * 15, 1500, std::nullopt, std::nullopt, std::nullopt, 0.5);
    EXPECT_EQ(ink(s), QRect(100, 100, 201, 101));
    EXPECT_EQ(damaged, QRect(100, 100, 201, 101));
    EXPECT_EQ(s.currentX(), 200 * 15);
    s.cls();
    s.circle(200 * 15, 150 * 15, 1500, std::nullopt, std::nullopt, std::nullopt, 2);
    EXPECT_EQ(ink(s), QRect(150, 50, 101, 201));
    s.cls();
    s.circle(200 * 15, 150 * 15, 22); // 1.47 pixels rounds to 1
    EXPECT_EQ(ink(s), QRect(199, 149, 3, 3));
}

TEST(Circles, ArcsRunCounterclockwiseAndNegativeAnglesDrawRadii)
{
    CanvasSurface s = pixelSurface(100, 100);
    s.circle(50, 50, 20, std::nullopt, 0.0, Pi / 2);
    EXPECT_EQ(ink(s), QRect(QPoint(50, 30), QPoint(70, 50)));
    EXPECT_EQ(s.point(70, 50), Black);
    EXPECT_EQ(s.point(50, 30), Black);
    s.cls();
    s.circle(50, 50, 20, std::nullopt, 3 * Pi / 2, Pi / 2); // wraps past 2 pi
    EXPECT_EQ(ink(s), QRect(QPoint(50, 30), QPoint(70, 70)));

    // A pie: both radii drawn, filled only within the angles.
    s.cls();
    s.setFillStyle(FillStyle::Solid);
    s.setFillColor(Red);
    s.circle(50, 50, 20, std::nullopt, -Pi / 2, -Pi);
    for (int i = 31; i < 50; ++i) {
        EXPECT_EQ(s.point(50, i), Black) << i;
        EXPECT_EQ(s.point(i, 50), Black) << i;
    }
    EXPECT_EQ(s.point(40, 40), Red);
    EXPECT_EQ(s.point(60, 60), White);
    EXPECT_EQ(s.point(60, 40), White);
    // Without the signs: no radii, no fill.
    s.cls();
    s.circle(50, 50, 20, std::nullopt, Pi / 2, Pi);
    EXPECT_EQ(s.point(50, 40), White);
    EXPECT_EQ(s.point(40, 40), White);
}

TEST(Circles, OnlyANegativeAngleDrawsItsRadius)
{
    // -0 is the zero it equals: no radius. -2pi is how a zero angle asks
    // for its radius, along direction 0.
    CanvasSurface s = pixelSurface(100, 100);
    s.setFillStyle(FillStyle::Solid);
    s.setFillColor(Red);
    s.circle(50, 50, 20, std::nullopt, -0.0, Pi / 2);
    const QImage plain = s.image();
    s.cls();
    s.circle(50, 50, 20, std::nullopt, 0.0, Pi / 2);
    EXPECT_EQ(s.image(), plain);
    EXPECT_EQ(s.point(60, 50), White);
    s.cls();
    s.circle(50, 50, 20, std::nullopt, Pi / 2, -0.0);
    EXPECT_EQ(s.point(60, 50), White);
    EXPECT_EQ(s.point(50, 40), White);

    s.cls();
    s.circle(50, 50, 20, std::nullopt, -2 * Pi, -Pi / 2);
    for (int i = 31; i < 50; ++i) {
        EXPECT_EQ(s.point(50, i), Black) << i;
        EXPECT_EQ(s.point(100 - i, 50), Black) << i;
    }
    EXPECT_EQ(s.point(60, 40), Red);
}

TEST(Pictures, StretchMirrorAndClip)
{
    QImage src(2, 2, QImage::Format_RGB32);
    for (int i = 0; i < 4; ++i)
        src.setPixel(i % 2, i / 2, 0xff000001 + i);
    const auto v = [](const CanvasSurface &s, double x, double y) { return s.point(x, y) >> 16; };

    CanvasSurface s = pixelSurface(6, 6);
    s.paintPicture(src, 1, 1, 4, 4, 0, 0, 2, 2);
    EXPECT_EQ(v(s, 1, 1), 1);
    EXPECT_EQ(v(s, 2, 2), 1);
    EXPECT_EQ(v(s, 3, 2), 2);
    EXPECT_EQ(v(s, 4, 4), 4);
    EXPECT_EQ(s.point(5, 5), White);

    // A negative extent mirrors; two cancel out.
    s.paintPicture(src, 2, 0, -2, 1, 0, 0, 2, 1);
    EXPECT_EQ(v(s, 0, 0), 2);
    EXPECT_EQ(v(s, 1, 0), 1);
    s.paintPicture(src, 0, 0, 2, 1, 2, 1, -2, 1);
    EXPECT_EQ(v(s, 0, 0), 4);
    s.paintPicture(src, 2, 0, -2, 1, 2, 0, -2, 1);
    EXPECT_EQ(v(s, 0, 0), 1);

    // Only what lies on both pictures is touched.
    s.cls();
    s.paintPicture(src, -1, -1, 2, 2, 0, 0, 2, 2);
    EXPECT_EQ(v(s, 0, 0), 4);
    s.paintPicture(src, 3, 3, 3, 1, 1, 0, 3, 1);
    EXPECT_EQ(v(s, 3, 3), 2);
    EXPECT_EQ(s.point(4, 3), White);

    // In twips the source rectangle uses the same unit, unless in pixels.
    CanvasSurface t(6, 6);
    t.paintPicture(src, 0, 0, 60, 30, 15, 0, 15, 30);
    EXPECT_EQ(v(t, 45, 0), 2);
    EXPECT_EQ(v(t, 45, 15), 4);
    EXPECT_EQ(t.point(60, 0), White);
    t.paintPicture(src, 0, 0, 60, 30, 0, 1, 2, 1, rop::SrcCopy, true);
    EXPECT_EQ(v(t, 45, 0), 4);

    // Copying onto itself reads the pixels as they were.
    const QImage before = noiseImage(30, 20);
    CanvasSurface n = pixelSurface(30, 20);
    n.setImage(before);
    n.paintPicture(n.image(), 1, 1, 29, 19, 0, 0, 29, 19);
    EXPECT_EQ(n.image().copy(1, 1, 29, 19), before.copy(0, 0, 29, 19));
}

// Large enough to be copied on two threads, and clipped at two sides.
TEST(Pictures, PutPixelsClipsALargePicture)
{
    const QImage pixels = noiseImage(1100, 1000);
    CanvasSurface s = pixelSurface(1200, 1100);
    s.putPixels(pixels, {-3, 107});
    EXPECT_EQ(s.image().copy(0, 107, 1097, 993), pixels.copy(3, 0, 1097, 993));
    EXPECT_EQ(s.point(0, 106), White);
    EXPECT_EQ(s.point(1097, 500), White);
}

TEST(Pictures, ClsDrawsThePictureOverTheBackColour)
{
    CanvasSurface s = pixelSurface(10, 10);
    s.setPicture(solidImage(3, 2, toQRgb(Red)));
    EXPECT_EQ(s.widthPx(), 3);
    EXPECT_EQ(s.scaleHeight(), 2);
    EXPECT_EQ(s.point(2, 1), Red);

    s.resizePixels(5, 4);
    s.setCurrentX(3);
    s.setBackColor(Blue);
    EXPECT_EQ(s.point(2, 1), Red);
    EXPECT_EQ(s.point(3, 1), Blue);
    EXPECT_EQ(s.point(0, 3), Blue);
    EXPECT_EQ(s.currentX(), 0);

    s.setImage(solidImage(7, 2, 0xff00ff00));
    EXPECT_EQ(s.widthPx(), 7);
    EXPECT_EQ(s.point(6, 1), 0x00ff00);
}

TEST(Text, PrintsAtTheCurrentPositionAndMovesOn)
{
    CanvasSurface s = pixelSurface(200, 100);
    s.setCurrentX(10);
    s.setCurrentY(20);
    QRect damaged;
    s.setDamageListener([&](const QRect &r) { damaged = r; });
    const QString hello = QStringLiteral("Hello");
    s.print(hello, false);
    EXPECT_DOUBLE_EQ(s.currentX(), 10 + s.textWidth(hello));
    EXPECT_EQ(s.currentY(), 20);
    const QRect drawn = ink(s);
    ASSERT_FALSE(drawn.isEmpty());
    EXPECT_GE(drawn.left(), 9);
    EXPECT_GE(drawn.top(), 20);
    EXPECT_LE(drawn.bottom(), 20 + s.textHeight(hello));
    EXPECT_TRUE(damaged.contains(drawn));

    s.print(QStringLiteral("!"));
    EXPECT_EQ(s.currentX(), 0);
    EXPECT_DOUBLE_EQ(s.currentY(), 20 + s.textHeight(hello));
}

TEST(Damage, ReportsWhatChanged)
{
    CanvasSurface s = pixelSurface(50, 50);
    std::vector<QRect> got;
    s.setDamageListener([&](const QRect &r) { got.push_back(r); });
    s.line(5, 6, 20, 30);
    s.refresh();
    s.paintPicture(solidImage(4, 4, 0xff000000), 48, 48);
    const std::vector<QRect> want = {QRect(QPoint(5, 6), QPoint(19, 29)), QRect(0, 0, 50, 50),
                                     QRect(48, 48, 2, 2)};
    EXPECT_EQ(got, want);
}
