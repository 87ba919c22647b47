// The gradient tools at work on a document, and in its window: the solid
// exclusive-or rubber band, the gradient on release against drawing every
// outline by itself, the releases that leave no rectangle, and the
// repaints while a large gradient grows.
#include "canvas_mouse.h"
#include "gradient_reference.h"

#include "core/drawing_settings.h"
#include "palettes/colour_palette.h"
#include "tools/gradient_shapes.h"

#include <QElapsedTimer>
#include <QMdiArea>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <numbers>

using namespace quor;

namespace {

constexpr double Pi = std::numbers::pi;
const Colour Black = 0, White = 0xffffff, Ground = rgbColour(30, 160, 90);
const Colour Warm = rgbColour(250, 20, 3), Cool = rgbColour(10, 200, 101);

// The reference: every outline drawn through the surface on its own.
struct EveryOutline final : OutlineSink
{
    CanvasSurface &surface;
    explicit EveryOutline(CanvasSurface &s) : surface(s) {}
    void outline(const GradientOutline &o) override { drawOutline(surface, o); }
    bool pause() override { return true; }
};

struct Recorder final : OutlineSink
{
    std::vector<GradientOutline> outlines;
    void outline(const GradientOutline &o) override { outlines.push_back(o); }
    bool pause() override { return true; }
};

int channelDistance(Colour a, Colour b)
{
    return std::max({std::abs(redOf(a) - redOf(b)), std::abs(greenOf(a) - greenOf(b)),
                     std::abs(blueOf(a) - blueOf(b))});
}

// Counts the canvas's paint events.
struct PaintCounter final : QObject
{
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

void setColours(DrawingSettings &s, Colour from, Colour to)
{
    s.startRed = redOf(from);
    s.startGreen = greenOf(from);
    s.startBlue = blueOf(from);
    s.endRed = redOf(to);
    s.endGreen = greenOf(to);
    s.endBlue = blueOf(to);
}

// The canvas's drawing styles before a gesture.
void styleCanvas(CanvasSurface &canvas)
{
    canvas.setForeColor(rgbColour(200, 0, 0));
    canvas.setFillColor(rgbColour(0, 0, 200));
    canvas.setFillStyle(FillStyle::VerticalLines); // a hatch the press replaces with solid
}

// The canvas before the gesture, set up as the tools draw outlines.
std::unique_ptr<CanvasSurface> outlineReference(const QImage &before, const CanvasSurface &canvas,
                                                DrawMode mode)
{
    auto s = surfaceLike(before, canvas);
    s->setFillStyle(FillStyle::Transparent);
    s->setDrawMode(mode);
    return s;
}

} // namespace

class GradientTools : public ToolTest
{
protected:
    GradientTools()
    {
        useCanvas(300, 200);
        settings.drawingColour = rgbColour(0, 0, 255);
        styleCanvas(canvas());
        colours(Black, White);
    }
    void useCanvas(int w, int h)
    {
        doc.resizeCanvas(tw(w), tw(h));
        canvas().setBackColor(Ground);
        before = canvas().image();
    }
    void colours(Colour from, Colour to) { setColours(settings, from, to); }
    std::unique_ptr<CanvasSurface> reference()
    {
        return outlineReference(before, canvas(), settings.drawMode);
    }
    GradientColours gradient() { return {settings.startColour(), settings.endColour()}; }
    GradientKind kind() { return GradientKind(settings.gradientKind); }
    Colour at(int x, int y) { return canvas().point(tw(x), tw(y)); }
    void restart()
    {
        canvas().setImage(before);
        doc.markSaved();
    }

    QImage before;
};

// What the document window shows of a long gradient, and how it holds the
// program meanwhile.
class GradientToolsInWindow : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        main->colourPalette()->setDrawingColour(rgbColour(0, 0, 255));
        styleCanvas(canvas());
        setColours(workspace().settings, Black, White);
        doc->document().markSaved();
    }
    void useCanvas(int w, int h)
    {
        doc->view()->canvasBox()->moveTwips(0, 0, tw(w), tw(h));
        canvas().setBackColor(Ground);
        before = canvas().image();
    }
    std::unique_ptr<CanvasSurface> reference()
    {
        return outlineReference(before, canvas(), workspace().settings.drawMode);
    }
    GradientColours gradient()
    {
        return {workspace().settings.startColour(), workspace().settings.endColour()};
    }
    GradientKind kind() { return GradientKind(workspace().settings.gradientKind); }
    Colour at(int x, int y) { return canvas().point(tw(x), tw(y)); }

    DocumentWindow *doc = nullptr;
    QImage before;
};

