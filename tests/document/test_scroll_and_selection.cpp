#include "program_fixture.h"

#include "document/selection_geometry.h"

#include <QScrollBar>
#include <QElapsedTimer>
#include <QTimer>

using namespace quor;

TEST(SelectionGeometry, FrameAndHandlesSurroundThePicture)
{
    const TwipBox frame = selectionFrame({300, 450, 1500, 600});
    EXPECT_EQ(frame, (TwipBox{276, 426, 1563, 663}));
    const auto h = handlePositions(frame, 80);
    EXPECT_EQ(h[LeftUp], (TwipPoint{196, 346}));
    EXPECT_EQ(h[Up], (TwipPoint{276 + 1563 / 2.0 - 40, 346}));
    EXPECT_EQ(h[Right], (TwipPoint{276 + 1563, 426 + 663 / 2.0 - 40}));
    EXPECT_EQ(h[RightDown], (TwipPoint{276 + 1563, 426 + 663}));
    EXPECT_EQ(h[LeftDown], (TwipPoint{196, 426 + 663}));
}

TEST(SelectionGeometry, HandlesNeverLetEdgesCross)
{
    const TwipBox r{300, 300, 600, 450};
    // The left handle dragged past the right edge: 1 twip at the old left edge.
    EXPECT_EQ(resizeWithHandle(Left, r, 900, 0), (TwipBox{300, 300, 1, 450}));
    EXPECT_EQ(resizeWithHandle(Left, r, 150, 0), (TwipBox{450, 300, 450, 450}));
    EXPECT_EQ(resizeWithHandle(Up, r, 0, 1000), (TwipBox{300, 300, 600, 1}));
    // The bottom-right handle past the corner: 15 x 15.
    EXPECT_EQ(resizeWithHandle(RightDown, r, -2000, -2000), (TwipBox{300, 300, 15, 15}));
    EXPECT_EQ(resizeWithHandle(Right, r, -2000, 99), (TwipBox{300, 300, 1, 450}));
    EXPECT_EQ(resizeWithHandle(LeftUp, r, -150, -150), (TwipBox{150, 150, 750, 600}));
    EXPECT_EQ(resizeWithHandle(Down, r, 50, 150), (TwipBox{300, 300, 600, 600}));
}

class FloatingSelection : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        doc->view()->canvasBox()->moveTwips(0, 0, 3000, 3000);
        // A canvas with a recognisable pattern: red left half, blue right half.
        canvas().setBackColor(rgbColour(0, 0, 255));
        canvas().line(0, 0, 1485, 2985, rgbColour(255, 0, 0), LineKind::BoxFilled);
        QImage sel(20, 20, QImage::Format_RGB32);
        sel.fill(qRgb(0, 255, 0));
        doc->floatPicture(sel, 300, 300);
    }
    DocumentWindow *doc = nullptr;
};

TEST_F(FloatingSelection, DraggingFollowsTheGrabPointAndMovesTheStartPoint)
{
    doc->selectionPressed({Qt::LeftButton, {}, 60, 45});
    doc->selectionDragged({Qt::LeftButton, {}, 210, 45});
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->leftTwips(), 450);
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->topTwips(), 300);
    EXPECT_EQ(doc->gesture().startX, 450);
    EXPECT_EQ(doc->gesture().startY, 300);
    EXPECT_EQ(doc->view()->selectionFrame()->blackFrame()->a(), 450 - 24);
    EXPECT_EQ(doc->view()->selectionFrame()->handle(RightDown)->leftTwips(), 450 - 24 + 300 + 63);
    // Moving without the button does nothing.
    doc->selectionDragged({Qt::NoButton, {}, 600, 600});
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->leftTwips(), 450);
}

