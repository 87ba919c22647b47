#include "steps.h"

#include <QColor>

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using namespace e2e;

namespace {

int greyDistance(QRgb p, int grey)
{
    return std::max({std::abs(qRed(p) - grey), std::abs(qGreen(p) - grey),
                     std::abs(qBlue(p) - grey)});
}

} // namespace

TEST(ArcTools, HatchedSectorAndGradientEllipseDrawnWithTheMouse)
{
    Session s;
    const auto main = s.waitWindow("Quor 画图");
    ASSERT_TRUE(main);
    // Wide enough for the whole row of swatches.
    s.resize(*main, 1000, 600);
    const auto canvas = s.widget("frmquoredit/Picture1");
    ASSERT_TRUE(canvas);
    ASSERT_GE(canvas->width(), 260);
    ASSERT_GE(canvas->height(), 130);

    // Red drawing colour, which fills; the sector with horizontal hatch
    // lines (every eighth row from the top of the bitmap).
    s.click(s.widget("Picture19")->center());
    s.click(s.widget("Command14")->center());
    s.click(s.widget("Picturehu3")->center());
    // The guide from the centre to the right, then a click straight above:
    // three quarters from the top round the left and the bottom to the right.
    s.drag({onCanvas(*canvas, 70, 70), onCanvas(*canvas, 100, 70), onCanvas(*canvas, 120, 70)});
    s.click(onCanvas(*canvas, 70, 20));

    // The gradient ellipse with the palette's first colours, light grey in
    // the middle to darker grey at the rim, one way.
    s.click(s.widget("Command7")->center());
    s.drag({onCanvas(*canvas, 150, 20), onCanvas(*canvas, 200, 60), onCanvas(*canvas, 250, 80)});

    const QImage saved = saveThroughCloseQuestion(s, "New Quor1", "arcs.bmp");
    ASSERT_FALSE(saved.isNull());
    const QRgb red = qRgb(255, 0, 0);
    // Outline (the black fore colour) at the rim and along both radii.
    for (QPoint p : {QPoint(70, 20), QPoint(20, 70), QPoint(70, 120), QPoint(120, 70),
                     QPoint(70, 45), QPoint(95, 70)})
        EXPECT_TRUE(isBlack(saved.pixel(p))) << p.x() << "," << p.y();
    // Hatch rows inside the three quarters, white between them and in the
    // quarter left out.
    for (QPoint p : {QPoint(40, 64), QPoint(40, 96), QPoint(90, 96), QPoint(60, 40)})
        EXPECT_EQ(saved.pixel(p) & 0xffffff, red & 0xffffff) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(40, 65), QPoint(90, 99), QPoint(95, 40), QPoint(100, 56)})
        EXPECT_TRUE(isWhite(saved.pixel(p))) << p.x() << "," << p.y();

    // The ellipse: the start colour 239 in the middle, the end colour 127
    // at the ends of its axes, nothing of the rubber band outside it.
    EXPECT_LE(greyDistance(saved.pixel(200, 50), 239), 6);
    for (QPoint p : {QPoint(150, 50), QPoint(250, 50), QPoint(200, 20), QPoint(200, 80)})
        EXPECT_LE(greyDistance(saved.pixel(p), 127), 3) << p.x() << "," << p.y();
    EXPECT_GT(qRed(saved.pixel(175, 50)), qRed(saved.pixel(160, 50)));
    for (QPoint p : {QPoint(152, 22), QPoint(248, 78), QPoint(200, 85), QPoint(255, 50)})
        EXPECT_TRUE(isWhite(saved.pixel(p))) << p.x() << "," << p.y();

    s.key("ctrl+q");
    EXPECT_EQ(s.waitExit(5s), 0);
}
