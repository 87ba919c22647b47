#include "steps.h"

#include "effects/neighbourhood_filters.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;
using namespace e2e;

namespace {


} // namespace

TEST(Effects, SoftenFromTheKeyboardChangesExactlyTheSelection)
{
    Session s;
    ASSERT_TRUE(s.waitWindow("Quor 画图"));
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    s.click(s.widget("Command4")->center());
    s.drag(onCanvas(*canvas, 10, 10), onCanvas(*canvas, 30, 30));
    const QImage before = saveNew(s, "保存 New Quor1", "picture.bmp");
    ASSERT_FALSE(before.isNull());

    s.click(s.widget("Command1")->center());
    s.drag(onCanvas(*canvas, 5, 5), onCanvas(*canvas, 40, 40));
    s.key("F8");
    s.key("Return");
    // Saved again under its name, without a question.
    const QImage after = saveAgain(s, s.home() + "/picture.bmp", before);
    ASSERT_FALSE(after.isNull());

    // The lifted 35 x 35 square softened and put back where it was.
    const QRect lifted(5, 5, 35, 35);
    const QImage source = before.convertToFormat(QImage::Format_RGB32).copy(lifted);
    QImage softened = source;
    ASSERT_TRUE(quor::effects::soften(source, softened));
    QImage expected = before.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < lifted.height(); ++y)
        for (int x = 0; x < lifted.width(); ++x)
            expected.setPixel(lifted.x() + x, lifted.y() + y, softened.pixel(x, y));
    int differing = 0;
    const QImage got = after.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(got.size(), expected.size());
    for (int y = 0; y < got.height(); ++y)
        for (int x = 0; x < got.width(); ++x)
            differing += (got.pixel(x, y) & 0xffffff) != (expected.pixel(x, y) & 0xffffff);
    EXPECT_EQ(differing, 0);
    EXPECT_NE(got.pixel(10, 11) & 0xffffff, 0u); // the edge really is softened

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}
