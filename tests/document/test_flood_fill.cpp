// The flood fill against a breadth-first reference on maze-like pictures:
// 4-connectivity (diagonal gaps hold), holes, the border, a single pixel
// and the whole picture.
#include "document/model/flood_fill.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <random>

using quor::raster::floodFill;

namespace {

constexpr QRgb Wall = 0xff000000u, Floor = 0xffffffffu, Paint = 0xffff0000u;

// The slow way: one pixel at a time through a queue.
QImage reference(QImage img, QPoint seed, QRgb colour)
{
    const QRgb target = img.pixel(seed);
    if (target == colour)
        return img;
    std::deque<QPoint> queue{seed};
    img.setPixel(seed, colour);
    while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop_front();
        for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint n = p + d;
            if (img.rect().contains(n) && img.pixel(n) == target) {
                img.setPixel(n, colour);
                queue.push_back(n);
            }
        }
    }
    return img;
}

QImage picture(const char *rows[], int h)
{
    const int w = int(std::strlen(rows[0]));
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, rows[y][x] == '#' ? Wall : Floor);
    return img;
}

void expectLikeReference(const QImage &img, QPoint seed, QRgb colour)
{
    QImage filled = img;
    const QRect r = floodFill(filled, seed, colour);
    const QImage expected = reference(img, seed, colour);
    ASSERT_EQ(filled, expected) << seed.x() << "," << seed.y();
    // The rectangle reported is exactly the changed pixels' bounds.
    QRect bounds;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != expected.pixel(x, y))
                bounds |= QRect(x, y, 1, 1);
    EXPECT_EQ(r, bounds);
}

} // namespace

TEST(FloodFill, MatchesTheReferenceOnAMaze)
{
    const char *maze[] = {
        ".#...#.",
        ".#.#.#.",
        "...#.#.",
        "####.#.",
        "..#...#",
    };
    const QImage img = picture(maze, 5);
    // A diagonal gap stops it, the walls fill as an area of their own, the
    // single pixel at the bottom right, the border column on the right.
    for (QPoint seed : {QPoint(0, 0), QPoint(2, 0), QPoint(1, 0), QPoint(6, 4), QPoint(6, 0),
                        QPoint(0, 4)})
        expectLikeReference(img, seed, Paint);
    // The same colour again changes nothing; outside the picture nothing.
    QImage same = img;
    EXPECT_TRUE(floodFill(same, {0, 0}, Floor).isEmpty());
    EXPECT_TRUE(floodFill(same, {7, 0}, Paint).isEmpty());
    EXPECT_EQ(same, img);
}

TEST(FloodFill, MatchesTheReferenceOnRandomPicturesAndFillsAWholeOne)
{
    std::mt19937 rng(7);
    for (int n = 0; n < 40; ++n) {
        QImage img(int(rng() % 40) + 1, int(rng() % 30) + 1, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y, rng() % 3 ? Floor : Wall);
        expectLikeReference(img, {int(rng() % img.width()), int(rng() % img.height())}, Paint);
    }
    QImage blank(9, 4, QImage::Format_RGB32);
    blank.fill(Floor);
    EXPECT_EQ(floodFill(blank, {4, 2}, Paint), blank.rect());
    EXPECT_EQ(blank.pixel(0, 0), Paint);
    EXPECT_EQ(blank.pixel(8, 3), Paint);
}
