#include "steps.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;
using namespace e2e;

TEST(Text, ChineseTypedAndConfirmedFromTheQuickMenu)
{
    e2e::Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    const auto button = s.widget("Command13");
    ASSERT_TRUE(button);
    s.click(button->center());
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);

    // A large font through the font dialog (Ctrl+W): its size box is two
    // tabs from the family list, which has the focus.
    s.key("ctrl+w");
    ASSERT_TRUE(s.waitWindow("字体..."));
    s.key("Tab Tab ctrl+a");
    s.type("28");
    s.key("Return");
    ASSERT_TRUE(s.waitWindowGone("字体..."));

    s.click(onCanvas(*canvas, 30, 40));
    s.type("中文文字");
    std::this_thread::sleep_for(300ms); // the box reports its grown size
    const auto box = s.widget("hword");
    ASSERT_TRUE(box);
    ASSERT_GT(box->width(), 100);
    const QImage screen = s.screenshot();

    // The quick menu at the pointer; "确定" is its last entry.
    s.click(box->center(), 3);
    std::this_thread::sleep_for(300ms);
    s.key("Up");
    s.key("Return");

    const QImage saved = saveThroughCloseQuestion(s, "New Quor1", "text.bmp");
    ASSERT_FALSE(saved.isNull());
    const QRect former = box->translated(-canvas->topLeft());
    int cores = 0, ink = 0;
    for (int y = 0; y < saved.height(); ++y) {
        for (int x = 0; x < saved.width(); ++x) {
            const QRgb p = saved.pixel(x, y);
            if (isWhite(p))
                continue;
            ++ink;
            ASSERT_TRUE(former.contains(x, y)) << "ink outside the box at " << x << "," << y;
            // Smoothed edges blend the foreground (black) with the canvas.
            EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << x << "," << y;
            cores += isBlack(p);
        }
    }
    EXPECT_GT(cores, 20);
    EXPECT_GT(ink, cores);

    // What the box showed while typing, bar its caret at the end.
    int differing = 0;
    for (int y = 0; y < former.height(); ++y)
        for (int x = 0; x < former.width(); ++x)
            differing += saved.pixel(former.topLeft() + QPoint(x, y))
                         != screen.pixel(box->topLeft() + QPoint(x, y));
    EXPECT_LT(differing, 2 * former.height());

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}
