#include "steps.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace e2e;

TEST(Undo, AFigureUndoneWithTheKeysIsGoneFromTheSavedPictureAndComesBack)
{
    Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    s.click(s.widget("Command4")->center()); // rectangle
    s.drag(onCanvas(*canvas, 10, 10), onCanvas(*canvas, 60, 40));
    const QImage drawn = saveNew(s, "保存 New Quor1", "undo.bmp");
    ASSERT_FALSE(drawn.isNull());
    ASSERT_GT(inkCount(drawn), 0);

    s.key("alt+BackSpace");
    const QImage undone = saveAgain(s, s.home() + "/undo.bmp", drawn.convertToFormat(QImage::Format_RGB32));
    ASSERT_FALSE(undone.isNull());
    EXPECT_EQ(inkCount(undone), 0) << "the rectangle is gone";

    s.key("alt+shift+BackSpace");
    const QImage redone = saveAgain(s, s.home() + "/undo.bmp", undone);
    EXPECT_EQ(redone, drawn.convertToFormat(QImage::Format_RGB32));

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}
