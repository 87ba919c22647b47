#include "steps.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace e2e;

TEST(Palettes, RedSwatchGivesARedLine)
{
    Session s;
    const auto main = s.waitWindow("Quor 画图");
    ASSERT_TRUE(main);
    // Wide enough that the read-outs at the right end clear the swatches.
    s.resize(*main, 1000, 600);
    const auto red = s.widget("Picture19"); // column 6, top row
    ASSERT_TRUE(red);
    s.click(red->center());
    s.click(s.widget("Command2")->center());
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    s.drag(onCanvas(*canvas, 10, 30), onCanvas(*canvas, 90, 30));

    const QImage saved = saveThroughCloseQuestion(s, "New Quor1", "red.bmp");
    ASSERT_FALSE(saved.isNull());
    for (int x : {10, 50, 88})
        EXPECT_EQ(saved.pixel(x, 30) & 0xffffff, 0xff0000u) << x;
    EXPECT_TRUE(isWhite(saved.pixel(50, 31)));
    EXPECT_EQ(inkCount(saved), 80);
    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}
