#include "program_fixture.h"
#include "tool_fixture.h"

#include "palettes/tool_palette.h"
#include "tools/picture_tools.h"

#include <QKeyEvent>
#include <QMouseEvent>

using namespace quor;

// The zoom tool's refusal, told through the overlays.
class PictureTools : public ToolTest
{
};

// The selection's frame, the text box and the width box the window shows.
class PictureToolsInWindow : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        doc = active();
        doc->view()->canvasBox()->moveTwips(0, 0, 1500, 1500); // 100 x 100 pixels
        doc->document().markSaved();
    }
    void gesture(double x0, double y0, double x1, double y1)
    {
        doc->canvasPressed({Qt::LeftButton, {}, x0, y0});
        doc->canvasMoved({Qt::LeftButton, {}, x1, y1});
        doc->canvasReleased({Qt::LeftButton, {}, x1, y1});
    }
    DocumentWindow *doc = nullptr;
};

TEST_F(PictureToolsInWindow, ASelectionLiftsACopyWithoutChangingTheDocument)
{
    canvas().pset(300, 300, rgbColour(255, 0, 0));
    workspace().settings.tool = ToolId::Select;
    gesture(300, 300, 600, 450);
    EXPECT_TRUE(doc->document().hasFloatingSelection());
    EXPECT_FALSE(doc->document().isModified());
    PictureBox *copy = doc->view()->selectionFrame()->pictureBox();
    EXPECT_TRUE(copy->isVisible());
    EXPECT_EQ(copy->leftTwips(), 300);
    EXPECT_EQ(copy->widthTwips(), 300);
    EXPECT_EQ(copy->heightTwips(), 150);
    EXPECT_EQ(copy->surface().point(0, 0), rgbColour(255, 0, 0));
    EXPECT_EQ(canvas().point(300, 300), rgbColour(255, 0, 0)); // copied, not cut
    EXPECT_TRUE(doc->view()->selectionFrame()->handle(0)->isVisible());
}

TEST_F(PictureToolsInWindow, ASelectionDraggedPastTheEdgeIsNoWiderThanTheCanvas)
{
    workspace().settings.tool = ToolId::Select;
    gesture(600, 0, 9000, 300);
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->widthTwips(), 1500);
    doc->canvasPressed({Qt::LeftButton, {}, 150, 150}); // a click without dragging
    doc->canvasReleased({Qt::LeftButton, {}, 150, 150});
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->widthTwips(), 1);
    EXPECT_EQ(doc->view()->selectionFrame()->pictureBox()->heightTwips(), 1);
}

TEST_F(PictureToolsInWindow, ASecondSelectionPressPastesTheFirstWithThePasteMode)
{
    canvas().setBackColor(rgbColour(0, 0, 0));
    canvas().line(0, 0, 285, 285, rgbColour(255, 255, 255), LineKind::BoxFilled);
    workspace().settings.tool = ToolId::Select;
    gesture(0, 0, 300, 300); // lifts the white square
    main->action("mnuvbdstinvert")->trigger();
    doc->document().placeSelection(600, 600);
    doc->document().markSaved();
    doc->canvasPressed({Qt::LeftButton, {}, 1200, 1200});
    EXPECT_TRUE(doc->document().isModified());
    EXPECT_FALSE(doc->view()->selectionFrame()->pictureBox()->isVisible());
    // Inverting the target: black under the pasted area turned white.
    EXPECT_EQ(canvas().point(600, 600), rgbColour(255, 255, 255));
    EXPECT_EQ(canvas().point(885, 885), rgbColour(255, 255, 255));
    EXPECT_EQ(canvas().point(900, 900), 0);
    doc->canvasReleased({Qt::LeftButton, {}, 1200, 1200});
}

