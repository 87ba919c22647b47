#include "steps.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace e2e;

TEST(Drawing, BlackLineSavedThroughTheCloseQuestion)
{
    e2e::Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));

    // Options > draw mode > "黑色": the drawing colour starts as the window
    // colour, white on white, so only the draw mode makes the line show.
    s.key("alt+d");
    s.key("Right");
    s.key("Return");

    const auto button = s.widget("Command2");
    ASSERT_TRUE(button);
    s.click(button->center());
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    s.drag(onCanvas(*canvas, 20, 20), onCanvas(*canvas, 120, 70));

    const QImage saved = saveThroughCloseQuestion(s, "New Quor1", "line.bmp");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.pixel(20, 20) & 0xffffff, 0u);
    EXPECT_EQ(saved.pixel(70, 45) & 0xffffff, 0u);
    EXPECT_EQ(saved.pixel(119, 70) & 0xffffff, 0u); // near the end: the last pixel is open
    EXPECT_EQ(saved.pixel(20, 70) & 0xffffff, 0xffffffu);
    // One pixel per column of the line, and nothing else.
    EXPECT_EQ(inkCount(saved), 100);

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}

TEST(Drawing, RectangleAndEllipseDraggedWithTheMouse)
{
    e2e::Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);

    // Both take a black outline (the foreground colour) and a solid fill in
    // the drawing colour, white.
    s.click(s.widget("Command4")->center());
    s.drag(onCanvas(*canvas, 60, 40), onCanvas(*canvas, 10, 10));
    s.click(s.widget("Command3")->center());
    s.drag(onCanvas(*canvas, 80, 20), onCanvas(*canvas, 140, 60));

    const QImage saved = saveThroughCloseQuestion(s, "New Quor1", "shapes.bmp");
    ASSERT_FALSE(saved.isNull());
    for (QPoint p : {QPoint(10, 10), QPoint(60, 40), QPoint(35, 10), QPoint(10, 25), QPoint(60, 25)})
        EXPECT_TRUE(isBlack(saved.pixel(p))) << p.x() << "," << p.y();
    EXPECT_TRUE(isWhite(saved.pixel(35, 25)));
    EXPECT_TRUE(isWhite(saved.pixel(61, 41)));
    // The ellipse in the 60 x 40 rectangle: its extreme pixels on the edges.
    for (QPoint p : {QPoint(80, 40), QPoint(140, 40), QPoint(110, 20), QPoint(110, 60)})
        EXPECT_TRUE(isBlack(saved.pixel(p))) << p.x() << "," << p.y();
    EXPECT_TRUE(isWhite(saved.pixel(110, 40)));
    EXPECT_TRUE(isWhite(saved.pixel(81, 21)));

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}

TEST(Drawing, ASelectionDraggedElsewhereIsPastedWithEnter)
{
    e2e::Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);

    s.click(s.widget("Command4")->center());
    s.drag(onCanvas(*canvas, 10, 10), onCanvas(*canvas, 30, 30));
    // Lift the square and move it 100 pixels right.
    s.click(s.widget("Command1")->center());
    s.drag(onCanvas(*canvas, 5, 5), onCanvas(*canvas, 40, 40));
    const auto lifted = s.widget("PictureCopy");
    ASSERT_TRUE(lifted);
    const QPoint grab = lifted->topLeft() + QPoint(10, 10);
    s.drag(grab, grab + QPoint(100, 0));
    s.key("Return");

    const QImage saved = saveThroughCloseQuestion(s, "New Quor1", "moved.bmp");
    ASSERT_FALSE(saved.isNull());
    // The original stays (the selection copies) and the copy lies 100 to the right.
    for (int dx : {0, 100}) {
        EXPECT_TRUE(isBlack(saved.pixel(10 + dx, 10))) << dx;
        EXPECT_TRUE(isBlack(saved.pixel(30 + dx, 30))) << dx;
        EXPECT_TRUE(isWhite(saved.pixel(20 + dx, 20))) << dx;
    }
    EXPECT_EQ(inkCount(saved), 2 * inkCount(saved.copy(0, 0, 60, 60)));
    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}

TEST(Drawing, TheCornerHandleResizesTheCanvas)
{
    e2e::Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    const auto canvas = s.widget("frmquoredit/Picture1");
    const auto corner = s.widget("bothsizePicture");
    ASSERT_TRUE(canvas && corner);
    const QPoint grab = corner->topLeft() + QPoint(1, 1);
    s.drag(grab, grab - QPoint(100, 60));

    const QImage saved = saveThroughCloseQuestion(s, "New Quor1", "smaller.bmp");
    ASSERT_FALSE(saved.isNull());
    // The edge follows the pointer's offset from the handle's corner, which
    // started one pixel inside.
    EXPECT_EQ(saved.size(), canvas->size() - QSize(99, 59));
    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}