TEST_F(GradientTools, AGradientEllipseOverA3000By1500Box)
{
    settings.tool = ToolId::GradientEllipse;
    PixelMouse m(*this);
    const GradientBox box{0, 0, 3000, 1500};
    for (const char *band : {"0", "300", "2000"}) {
        settings.bandWidthText = band;
        // Dragged up and to the left: the same box.
        m.drag({{200, 100}, {120, 70}, {0, 0}});
        auto e = reference();
        EveryOutline every(*e);
        emitGradientEllipse(box, QString(band).toDouble(), gradient(), kind(), every);
        EXPECT_EQ(canvas().image(), e->image()) << band;
        EXPECT_EQ(at(0, 50), White) << band; // the outermost outline
        EXPECT_EQ(at(100, 0), White) << band;
        EXPECT_EQ(canvas().fillStyle(), FillStyle::Solid) << band;
        EXPECT_TRUE(doc.isModified()) << band;
        if (QString(band) == "300") {
            // Only the outer band; the inside keeps its ground.
            EXPECT_EQ(at(100, 50), Ground);
            EXPECT_EQ(at(150, 50), Ground);
            EXPECT_LE(redOf(at(20, 50)), 8); // near the start colour
        } else {
            // Radius 750 is the middle grey; its pixel shows the last of
            // the radii that round to 50 pixels.
            EXPECT_LE(channelDistance(at(150, 50), rgbColour(127, 127, 127)), 2) << band;
            EXPECT_LE(redOf(at(100, 50)), 2) << band;
        }
        restart();
    }
    // A two-way ellipse: the start colour inside and outside, the end between.
    settings.gradientKind = 1;
    settings.bandWidthText = "0";
    m.drag({{0, 0}, {200, 100}});
    auto e = reference();
    EveryOutline every(*e);
    emitGradientEllipse(box, 0, gradient(), GradientKind::TwoWay, every);
    EXPECT_EQ(canvas().image(), e->image());
    EXPECT_EQ(at(0, 50), Black);
    EXPECT_LE(channelDistance(at(50, 50), White), 3);
}

TEST_F(GradientTools, TheDragShowsASolidExclusiveOrFigureAndLeavesNoTrace)
{
    canvas().line(0, 0, tw(150), tw(199), rgbColour(240, 240, 0), LineKind::BoxFilled);
    before = canvas().image();
    colours(Warm, Cool);
    settings.bandWidthText = "150";
    for (int tool : {11, 12, 13}) {
        settings.tool = ToolId(tool);
        PixelMouse m(*this);
        m.press({40, 30});
        if (tool != 11) {
            EXPECT_NE(canvas().image(), before) << tool; // the box of no size
        }
        m.move({250, 180});
        m.move({220, 150});
        auto band = reference();
        band->setDrawMode(DrawMode::XorPen);
        band->setFillStyle(FillStyle::Solid);
        if (tool == 11)
            band->circle(tw(130), tw(90), tw(90), std::nullopt, std::nullopt, std::nullopt,
                         float(120.0 / 180.0));
        else
            band->line(tw(40), tw(30), tw(220), tw(150), std::nullopt, LineKind::Box);
        EXPECT_EQ(canvas().image(), band->image()) << tool;

        // Released away from the last move: the rectangle is the one shown.
        m.release({260, 190});
        auto e = reference();
        EveryOutline every(*e);
        const GradientBox box{tw(40), tw(30), tw(220), tw(150)};
        if (tool == 11)
            emitGradientEllipse(box, 150, gradient(), kind(), every);
        else if (tool == 12)
            emitGradientFrames(box, 150, gradient(), kind(), every);
        else
            emitDirectionalGradient(box, 0, gradient(), kind(), every);
        EXPECT_EQ(canvas().image(), e->image()) << tool;
        EXPECT_TRUE(doc.isModified()) << tool;
        restart();
    }
}

TEST_F(GradientTools, AReleaseOnTheStartRowOrColumnLeavesNothing)
{
    for (int tool : {11, 12, 13}) {
        settings.tool = ToolId(tool);
        PixelMouse m(*this);
        const QList<QList<QPoint>> gestures = {
            {{50, 50}},                         // a click
            {{50, 50}, {120, 90}, {120, 50}},   // dragged back onto the start row
            {{50, 50}, {120, 90}, {50, 130}},   // onto the start column
            {{50, 50}, {120, 90}},              // released on the row, unmoved there
        };
        for (int g = 0; g < gestures.size(); ++g) {
            canvas().setFillStyle(FillStyle::VerticalLines);
            if (g < 3) {
                m.drag(gestures[g]);
            } else {
                m.press(gestures[g][0]);
                m.move(gestures[g][1]);
                m.release({160, 50});
            }
            EXPECT_EQ(canvas().image(), before) << "tool " << tool << ", gesture " << g;
            EXPECT_FALSE(doc.isModified()) << "tool " << tool << ", gesture " << g;
            EXPECT_EQ(canvas().fillStyle(), FillStyle::Solid) << "tool " << tool << ", gesture " << g;
            EXPECT_EQ(canvas().drawMode(), DrawMode::CopyPen) << "tool " << tool << ", gesture " << g;
        }
    }
}

