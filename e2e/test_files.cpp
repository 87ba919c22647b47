#include "steps.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace e2e;

TEST(Files, SavedWithF3AndOpenedWithF2)
{
    Session s;
    const auto main = s.waitWindow("Quor 画图");
    ASSERT_TRUE(main);
    s.resize(*main, 900, 700);
    s.click(s.widget("Picture49")->center()); // blue, column 21 top row
    s.click(s.widget("Command2")->center());
    auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    s.drag(onCanvas(*canvas, 15, 15), onCanvas(*canvas, 115, 65));

    s.key("F3");
    ASSERT_TRUE(s.waitWindow("保存 New Quor1"));
    const QString file = s.home() + "/round.bmp";
    s.key("ctrl+a");
    s.type(file);
    s.key("Return");
    const QImage saved = Session::readImage(file);
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.pixel(15, 15) & 0xffffff, 0x0000ffu);
    EXPECT_EQ(inkCount(saved), 100);

    s.key("F7"); // saved, so it closes without asking
    ASSERT_TRUE(s.waitWindowGone(file));
    s.key("F2");
    ASSERT_TRUE(s.waitWindow("打开..."));
    s.type(file);
    s.key("Return");
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    EXPECT_EQ(canvas->size(), saved.size());
    // What the reopened window shows is the saved picture.
    const QImage shown = s.screenshot().copy(*canvas);
    int differing = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 130; ++x)
            differing += (shown.pixel(x, y) & 0xffffff) != (saved.pixel(x, y) & 0xffffff);
    EXPECT_EQ(differing, 0);

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}

TEST(Files, APngStaysAPngAndReopensFromTheRecentFiles)
{
    Session s;
    const auto main = s.waitWindow("Quor 画图");
    ASSERT_TRUE(main);
    s.resize(*main, 900, 700);
    const QString file = s.home() + "/shot.png";
    QImage white(160, 100, QImage::Format_ARGB32);
    white.fill(Qt::white);
    ASSERT_TRUE(white.save(file, "PNG"));

    s.key("F2");
    ASSERT_TRUE(s.waitWindow("打开..."));
    s.type(file);
    s.key("Return");
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    s.click(s.widget("Picture49")->center()); // blue
    s.click(s.widget("Command2")->center());
    auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    s.drag(onCanvas(*canvas, 15, 15), onCanvas(*canvas, 115, 65));
    const QImage picture = saveAgain(s, file, white.convertToFormat(QImage::Format_RGB32));
    s.key("F7"); // saved, so it closes without asking
    s.key("F7"); // and the empty first document
    auto canvasShown = [&] {
        for (const auto &[path, rect] : s.widgets())
            if (path.endsWith("frmquoredit/Picture1"))
                return true;
        return false;
    };
    for (int i = 0; i < 50 && canvasShown(); ++i)
        std::this_thread::sleep_for(100ms);
    ASSERT_FALSE(canvasShown());

    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.read(8).startsWith("\x89PNG"));
    saved.close();
    ASSERT_EQ(picture.size(), QSize(160, 100));
    EXPECT_EQ(picture.pixel(15, 15) & 0xffffff, 0x0000ffu);
    EXPECT_EQ(inkCount(picture), 100);

    // Alt+F, then the entry's number.
    s.key("alt+f");
    s.key("1");
    canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    const QImage shown = s.screenshot().copy(*canvas);
    EXPECT_EQ(shown.pixel(15, 15) & 0xffffff, 0x0000ffu);
    EXPECT_EQ(inkCount(shown.copy(0, 0, 160, 100)), 100);

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}
