#include "harness.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Canvas pixel (x, y) on the screen.
QPoint onCanvas(const QRect &canvas, int x, int y)
{
    return canvas.topLeft() + QPoint(x, y);
}

// Pixels of img that differ from white, as a count.
int inkCount(const QImage &img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xffffff) != 0xffffff;
    return n;
}

} // namespace

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

    s.key("F7");
    ASSERT_TRUE(s.waitWindow("New Quor1", 5s));
    s.key("Return"); // Yes, save the changes
    ASSERT_TRUE(s.waitWindow("保存 New Quor1", 5s));
    const QString file = s.home() + "/line.bmp";
    s.key("ctrl+a");
    s.type(file);
    s.key("Return");

    const QImage saved = s.readImage(file);
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
