// The arc and sector tools at work on a document, and in its window: the
// blinking guide of the first phase, the exclusive-or rubber band of the
// second, the final figures, and how the phase survives clicks, double
// clicks, tool changes and a save.
#include "canvas_mouse.h"

#include "palettes/colour_palette.h"
#include "palettes/tool_palette.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <functional>
#include <numbers>

using namespace quor;

namespace {

constexpr double Pi = std::numbers::pi;

// Runs the event loop until the condition holds; false after a second.
bool waitFor(const std::function<bool()> &holds)
{
    QElapsedTimer clock;
    clock.start();
    while (!holds()) {
        if (clock.elapsed() > 1000)
            return false;
        QTest::qWait(10);
    }
    return true;
}

const Colour Blue = rgbColour(0, 0, 255), Red = rgbColour(200, 0, 0);
const Colour FillBlue = rgbColour(0, 0, 200), Ground = rgbColour(30, 160, 90);

// Two grounds, so an exclusive-or mark left behind would show on either.
void paintGround(CanvasSurface &canvas)
{
    canvas.setBackColor(rgbColour(255, 255, 255));
    canvas.line(0, tw(150), tw(299), tw(299), Ground, LineKind::BoxFilled);
    canvas.setForeColor(Red);
    canvas.setFillColor(FillBlue);
    canvas.setFillStyle(FillStyle::Transparent);
}

// The pixels of now that differ from before.
QRect changedPixels(const QImage &now, const QImage &before)
{
    QRect box;
    for (int y = 0; y < now.height(); ++y)
        for (int x = 0; x < now.width(); ++x)
            if (now.pixel(x, y) != before.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class ArcTools : public ToolTest
{
protected:
    ArcTools()
    {
        doc.resizeCanvas(tw(300), tw(300));
        paintGround(canvas());
        settings.drawingColour = Blue;
        before = canvas().image();
    }
    // The canvas as it was before the gesture, with the canvas's styles now.
    std::unique_ptr<CanvasSurface> expected() { return surfaceLike(before, canvas()); }
    QRect changed() { return changedPixels(canvas().image(), before); }
    Colour at(int x, int y) { return canvas().point(tw(x), tw(y)); }
    bool guideShown() const { return overlays.guideShown; }

    QImage before;
};

// The guide as the document window shows it, and the tool palette's choices.
class ArcToolsInWindow : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        doc->view()->canvasBox()->moveTwips(0, 0, tw(300), tw(300));
        paintGround(canvas());
        main->colourPalette()->setDrawingColour(Blue);
        doc->document().markSaved();
        before = canvas().image();
    }
    void TearDown() override
    {
        doc->view()->guideBlinkTimer()->stop();
        ProgramTest::TearDown();
    }
    std::unique_ptr<CanvasSurface> expected() { return surfaceLike(before, canvas()); }
    bool guideShown() const
    {
        return doc->view()->blackGuide()->isVisible() || doc->view()->whiteGuide()->isVisible();
    }

    DocumentWindow *doc = nullptr;
    QImage before;
};

TEST_F(ArcTools, TheWorkedExampleGivesThreeQuartersOfTheCircle)
{
    for (int tool : {8, 10}) {
        settings.tool = ToolId(tool);
        canvas().setFillStyle(tool == 10 ? FillStyle::DownwardDiagonals : FillStyle::Transparent); // the sector with a hatch
        PixelMouse m(*this);
        // Guide from the centre (1500, 1500) to the right, radius 1500; the
        // second press straight above the centre.
        m.drag({{100, 100}, {160, 100}, {200, 100}});
        ASSERT_TRUE(gesture.arc.guidePlaced);
        m.press({100, 0});
        m.release({100, 0});
        EXPECT_EQ(gesture.arc.guideAngle, 0);
        EXPECT_EQ(gesture.arc.pointerAngle, Pi / 2);

        auto e = expected();
        if (tool == 8)
            e->circle(tw(100), tw(100), tw(100), Blue, Pi / 2, 0.0);
        else
            e->circle(tw(100), tw(100), tw(100), std::nullopt, -Pi / 2, -2 * Pi);
        EXPECT_EQ(canvas().image(), e->image()) << "tool " << tool;
        // From the top through the left and the bottom to the right.
        const Colour ink = tool == 8 ? Blue : Red;
        for (QPoint p : {QPoint(100, 0), QPoint(0, 100), QPoint(100, 200), QPoint(200, 100)})
            EXPECT_EQ(at(p.x(), p.y()), ink) << "tool " << tool << " at " << p.x() << "," << p.y();
        EXPECT_EQ(changed(), QRect(0, 0, 201, 201)) << "tool " << tool;
        EXPECT_EQ(canvas().image().pixel(171, 29), before.pixel(171, 29)) << "tool " << tool;
        // The sector's radii to the top and to the right; the arc has none.
        for (QPoint p : {QPoint(100, 50), QPoint(150, 100)})
            EXPECT_EQ(at(p.x(), p.y()) == Red, tool == 10) << p.x() << "," << p.y();
        EXPECT_TRUE(doc.isModified());
        EXPECT_FALSE(gesture.arc.guidePlaced);
        EXPECT_FALSE(guideShown());

        canvas().setImage(before);
        doc.markSaved();
    }
}

TEST_F(ArcTools, PointingOnTheGuideGivesTheWholeCircleAndOnTheCentreAZeroAngle)
{
    settings.tool = ToolId::Arc;
    PixelMouse m(*this);
    // Guide straight up: g = pi/2.
    m.drag({{100, 100}, {100, 40}});
    m.click({100, 10});
    auto e = expected();
    e->circle(tw(100), tw(100), tw(60), Blue);
    EXPECT_EQ(canvas().image(), e->image());

    canvas().setImage(before);
    m.drag({{100, 100}, {100, 40}});
    m.click({100, 100});
    EXPECT_EQ(gesture.arc.pointerAngle, 0);
    e = expected();
    e->circle(tw(100), tw(100), tw(60), Blue, 0.0, Pi / 2);
    EXPECT_EQ(canvas().image(), e->image());
}

TEST_F(ArcTools, TheRubberBandLeavesNoTraceWhereverThePointerGoes)
{
    canvas().setFillStyle(FillStyle::Cross);
    canvas().setDrawWidth(2);
    for (int tool : {8, 10}) {
        settings.tool = ToolId(tool);
        PixelMouse m(*this);
        m.drag({{120, 150}, {120, 60}}); // straight up, radius 90 pixels
        const QImage guided = canvas().image();
        EXPECT_EQ(guided, before) << "tool " << tool;

        m.press({40, 150});
        EXPECT_NE(canvas().image(), before) << "tool " << tool; // the band shows
        // Round the centre, onto it (a = 0), along the guide (the whole
        // circle) and across direction 0.
        for (QPoint p : {QPoint(40, 250), QPoint(120, 150), QPoint(120, 5), QPoint(250, 140),
                         QPoint(250, 160), QPoint(60, 240), QPoint(180, 240)})
            m.move(p);
        // Released elsewhere: the figure ends where the last move pointed.
        m.release({0, 0});
        const double a = gesture.arc.pointerAngle;
        EXPECT_NEAR(a, 2 * Pi - std::atan2(90, 60), 1e-12) << "tool " << tool;

        auto e = expected();
        if (tool == 8)
            e->circle(tw(120), tw(150), tw(90), Blue, a, Pi / 2);
        else
            e->circle(tw(120), tw(150), tw(90), std::nullopt, -a, -Pi / 2);
        EXPECT_EQ(canvas().image(), e->image()) << "tool " << tool;
        canvas().setImage(before);
    }
}

TEST_F(ArcTools, AClickWithoutDragPlacesNoGuide)
{
    settings.tool = ToolId::Sector;
    PixelMouse m(*this);
    m.click({80, 80});
    EXPECT_FALSE(gesture.arc.guidePlaced);
    EXPECT_FALSE(guideShown());
    EXPECT_EQ(canvas().image(), before);
    EXPECT_FALSE(doc.isModified());
    // The next press starts the first phase again.
    m.drag({{80, 80}, {80, 20}});
    EXPECT_TRUE(gesture.arc.guidePlaced);
    EXPECT_EQ(canvas().image(), before);
}

TEST_F(ArcTools, ADoubleClickToFinishDoesNotStartASecondPhase)
{
    settings.tool = ToolId::Arc;
    PixelMouse m(*this);
    m.drag({{100, 100}, {200, 100}});
    m.click({100, 0});
    const QImage arc = canvas().image();
    ASSERT_NE(arc, before);
    // The second press of a double click comes as a double click only; its
    // release must not bring back the finished guide.
    m.doublePress({100, 0});
    m.release({100, 0});
    EXPECT_FALSE(gesture.arc.guidePlaced);
    EXPECT_FALSE(guideShown());
    EXPECT_EQ(canvas().image(), arc);
    // So the next drag places a new guide instead of drawing round the old one.
    m.drag({{50, 50}, {50, 20}});
    EXPECT_TRUE(gesture.arc.guidePlaced);
    EXPECT_EQ(canvas().image(), arc);
}

// The second phase's band looks like what the release draws: an arc's band
// is a line even with a solid fill; a sector's is filled as it will be.
TEST_F(ArcTools, TheRubberBandIsFilledOnlyForTheSector)
{
    canvas().setFillStyle(FillStyle::Solid);
    for (int tool : {8, 10}) {
        settings.tool = ToolId(tool);
        PixelMouse m(*this);
        m.drag({{100, 100}, {200, 100}});
        m.press({100, 0}); // a quarter past the guide, to the top
        EXPECT_EQ(at(60, 130) != fromQRgb(before.pixel(60, 130)), tool == 10) << "tool " << tool;
        m.release({100, 0});
        canvas().setImage(before);
    }
}

TEST_F(ArcToolsInWindow, TheGuideBlinksAboveTheCanvasAndNeverInIt)
{
    workspace().settings.tool = ToolId::Arc;
    CanvasMouse m(doc);
    m.press({100, 100});
    EXPECT_TRUE(doc->view()->blackGuide()->isVisible());
    EXPECT_TRUE(doc->view()->guideBlinkTimer()->isActive());
    EXPECT_EQ(doc->view()->guideBlinkTimer()->interval(), 100);
    // It blinks while it is dragged: a move places both lines and leaves
    // the blinking alone.
    ASSERT_TRUE(waitFor([&] { return doc->view()->whiteGuide()->isVisible(); }));
    m.move({160, 40});
    EXPECT_TRUE(doc->view()->whiteGuide()->isVisible());
    EXPECT_FALSE(doc->view()->blackGuide()->isVisible());
    for (OverlayShape *line : {doc->view()->blackGuide(), doc->view()->whiteGuide()}) {
        EXPECT_EQ(line->a(), tw(100));
        EXPECT_EQ(line->b(), tw(100));
        EXPECT_EQ(line->c(), tw(160));
        EXPECT_EQ(line->d(), tw(40));
    }
    m.release({160, 40});
    EXPECT_TRUE(doc->gesture().arc.guidePlaced);
    ASSERT_TRUE(waitFor([&] { return doc->view()->blackGuide()->isVisible(); }));
    EXPECT_FALSE(doc->view()->whiteGuide()->isVisible());
    EXPECT_EQ(canvas().image(), before);
    EXPECT_FALSE(doc->document().isModified());

    // A save meanwhile writes the canvas without the guide and leaves the
    // guide waiting for the second press.
    QTemporaryDir dir;
    const QString path = dir.filePath("guide.bmp");
    script.fileAnswers = {path};
    main->save();
    const QImage saved(path);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), before);
    EXPECT_TRUE(doc->gesture().arc.guidePlaced);
    EXPECT_TRUE(doc->view()->guideBlinkTimer()->isActive());

    m.click({100, 40}); // straight up from the centre
    auto e = expected();
    e->circle(tw(100), tw(100), std::hypot(tw(60), tw(60)), Blue, Pi / 2, Pi / 4);
    EXPECT_EQ(canvas().image(), e->image());
}