TEST_F(GradientTools, DirectionalRectanglesRunFromTheirStartCorner)
{
    settings.tool = ToolId::GradientDirectional;
    colours(Warm, Cool);
    struct Case
    {
        double angle;
        QPoint start, end; // corner pixels of the start and the end colour
    };
    for (const Case &c : {Case{0, {30, 80}, {230, 80}}, Case{90, {130, 30}, {130, 130}},
                          Case{45, {30, 130}, {230, 30}}, Case{135, {30, 30}, {230, 130}}}) {
        settings.gradientAngle = c.angle;
        PixelMouse m(*this);
        m.drag({{230, 130}, {30, 30}});
        auto e = reference();
        EveryOutline every(*e);
        emitDirectionalGradient({tw(30), tw(30), tw(230), tw(130)}, c.angle, gradient(),
                                GradientKind::OneWay, every);
        EXPECT_EQ(canvas().image(), e->image()) << c.angle;
        EXPECT_LE(channelDistance(at(c.start.x(), c.start.y()), Warm), 3) << c.angle;
        EXPECT_LE(channelDistance(at(c.end.x(), c.end.y()), Cool), 3) << c.angle;
        restart();
    }
}

TEST_F(GradientTools, ArcBandsAcrossAndAlongTheArc)
{
    useCanvas(300, 300);
    settings.tool = ToolId::GradientArcBand;
    settings.bandWidthText = "300";
    colours(Warm, Cool);
    // Guide straight up from (150, 150), radius 100 pixels; the band runs
    // clockwise from the top round the right and the bottom to the left.
    const ArcCircle circle{tw(150), tw(150), tw(100), Pi / 2};
    // Within a few outlines of the place: a pixel shows the last of them.
    const auto near = [&](QPoint p, Colour c) {
        return channelDistance(at(p.x(), p.y()), c) <= 12;
    };
    const QPoint inner(150 + 80, 150), outer(150 + 100, 150), across(150 + 90, 150);
    const QPoint nearGuide(153, 150 - 90), nearPointer(60, 153), middle(150 + 64, 150 + 64);
    const Colour half = mixColour(Warm, Cool, 0.5);
    for (int kind = 0; kind < 4; ++kind) {
        settings.gradientKind = kind;
        PixelMouse m(*this);
        m.drag({{150, 150}, {150, 50}});
        m.click({50, 150});
        auto e = reference();
        e->setFillStyle(FillStyle::VerticalLines);
        if (kind < 2) {
            Recorder every;
            emitGradientArcBand(circle, Pi, 300, gradient(), GradientKind(kind), every);
            gradient_reference::drawRound(*e, every.outlines, false, [&](double rho) {
                return gradient_reference::acrossColour(Warm, Cool, tw(80), tw(100), rho,
                                                        kind == 1);
            });
        } else {
            // Every outline of a sweep along the arc one by one takes minutes;
            // that the painter equals it is the figure's own test.
            drawGradientArcBand(*e, circle, Pi, "300", gradient(), GradientKind(kind));
        }
        EXPECT_EQ(canvas().image(), e->image()) << kind;
        EXPECT_EQ(canvas().fillStyle(), FillStyle::VerticalLines) << kind; // the band leaves it
        EXPECT_TRUE(doc.isModified()) << kind;
        EXPECT_FALSE(gesture.arc.guidePlaced) << kind;
        EXPECT_EQ(at(86, 86), Ground) << kind; // the quarter outside the arc
        switch (kind) {
        case 0:
            EXPECT_TRUE(near(inner, Warm));
            EXPECT_TRUE(near(outer, Cool));
            break;
        case 1:
            EXPECT_TRUE(near(inner, Warm));
            EXPECT_TRUE(near(outer, Warm));
            EXPECT_TRUE(near(across, Cool));
            break;
        case 2:
            EXPECT_TRUE(near(nearGuide, Warm));
            EXPECT_TRUE(near(nearPointer, Cool));
            EXPECT_TRUE(near(middle, half));
            break;
        case 3:
            EXPECT_TRUE(near(nearGuide, Warm));
            EXPECT_TRUE(near(nearPointer, Warm));
            EXPECT_TRUE(near(middle, Cool));
            break;
        }
        restart();
    }
}

