#include "program_fixture.h"

#include "document/selection_geometry.h"

#include <QScrollBar>
#include <QElapsedTimer>
#include <QTimer>

using namespace quor;

TEST(SelectionGeometry, FrameAndHandlesSurroundThePicture)
{
    const TwipRect frame = selectionFrame({300, 450, 1500, 600});
    EXPECT_EQ(frame, (TwipRect{276, 426, 1563, 663}));
    const auto h = handlePositions(frame, 80);
    EXPECT_EQ(h[LeftUp], (TwipPoint{196, 346}));
    EXPECT_EQ(h[Up], (TwipPoint{276 + 1563 / 2.0 - 40, 346}));
    EXPECT_EQ(h[Right], (TwipPoint{276 + 1563, 426 + 663 / 2.0 - 40}));
    EXPECT_EQ(h[RightDown], (TwipPoint{276 + 1563, 426 + 663}));
    EXPECT_EQ(h[LeftDown], (TwipPoint{196, 426 + 663}));
}

TEST(SelectionGeometry, HandlesNeverLetEdgesCross)
{
    const TwipRect r{300, 300, 600, 450};
    // The left handle dragged past the right edge: 1 twip at the old left edge.
    EXPECT_EQ(resizeWithHandle(Left, r, 900, 0), (TwipRect{300, 300, 1, 450}));
    EXPECT_EQ(resizeWithHandle(Left, r, 150, 0), (TwipRect{450, 300, 450, 450}));
    EXPECT_EQ(resizeWithHandle(Up, r, 0, 1000), (TwipRect{300, 300, 600, 1}));
    // The bottom-right handle past the corner: 15 x 15.
    EXPECT_EQ(resizeWithHandle(RightDown, r, -2000, -2000), (TwipRect{300, 300, 15, 15}));
    EXPECT_EQ(resizeWithHandle(Right, r, -2000, 99), (TwipRect{300, 300, 1, 450}));
    EXPECT_EQ(resizeWithHandle(LeftUp, r, -150, -150), (TwipRect{150, 150, 750, 600}));
    EXPECT_EQ(resizeWithHandle(Down, r, 50, 150), (TwipRect{300, 300, 600, 600}));
}

class FloatingSelection : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        doc->canvas()->Move(0, 0, 3000, 3000);
        // A canvas with a recognisable pattern: red left half, blue right half.
        canvas().setBackColor(rgbColour(0, 0, 255));
        canvas().line(0, 0, 1485, 2985, rgbColour(255, 0, 0), LineKind::BoxFilled);
        QImage sel(20, 20, QImage::Format_RGB32);
        sel.fill(qRgb(0, 255, 0));
        doc->document().selection().setPicture(sel);
        doc->document().placeSelection(300, 300);
        doc->document().setSelectionVisible(true);
        doc->document().hSelect = true;
        doc->hShowSelectionFrame();
    }
    frmquoredit *doc = nullptr;
};

TEST_F(FloatingSelection, DraggingFollowsTheGrabPointAndMovesTheStartPoint)
{
    doc->PictureCopy_MouseDown(1, 0, 60, 45);
    doc->PictureCopy_MouseMove(1, 0, 210, 45);
    EXPECT_EQ(doc->PictureCopy()->Left(), 450);
    EXPECT_EQ(doc->PictureCopy()->Top(), 300);
    EXPECT_EQ(doc->document().hStartx, 450);
    EXPECT_EQ(doc->document().hStarty, 300);
    EXPECT_EQ(doc->hselectShape1()->a(), 450 - 24);
    EXPECT_EQ(doc->selectionHandle(RightDown)->Left(), 450 - 24 + 300 + 63);
    // Moving without the button does nothing.
    doc->PictureCopy_MouseMove(0, 0, 600, 600);
    EXPECT_EQ(doc->PictureCopy()->Left(), 450);
}