TEST_F(ArcToolsInWindow, TheArcToolsShareThePhaseAndOtherToolsCancelIt)
{
    ToolPalette &palette = *main->toolPalette();
    CanvasMouse m(doc);
    palette.buttonFocused(10); // the arc
    ASSERT_EQ(workspace().settings.tool, ToolId::Arc);
    m.drag({{100, 100}, {200, 100}});
    palette.buttonFocused(14); // the sector finishes the arc's guide
    ASSERT_EQ(workspace().settings.tool, ToolId::Sector);
    EXPECT_TRUE(doc->gesture().arc.guidePlaced);
    EXPECT_TRUE(doc->view()->guideBlinkTimer()->isActive());
    before = canvas().image(); // the palette may have restyled the canvas
    m.click({100, 0});
    auto e = expected();
    e->circle(tw(100), tw(100), tw(100), std::nullopt, -Pi / 2, -2 * Pi);
    EXPECT_EQ(canvas().image(), e->image());

    // A guide cancelled by choosing the rectangle is gone for good: back on
    // the arc, the next drag places a new guide and draws nothing.
    before = canvas().image();
    m.drag({{100, 100}, {200, 100}});
    palette.buttonFocused(4);
    EXPECT_FALSE(doc->gesture().arc.guidePlaced);
    EXPECT_FALSE(guideShown());
    EXPECT_FALSE(doc->view()->guideBlinkTimer()->isActive());
    palette.buttonFocused(10);
    m.drag({{40, 40}, {40, 10}});
    EXPECT_EQ(canvas().image(), before);
    EXPECT_TRUE(doc->gesture().arc.guidePlaced);
    EXPECT_EQ(doc->view()->blackGuide()->a(), tw(40));
}
