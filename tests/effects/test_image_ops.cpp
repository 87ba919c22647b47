// The Image menu's operations against per-pixel references on an odd-sized
// picture: the turns, the negative, the grey and the sharp scale.
#include "effects/image_ops.h"

#include <gtest/gtest.h>

#include <random>

using namespace quor::effects;

namespace {

QImage noise(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(5);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, 0xff000000u | (rng() & 0xffffffu));
    return img;
}

// Output (x, y) from the source pixel the turn brings there.
QImage turnReference(const QImage &src, Turn turn)
{
    const int w = src.width(), h = src.height();
    QImage out(turn == Turn::Half ? src.size() : src.size().transposed(), QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.setPixel(x, y, turn == Turn::Right  ? src.pixel(y, h - 1 - x)
                               : turn == Turn::Left ? src.pixel(w - 1 - y, x)
                                                    : src.pixel(w - 1 - x, h - 1 - y));
    return out;
}

} // namespace

TEST(ImageOps, TurnsMoveEveryPixelAndFourMakeTheOriginal)
{
    // Larger than one tile of the turn, so the tile edges are crossed; the
    // largest is turned in two halves at once, in memory of its own.
    for (QSize size : {QSize(7, 5), QSize(1, 6), QSize(131, 67), QSize(1451, 1447)}) {
        const QImage src = noise(size.width(), size.height());
        for (Turn turn : {Turn::Right, Turn::Left, Turn::Half})
            EXPECT_EQ(turned(src, turn), turnReference(src, turn)) << int(turn);
        QImage round = src;
        for (int i = 0; i < 4; ++i)
            round = turned(round, Turn::Right);
        EXPECT_EQ(round, src);
    }
    EXPECT_TRUE(turned(QImage(), Turn::Left).isNull());
}

TEST(ImageOps, NegativeGreyAndSharpScaleMatchTheirReferences)
{
    for (QSize size : {QSize(7, 5), QSize(1451, 1447)}) {
        const QImage src = noise(size.width(), size.height());
        QImage negative = src, grey = src;
        for (int y = 0; y < src.height(); ++y)
            for (int x = 0; x < src.width(); ++x) {
                const QRgb p = src.pixel(x, y);
                negative.setPixel(x, y, qRgb(255 - qRed(p), 255 - qGreen(p), 255 - qBlue(p)));
                const int g = (77 * qRed(p) + 150 * qGreen(p) + 29 * qBlue(p) + 128) / 256;
                grey.setPixel(x, y, qRgb(g, g, g));
            }
        EXPECT_EQ(inverted(src), negative);
        EXPECT_EQ(inverted(inverted(src)), src);
        EXPECT_EQ(greyed(src), grey);
    }

    const QImage src = noise(7, 5);
    // Doubling with sharp pixels makes each pixel a 2 x 2 block.
    const QImage doubled = scaled(src, {14, 10}, false);
    ASSERT_EQ(doubled.format(), QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 14; ++x)
            ASSERT_EQ(doubled.pixel(x, y), src.pixel(x / 2, y / 2)) << x << "," << y;
    EXPECT_EQ(scaled(src, {3, 9}, true).size(), QSize(3, 9));
    EXPECT_TRUE(scaled(src, {0, 9}, true).isNull());
}
