#include "program_fixture.h"
#include "tool_fixture.h"

#include <QLineEdit>
#include <QMouseEvent>

#include "palettes/colour_palette.h"

using namespace quor;

class LineTools : public ToolTest
{
protected:
    LineTools()
    {
        canvas().setBackColor(rgbColour(255, 255, 255));
        settings.drawingColour = rgbColour(0, 0, 255);
    }
};

// The document window's own rules for the canvas's events.
class LineToolsInWindow : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        canvas().setBackColor(rgbColour(255, 255, 255));
        main->colourPalette()->setDrawingColour(rgbColour(0, 0, 255));
    }
    void down(double x, double y, Qt::MouseButtons button = Qt::LeftButton) { doc->canvasPressed({button, {}, x, y}); }
    void move(double x, double y, Qt::MouseButtons button = Qt::LeftButton) { doc->canvasMoved({button, {}, x, y}); }
    void up(double x, double y, Qt::MouseButtons button = Qt::LeftButton) { doc->canvasReleased({button, {}, x, y}); }

    DocumentWindow *doc = nullptr;
};

TEST_F(LineTools, StraightLineRubberBandLeavesOnlyTheFinalLine)
{
    // Something under the rubber band, so an imperfect erase would show.
    canvas().line(0, 600, 3000, 600, rgbColour(200, 30, 30), LineKind::BoxFilled);
    canvas().setDrawWidth(3);
    const QImage background = canvas().image();

    settings.tool = ToolId::Line;
    press(150, 150);
    for (double x : {300.0, 900.0, 2400.0, 1200.0})
        move(x, 1500);
    move(1800, 900);
    release(1800, 900);

    CanvasSurface expected;
    expected.setImage(background);
    expected.setDrawWidth(3);
    expected.line(150, 150, 1800, 900, rgbColour(0, 0, 255));
    EXPECT_EQ(canvas().image(), expected.image());
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(canvas().drawMode(), DrawMode::CopyPen);
}

TEST_F(LineTools, AClickWithTheLineToolLeavesOneDot)
{
    settings.tool = ToolId::Line;
    press(300, 300);
    release(300, 300);
    EXPECT_EQ(canvas().point(300, 300), rgbColour(0, 0, 255));
    EXPECT_EQ(canvas().point(315, 300), rgbColour(255, 255, 255));
}

TEST_F(LineTools, XorDrawModeTwiceRemovesTheLine)
{
    settings.drawMode = DrawMode::XorPen;
    const QImage before = canvas().image();
    settings.tool = ToolId::Line;
    for (int i = 0; i < 2; ++i) {
        press(150, 150);
        move(1500, 750);
        release(1500, 750);
    }
    EXPECT_EQ(canvas().image(), before);
}

TEST_F(LineTools, FreehandDrawsAsItGoesAndAClickOnlyMarksChanged)
{
    settings.tool = ToolId::Freehand;
    const QImage before = canvas().image();
    press(150, 150);
    release(150, 150);
    EXPECT_EQ(canvas().image(), before);
    EXPECT_TRUE(doc.isModified());

    press(150, 150);
    move(600, 150);
    EXPECT_EQ(canvas().point(450, 150), rgbColour(0, 0, 255)); // drawn before the release
    move(600, 600);
    release(600, 600);
    EXPECT_EQ(canvas().point(600, 450), rgbColour(0, 0, 255));
}

TEST_F(LineToolsInWindow, OnlyTheExactLeftButtonDraws)
{
    workspace().settings.tool = ToolId::Line;
    const QImage before = canvas().image();
    down(150, 150, Qt::MiddleButton);
    move(900, 900, Qt::MiddleButton);
    up(900, 900, Qt::MiddleButton);
    down(150, 150, Qt::LeftButton | Qt::RightButton);
    move(900, 900, Qt::LeftButton | Qt::RightButton);
    up(900, 900, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(canvas().image(), before);
    EXPECT_FALSE(doc->document().isModified());
}

TEST_F(LineToolsInWindow, RightPressStoresTheStartPoint)
{
    down(450, 600, Qt::RightButton);
    EXPECT_EQ(doc->gesture().startX, 450);
    EXPECT_EQ(doc->gesture().startY, 600);
    main->editMenu()->hide();
}

TEST_F(LineToolsInWindow, PointerPositionIsWrittenForEveryMove)
{
    move(1500, 2400, Qt::NoButton);
    EXPECT_EQ(main->colourPalette()->pointerBox()->text(), "1500  2400");
    move(0, 0, Qt::NoButton);
    EXPECT_EQ(main->colourPalette()->pointerBox()->text(), "0  0");
    EXPECT_EQ(pointerText(7.5, 100000), "7.5  100000");
}

TEST_F(LineToolsInWindow, RealMouseEventsReachTheToolAndAReleaseOutsideEndsTheGesture)
{
    workspace().settings.tool = ToolId::Line;
    PictureBox *c = doc->view()->canvasBox();
    auto send = [c](QEvent::Type t, QPoint p, Qt::MouseButton b, Qt::MouseButtons held) {
        QMouseEvent e(t, QPointF(p), c->mapToGlobal(QPointF(p)), b, held, Qt::NoModifier);
        QCoreApplication::sendEvent(c, &e);
    };
    send(QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {10, 2}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {10, 2}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(canvas().point(5 * 15, 2 * 15), rgbColour(0, 0, 255));
    EXPECT_TRUE(doc->document().isModified());
}
