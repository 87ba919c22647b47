#include "program_fixture.h"
#include "tool_fixture.h"

#include "palettes/colour_palette.h"
#include "tools/shape_tools.h"

using namespace quor;

namespace {

// A ground with two colours, so an imperfect erase would show.
void paintGround(CanvasSurface &canvas)
{
    canvas.setBackColor(rgbColour(255, 255, 255));
    canvas.line(0, 1500, 2985, 2985, rgbColour(30, 160, 90), LineKind::BoxFilled);
    canvas.setForeColor(rgbColour(200, 0, 0));
    canvas.setFillColor(rgbColour(0, 0, 200));
}

} // namespace

class ShapeTools : public ToolTest
{
protected:
    ShapeTools()
    {
        doc.resizeCanvas(3000, 3000);
        paintGround(canvas());
        settings.drawingColour = rgbColour(0, 0, 255);
    }
    // The same canvas as before the gesture, for drawing the expected result.
    std::unique_ptr<CanvasSurface> copyOfCanvas() { return surfaceLike(before, canvas()); }
    QImage before;
};

// A right press goes to the document window, not to the tool.
class ShapeToolsInWindow : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        doc->view()->canvasBox()->moveTwips(0, 0, 3000, 3000);
        paintGround(canvas());
        main->colourPalette()->setDrawingColour(rgbColour(0, 0, 255));
        doc->document().markSaved();
    }
    std::unique_ptr<CanvasSurface> copyOfCanvas() { return surfaceLike(before, canvas()); }
    DocumentWindow *doc = nullptr;
    QImage before;
};

TEST_F(ShapeTools, RectanglesAreTheSameWhicheverWayTheyAreDragged)
{
    settings.tool = ToolId::Rectangle;
    for (int fill : {0, 1, 5}) {
        canvas().setFillStyle(FillStyle(fill));
        canvas().setLineStyle(fill == 5 ? LineStyle::Dot : LineStyle::Solid);
        before = canvas().image();
        drag({{300, 300}, {900, 600}, {1800, 1950}});
        const QImage forwards = canvas().image();
        canvas().setImage(before);
        drag({{1800, 1950}, {600, 900}, {300, 300}});
        EXPECT_EQ(canvas().image(), forwards) << "fill style " << fill;

        auto expected = copyOfCanvas();
        expected->line(300, 300, 1800, 1950, std::nullopt, LineKind::Box);
        EXPECT_EQ(canvas().image(), expected->image()) << "fill style " << fill;
        canvas().setImage(before);
    }
    EXPECT_TRUE(doc.isModified());
}

TEST_F(ShapeTools, EllipseFitsItsRectangle)
{
    EllipseFit e;
    ASSERT_TRUE(fitEllipse(600, 300, 3600, 1800, e));
    EXPECT_EQ(e.radius, 1500);
    EXPECT_EQ(e.aspect, 0.5f);
    EXPECT_EQ(e.cx, 2100);
    EXPECT_EQ(e.cy, 1050);
    ASSERT_TRUE(fitEllipse(900, 900, 0, 0, e));
    EXPECT_EQ(e.radius, 450);
    EXPECT_EQ(e.aspect, 1);
    EXPECT_FALSE(fitEllipse(300, 300, 300, 900, e));
}

TEST_F(ShapeTools, TheDraggedEllipseReachesItsRectanglesEdges)
{
    canvas().setFillStyle(FillStyle::Transparent);
    settings.tool = ToolId::Ellipse;
    before = canvas().image();
    drag({{0, 0}, {1200, 2400}, {3000, 1500}});
    // 3000 x 1500 twips: 200 x 100 pixels, centre (100, 50).
    const Colour fore = rgbColour(200, 0, 0);
    EXPECT_EQ(canvas().point(0, 50 * 15), fore);
    EXPECT_EQ(canvas().point(100 * 15, 0), fore);
    EXPECT_EQ(canvas().point(100 * 15, 100 * 15), fore);
    EXPECT_NE(canvas().point(100 * 15, 101 * 15), fore);
    EXPECT_EQ(canvas().point(100 * 15, 50 * 15), rgbColour(255, 255, 255)); // unfilled
    auto expected = copyOfCanvas();
    expected->circle(1500, 750, 1500, std::nullopt, std::nullopt, std::nullopt, 0.5);
    EXPECT_EQ(canvas().image(), expected->image());
}