TEST_F(FloatingSelection, EnlargingAfterAMoveShowsTheCanvasUnderTheNewRectangle)
{
    doc->PictureCopy_MouseDown(1, 0, 0, 0);
    doc->PictureCopy_MouseMove(1, 0, 1200, 0); // now at 1500, straddling red and blue
    doc->selectionHandle_MouseMove(RightDown, 1, 0, 150, 150);
    const CanvasSurface &copy = doc->PictureCopy()->surface();
    EXPECT_EQ(doc->PictureCopy()->Width(), 450);
    EXPECT_EQ(copy.widthPx(), 30);
    // Not a stretched green picture: the blue canvas under it.
    EXPECT_EQ(copy.point(0, 0), rgbColour(0, 0, 255));
    EXPECT_EQ(copy.point(435, 435), rgbColour(0, 0, 255));
    doc->selectionHandle_MouseMove(Left, 1, 0, -150, 0);
    EXPECT_EQ(doc->PictureCopy()->Left(), 1350);
    EXPECT_EQ(doc->PictureCopy()->surface().point(0, 0), rgbColour(255, 0, 0));
    EXPECT_EQ(doc->document().hStartx, 1350);
    // Saving a floating selection writes no frame or picture into the canvas.
    EXPECT_EQ(canvas().point(1500, 300), rgbColour(0, 0, 255));
}

TEST_F(FloatingSelection, TheFrameBlinksBetweenItsTwoShapes)
{
    doc->hselectShape1()->setVisible(true);
    doc->hselectShape2()->setVisible(false);
    doc->hselectshapesTimer()->start();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 250)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_NE(doc->hselectShape1()->isVisible(), doc->hselectShape2()->isVisible());
    doc->hHideSelectionFrame();
    EXPECT_FALSE(doc->hselectshapesTimer()->isActive());
    EXPECT_FALSE(doc->hselectShape1()->isVisible());
    EXPECT_FALSE(doc->selectionHandle(Up)->isVisible());
}

TEST_F(ProgramTest, SizeHandlesClampTheCanvasToOneTwipAndTheLargestSize)
{
    frmquoredit *doc = active();
    doc->widthsizePicture_MouseMove(1, 0, -100000, 0);
    EXPECT_EQ(doc->canvas()->Width(), 1);
    EXPECT_EQ(canvas().widthPx(), 1);
    doc->bothsizePicture_MouseMove(1, 0, 100000, 100000);
    EXPECT_EQ(doc->canvas()->Width(), 36035);
    EXPECT_EQ(doc->canvas()->Height(), 30035);
    EXPECT_EQ(canvas().widthPx(), 2402);
    EXPECT_TRUE(doc->document().DataChanged);
    EXPECT_EQ(doc->widthsizePicture()->Left(), 36035);
    EXPECT_EQ(doc->heightasizePicture()->Top(), 30035);
    doc->heightasizePicture_MouseMove(2, 0, 0, -100);
    EXPECT_EQ(doc->canvas()->Height(), 30035);
}

TEST_F(ProgramTest, ScrollingReachesTheLastRowOfATallCanvas)
{
    frmquoredit *doc = active();
    // Taller than a 16-bit count of 20-twip units could reach.
    doc->canvas()->Move(0, 0, 1500, 60000);
    canvas().line(0, 59985, 1485, 59985, rgbColour(255, 0, 0));
    QScrollBar *v = doc->VScroll1();
    ASSERT_GT(v->maximum(), 1638);
    v->setValue(v->maximum());
    EXPECT_EQ(doc->canvas()->Top(), -20.0 * v->maximum());
    const QRect shown = doc->canvas()->geometry();
    const int visibleBottom = doc->height() - doc->HScroll1()->height();
    // The whole size handle shows below the last row, and little more.
    const int handle = doc->heightasizePicture()->height();
    EXPECT_LE(shown.bottom() + handle, visibleBottom);
    EXPECT_GE(shown.bottom() + handle, visibleBottom - 3);
    EXPECT_EQ(doc->heightasizePicture()->Top(), doc->canvas()->Top() + 60000);
}

TEST_F(ProgramTest, AWindowLargerThanItsCanvasHasNoScrollRange)
{
    frmquoredit *doc = active();
    doc->canvas()->Move(0, 0, 300, 300);
    EXPECT_EQ(doc->VScroll1()->maximum(), 0);
    EXPECT_EQ(doc->HScroll1()->maximum(), 0);
}