TEST_F(GradientTools, AnArcBandPointedAlongItsGuideIsAWholeRing)
{
    useCanvas(300, 300);
    settings.tool = ToolId::GradientArcBand;
    settings.bandWidthText = "300";
    for (int kind = 0; kind < 4; ++kind) {
        settings.gradientKind = kind;
        PixelMouse m(*this);
        m.drag({{150, 150}, {150, 50}});
        m.click({150, 10});
        // Every quarter of the ring, the quarter past the guide included.
        for (QPoint p : {QPoint(86, 86), QPoint(214, 86), QPoint(214, 214), QPoint(86, 214)})
            EXPECT_NE(at(p.x(), p.y()), Ground) << kind << " at " << p.x() << "," << p.y();
        EXPECT_EQ(at(150, 150), Ground) << kind;
        restart();
    }
}

TEST_F(GradientTools, ABandWidthThatIsNoNumberDrawsNothing)
{
    settings.bandWidthText = "abc";
    PixelMouse m(*this);
    settings.tool = ToolId::GradientEllipse;
    m.drag({{20, 20}, {200, 150}});
    EXPECT_EQ(canvas().image(), before);
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(canvas().fillStyle(), FillStyle::Solid);

    settings.tool = ToolId::GradientArcBand;
    m.drag({{150, 150}, {150, 50}});
    m.click({50, 150});
    EXPECT_EQ(canvas().image(), before);
    EXPECT_FALSE(doc.isModified());
    EXPECT_FALSE(gesture.arc.guidePlaced);
}

TEST_F(GradientToolsInWindow, ALargeGradientIsShownWhileItGrowsNotPerOutline)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get())); // else nothing repaints
    useCanvas(2400, 2000);
    workspace().settings.tool = ToolId::GradientEllipse;
    PaintCounter counter;
    doc->view()->canvasBox()->installEventFilter(&counter);
    CanvasMouse m(doc);
    m.press({0, 0});
    m.move({2400, 2000});
    QElapsedTimer clock;
    clock.start();
    counter.paints = 0;
    m.release({2400, 2000});
    const qint64 ms = clock.elapsed();
    const int paints = counter.paints;
    doc->view()->canvasBox()->removeEventFilter(&counter);

    // 18000 outlines; a repaint every 15 ms or so.
    if (ms >= 30) {
        EXPECT_GE(paints, 1) << ms << " ms";
    }
    EXPECT_LE(paints, ms / 10 + 2) << ms << " ms";
    auto e = reference();
    EveryOutline every(*e);
    emitGradientEllipse({0, 0, tw(2400), tw(2000)}, 0, gradient(), kind(), every);
    EXPECT_EQ(canvas().image(), e->image());
}

// Escape during a long band along the arc stops it between direction steps:
// what is drawn stays, as one step of the history, and the program, held
// while the band grew, takes input again.

TEST_F(GradientToolsInWindow, EscapeStopsALongBandWithWhatIsDrawnKept)
{
    useCanvas(2000, 2000);
    workspace().settings.tool = ToolId::GradientArcBand;
    workspace().settings.bandWidthText = "0";
    workspace().settings.gradientKind = 2;
    CanvasMouse m(doc);
    m.drag({{1000, 1000}, {1000, 50}}); // the guide straight up, 950 pixels
    bool pressed = false, held = false;
    // Once the band has grown round to the right, from within the run's
    // event loop.
    std::function<void()> pressWhenGrowing = [&] {
        if (at(1900, 1000) == Ground) {
            QTimer::singleShot(0, pressWhenGrowing);
            return;
        }
        held = !main->mdiArea()->isEnabled() && !main->menuBar()->isEnabled()
            && !doc->document().canUndo();
        pressed = true;
        QTest::keyClick(main.get(), Qt::Key_Escape);
    };
    QTimer::singleShot(0, pressWhenGrowing);
    m.click({50, 1000}); // clockwise from the top round to the left

    ASSERT_TRUE(pressed) << "the band grew while the program took events";
    EXPECT_TRUE(held) << "nothing else takes input meanwhile";
    EXPECT_NE(canvas().image(), before);
    EXPECT_NE(at(1010, 100), Ground) << "the start of the band is kept";
    EXPECT_EQ(at(100, 1100), Ground) << "its end is not drawn";
    EXPECT_TRUE(doc->document().isModified());
    EXPECT_TRUE(main->mdiArea()->isEnabled());
    EXPECT_TRUE(main->menuBar()->isEnabled());
    doc->document().undo();
    EXPECT_EQ(canvas().image(), before) << "one step of the history";
}
