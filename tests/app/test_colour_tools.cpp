// The fill and the colour picker as a user reaches them: their keys, real
// clicks on the canvas, and the picked colour in a saved file.
#include "program_fixture.h"

#include "document/model/document.h"
#include "palettes/colour_palette.h"
#include "palettes/tool_palette.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace quor;

namespace {

constexpr QRgb Red = 0xffff0000u, Blue = 0xff0000ffu, White = 0xffffffffu, Black = 0xff000000u;

} // namespace

class ColourTools : public ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        QApplication::setActiveWindow(main.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        // White, with a black frame round 10..29 x 10..19 and a red pixel.
        QImage img(60, 40, QImage::Format_RGB32);
        img.fill(White);
        for (int x = 10; x < 30; ++x)
            img.setPixel(x, 10, Black), img.setPixel(x, 19, Black);
        for (int y = 10; y < 20; ++y)
            img.setPixel(10, y, Black), img.setPixel(29, y, Black);
        img.setPixel(50, 30, Red);
        active()->document().loadPicture(img);
        picture = img;
    }
    void click(QPoint p, Qt::MouseButton button)
    {
        QWidget *w = active()->view()->canvasBox();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, p, w->mapToGlobal(p), button,
                          type == QEvent::MouseButtonPress ? button : Qt::NoButton, {});
            QApplication::sendEvent(w, &e);
        }
    }
    void key(Qt::Key k) { QTest::keyClick(main.get(), k, Qt::ControlModifier); }
    QImage picture;
};

TEST_F(ColourTools, FillPaintsTheClickedAreaInOneStepWithEitherButton)
{
    workspace().settings.drawingColour = rgbColour(0, 0, 255);
    key(Qt::Key_K);
    EXPECT_EQ(workspace().settings.tool, ToolId::Fill);
    EXPECT_FALSE(main->toolPalette()->toolMarker()->isVisible());
    click({15, 15}, Qt::LeftButton);
    QImage inside = picture;
    for (int y = 11; y < 19; ++y)
        for (int x = 11; x < 29; ++x)
            inside.setPixel(x, y, Blue);
    EXPECT_EQ(canvas().image(), inside);
    EXPECT_TRUE(active()->document().isModified());
    // The right button fills with the background colour, no menu pops up.
    workspace().settings.backColour = rgbColour(255, 0, 0);
    click({0, 0}, Qt::RightButton);
    EXPECT_EQ(canvas().image().pixel(59, 39), Red);
    EXPECT_EQ(canvas().image().pixel(15, 15), Blue);
    main->undo();
    EXPECT_EQ(canvas().image(), inside);
    main->undo();
    EXPECT_EQ(canvas().image(), picture);
}

TEST_F(ColourTools, PickerTakesTheColourAndTheLineDrawnWithItIsSaved)
{
    main->toolPalette()->button(2)->setFocus(); // the line tool
    ASSERT_EQ(workspace().settings.tool, ToolId::Line);
    key(Qt::Key_D);
    QWidget *canvasBox = active()->view()->canvasBox();
    QMouseEvent hover(QEvent::MouseMove, QPointF(50, 30), canvasBox->mapToGlobal(QPointF(50, 30)),
                      Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(canvasBox, &hover);
    EXPECT_EQ(main->colourPalette()->pointerBox()->text(), "750  450  #FF0000");
    click({50, 30}, Qt::LeftButton);
    EXPECT_EQ(workspace().settings.drawingColour, rgbColour(255, 0, 0));
    EXPECT_EQ(main->colourPalette()->drawingColourBox()->backColor(), rgbColour(255, 0, 0));
    EXPECT_EQ(workspace().settings.tool, ToolId::Line) << "the tool before is back";

    // A line along row 30 from x 35 to 45, in the picked red.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(35, 30), canvasBox->mapToGlobal(QPointF(35, 30)),
                      Qt::LeftButton, Qt::LeftButton, {});
    QMouseEvent move(QEvent::MouseMove, QPointF(45, 30), canvasBox->mapToGlobal(QPointF(45, 30)),
                     Qt::NoButton, Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(45, 30),
                        canvasBox->mapToGlobal(QPointF(45, 30)), Qt::LeftButton, Qt::NoButton, {});
    for (QMouseEvent *e : {&press, &move, &release})
        QApplication::sendEvent(canvasBox, e);
    QTemporaryDir dir;
    script.fileAnswers = {dir.path() + "/picked.bmp"};
    main->saveAs();
    const QImage saved(dir.path() + "/picked.bmp");
    ASSERT_FALSE(saved.isNull());
    for (int x = 35; x < 45; ++x)
        EXPECT_EQ(saved.pixel(x, 30), Red) << x;
    EXPECT_EQ(saved.pixel(35, 31), White);
    EXPECT_EQ(saved.pixel(0, 0), White) << "the pick's release drew nothing";

    // A right pick sets the background colour and leaves the picture.
    key(Qt::Key_D);
    click({12, 10}, Qt::RightButton);
    EXPECT_EQ(workspace().settings.backColour, rgbColour(0, 0, 0));
    EXPECT_EQ(main->colourPalette()->backColourBox()->backColor(), rgbColour(0, 0, 0));
    EXPECT_EQ(canvas().image().pixel(0, 0), White);
}