TEST_F(ShapeTools, ADegenerateEllipseDrawsNothingButMarksChanged)
{
    settings.tool = ToolId::Ellipse;
    before = canvas().image();
    drag({{300, 300}, {300, 900}});
    EXPECT_EQ(canvas().image(), before);
    EXPECT_TRUE(doc.isModified());
}

TEST_F(ShapeTools, RubberBandsLeaveNoTraceWhenTheReleaseIsElsewhere)
{
    canvas().setFillStyle(FillStyle::Cross);
    canvas().setDrawWidth(3);
    for (int tool : {2, 3, 4}) {
        settings.tool = ToolId(tool);
        before = canvas().image();
        press(300, 300);
        move(1500, 2100);
        move(2400, 1200);
        // Released away from the last reported position (outside the canvas).
        release(4500, 600);
        auto expected = copyOfCanvas();
        if (tool == 2)
            expected->line(300, 300, 4500, 600, rgbColour(0, 0, 255));
        else if (tool == 4)
            expected->line(300, 300, 4500, 600, std::nullopt, LineKind::Box);
        else
            expected->circle(2400, 450, 2100, std::nullopt, std::nullopt, std::nullopt,
                             float(300.0 / 4200.0));
        EXPECT_EQ(canvas().image(), expected->image()) << "tool " << tool;
        canvas().setImage(before);
    }
}

TEST_F(ShapeTools, APolylineOfClicksEndedByADoubleClickLeavesItsSegments)
{
    settings.tool = ToolId::Polyline;
    before = canvas().image();
    const QPointF a(300, 300), b(1500, 600), c(900, 2100);
    auto click = [&](QPointF p) {
        press(p.x(), p.y());
        release(p.x(), p.y());
    };
    click(a);
    click(b);
    click(c);
    EXPECT_TRUE(gesture.polylineGoing);
    doubleClick(); // the second press of the double click
    release(c.x(), c.y());
    EXPECT_FALSE(gesture.polylineGoing);

    auto expected = copyOfCanvas();
    const Colour blue = rgbColour(0, 0, 255);
    expected->line(a.x(), a.y(), b.x(), b.y(), blue);
    expected->line(b.x(), b.y(), c.x(), c.y(), blue);
    expected->pset(c.x(), c.y(), blue);
    EXPECT_EQ(canvas().image(), expected->image());
}

TEST_F(ShapeTools, DotsPlotOnePointPerMoveAndNothingForAPress)
{
    settings.tool = ToolId::Dots;
    canvas().setDrawWidth(5);
    before = canvas().image();
    press(600, 600);
    release(600, 600);
    EXPECT_EQ(canvas().image(), before);
    EXPECT_TRUE(doc.isModified());
    drag({{300, 300}, {600, 600}, {1200, 600}});
    auto expected = copyOfCanvas();
    expected->pset(600, 600, rgbColour(0, 0, 255));
    expected->pset(1200, 600, rgbColour(0, 0, 255));
    EXPECT_EQ(canvas().image(), expected->image());
}

TEST_F(ShapeToolsInWindow, APolylineContinuesFromTheStartPointAfterAnotherTool)
{
    workspace().settings.tool = ToolId::Polyline;
    doc->canvasPressed({Qt::LeftButton, {}, 300, 300});
    doc->canvasReleased({Qt::LeftButton, {}, 600, 300});
    workspace().settings.tool = ToolId::Rectangle;
    doc->canvasPressed({Qt::RightButton, {}, 1500, 1500}); // a right press moves the start point
    main->editMenu()->hide();
    workspace().settings.tool = ToolId::Polyline;
    before = canvas().image();
    doc->canvasPressed({Qt::LeftButton, {}, 2100, 1500});
    doc->canvasReleased({Qt::LeftButton, {}, 2100, 1500});
    auto expected = copyOfCanvas();
    expected->line(1500, 1500, 2100, 1500, rgbColour(0, 0, 255));
    EXPECT_EQ(canvas().image(), expected->image());
}