TEST_F(FloatingSelection, EnlargingAfterAMoveShowsTheCanvasUnderTheNewRectangle)
{
    doc->selectionPressed({Qt::LeftButton, {}, 0, 0});
    doc->selectionDragged({Qt::LeftButton, {}, 1200, 0}); // now at 1500, straddling red and blue
    doc->selectionHandleDragged(RightDown, {Qt::LeftButton, {}, 150, 150});
    const CanvasSurface &copy = doc->view()->selectionFrame()->pictureBox()->surface();
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->widthTwips(), 450);
    EXPECT_EQ(copy.widthPx(), 30);
    // Not a stretched green picture: the blue canvas under it.
    EXPECT_EQ(copy.point(0, 0), rgbColour(0, 0, 255));
    EXPECT_EQ(copy.point(435, 435), rgbColour(0, 0, 255));
    doc->selectionHandleDragged(Left, {Qt::LeftButton, {}, -150, 0});
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->leftTwips(), 1350);
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->surface().point(0, 0), rgbColour(255, 0, 0));
    EXPECT_EQ(doc->gesture().startX, 1350);
    // Saving a floating selection writes no frame or picture into the canvas.
    EXPECT_EQ(canvas().point(1500, 300), rgbColour(0, 0, 255));
}

TEST_F(FloatingSelection, TheFrameBlinksBetweenItsTwoShapes)
{
    doc->view()->selectionFrame()->blackFrame()->setVisible(true);
    doc->view()->selectionFrame()->whiteFrame()->setVisible(false);
    doc->view()->selectionFrame()->blinkTimer()->start();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 250)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_NE(doc->view()->selectionFrame()->blackFrame()->isVisible(), doc->view()->selectionFrame()->whiteFrame()->isVisible());
    doc->view()->selectionFrame()->hide();
    EXPECT_FALSE(doc->view()->selectionFrame()->blinkTimer()->isActive());
    EXPECT_FALSE(doc->view()->selectionFrame()->blackFrame()->isVisible());
    EXPECT_FALSE(doc->view()->selectionFrame()->handle(Up)->isVisible());
}

TEST_F(ProgramTest, SizeHandlesClampTheCanvasToOneTwipAndTheLargestSize)
{
    DocumentWindow *doc = active();
    emit doc->view()->widthHandle()->moved({Qt::LeftButton, {}, -100000, 0});
    EXPECT_EQ(doc->view()->canvasBox()->widthTwips(), 1);
    EXPECT_EQ(canvas().widthPx(), 1);
    emit doc->view()->cornerHandle()->moved({Qt::LeftButton, {}, 100000, 100000});
    EXPECT_EQ(doc->view()->canvasBox()->widthTwips(), 36035);
    EXPECT_EQ(doc->view()->canvasBox()->heightTwips(), 30035);
    EXPECT_EQ(canvas().widthPx(), 2402);
    EXPECT_TRUE(doc->document().isModified());
    EXPECT_EQ(doc->view()->widthHandle()->leftTwips(), 36035);
    EXPECT_EQ(doc->view()->heightHandle()->topTwips(), 30035);
    emit doc->view()->heightHandle()->moved({Qt::RightButton, {}, 0, -100});
    EXPECT_EQ(doc->view()->canvasBox()->heightTwips(), 30035);
}

TEST_F(ProgramTest, ScrollingReachesTheLastRowOfATallCanvas)
{
    DocumentWindow *doc = active();
    // Taller than a 16-bit count of 20-twip units could reach.
    doc->view()->canvasBox()->moveTwips(0, 0, 1500, 60000);
    canvas().line(0, 59985, 1485, 59985, rgbColour(255, 0, 0));
    QScrollBar *v = doc->view()->verticalScrollBar();
    ASSERT_GT(v->maximum(), 1638);
    v->setValue(v->maximum());
    EXPECT_EQ(doc->view()->canvasBox()->topTwips(), -20.0 * v->maximum());
    const QRect shown = doc->view()->canvasBox()->geometry();
    const int visibleBottom = doc->height() - doc->view()->horizontalScrollBar()->height();
    // The whole size handle shows below the last row, and little more.
    const int handle = doc->view()->heightHandle()->height();
    EXPECT_LE(shown.bottom() + handle, visibleBottom);
    EXPECT_GE(shown.bottom() + handle, visibleBottom - 3);
    EXPECT_EQ(doc->view()->heightHandle()->topTwips(), doc->view()->canvasBox()->topTwips() + 60000);
}

TEST_F(ProgramTest, AWindowLargerThanItsCanvasHasNoScrollRange)
{
    DocumentWindow *doc = active();
    doc->view()->canvasBox()->moveTwips(0, 0, 300, 300);
    EXPECT_EQ(doc->view()->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(doc->view()->horizontalScrollBar()->maximum(), 0);
}