TEST_F(PictureToolsInWindow, TwoZoomClicksRestoreTheSizeAndKeepWhatWasDrawn)
{
    canvas().pset(150, 150, rgbColour(0, 255, 0));
    workspace().settings.tool = ToolId::Zoom;
    gesture(0, 0, 0, 0);
    EXPECT_TRUE(doc->document().isZoomedIn());
    EXPECT_EQ(doc->view()->canvasBox()->widthTwips(), 4500);
    EXPECT_EQ(canvas().widthPx(), 300);
    EXPECT_EQ(main->toolPalette()->lineWidthBox()->text(), "3");
    EXPECT_EQ(canvas().drawWidth(), 3);
    // Every pixel became 3 x 3.
    for (int dx = 0; dx < 3; ++dx)
        EXPECT_EQ(canvas().point((30 + dx) * 15, 31 * 15), rgbColour(0, 255, 0));
    EXPECT_EQ(canvas().point(33 * 15, 30 * 15), rgbColour(255, 255, 255));
    // A 3 x 3 mark drawn while enlarged survives the reduction.
    canvas().line(600, 600, 630, 630, rgbColour(255, 0, 0), LineKind::BoxFilled);
    gesture(0, 0, 0, 0);
    EXPECT_FALSE(doc->document().isZoomedIn());
    EXPECT_EQ(doc->view()->canvasBox()->widthTwips(), 1500);
    EXPECT_EQ(canvas().widthPx(), 100);
    EXPECT_EQ(main->toolPalette()->lineWidthBox()->text(), "1");
    EXPECT_EQ(canvas().point(150, 150), rgbColour(0, 255, 0));
    EXPECT_EQ(canvas().point(195, 195), rgbColour(255, 0, 0));
    EXPECT_TRUE(doc->view()->selectionFrame()->pictureBox()->surface().picture().isNull() || doc->view()->selectionFrame()->pictureBox()->widthTwips() <= 15);
}

TEST_F(PictureToolsInWindow, TheTextBoxAppearsAtTheClickAndFollowsTheDrag)
{
    workspace().settings.tool = ToolId::Text;
    TextEntryBox *box = doc->view()->textBox();
    doc->canvasPressed({Qt::LeftButton, {}, 300, 450});
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->leftTwips(), 300);
    EXPECT_EQ(box->topTwips(), 450);
    EXPECT_EQ(box->widthTwips(), labelWidth(doc->view()->textMeasure()) + 50);
    EXPECT_EQ(box->heightTwips(), labelHeight(doc->view()->textMeasure()) + 50);
    doc->canvasMoved({Qt::LeftButton, {}, 600, 750});
    EXPECT_EQ(box->leftTwips(), 600);
    EXPECT_EQ(canvas().currentY(), 750);
    doc->canvasReleased({Qt::LeftButton, {}, 600, 750});
    EXPECT_FALSE(doc->document().isModified());

    const double oneLetter = box->widthTwips();
    box->setText("一行很长的文字 and more");
    EXPECT_EQ(doc->view()->textMeasure()->text(), "一行很长的文字 and more");
    EXPECT_GT(box->widthTwips(), oneLetter * 5);
    EXPECT_EQ(box->widthTwips(), labelWidth(doc->view()->textMeasure()) + 50);
    EXPECT_EQ(box->leftTwips(), 600);

    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &esc);
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(doc->view()->textMeasure()->text(), "H");
}

TEST_F(PictureToolsInWindow, ARightClickOnTheTextBoxPopsUpTheQuickMenu)
{
    workspace().settings.tool = ToolId::Text;
    doc->canvasPressed({Qt::LeftButton, {}, 300, 450});
    TextEntryBox *box = doc->view()->textBox();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), box->mapToGlobal(QPointF(2, 2)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box->viewport(), &press);
    QMenu *quick = main->textBoxMenu();
    EXPECT_TRUE(quick->isVisible());
    // At the pointer: the box's place on the canvas, as the window shows it.
    EXPECT_EQ(quick->pos(), box->mapToGlobal(QPoint(2, 2)));
    quick->hide();
}

TEST_F(PictureTools, APictureTooLargeToEnlargeIsLeftAsItWas)
{
    EXPECT_TRUE(zoomFits(2402 * 3, 2002 * 3));
    EXPECT_FALSE(zoomFits(8000 * 3, 8000 * 3));
    EXPECT_FALSE(zoomFits(40000, 10));

    QImage big(8000, 8000, QImage::Format_RGB32);
    big.fill(qRgb(10, 20, 30));
    canvas().setPicture(big);
    settings.tool = ToolId::Zoom;
    drag({{0, 0}, {0, 0}});
    EXPECT_FALSE(doc.isZoomedIn());
    EXPECT_EQ(canvas().widthPx(), 8000);
    EXPECT_EQ(canvas().point(119985, 119985), rgbColour(10, 20, 30));
    EXPECT_EQ(overlays.told, QStringList{"\r图片太大，无法放大。"});
}
