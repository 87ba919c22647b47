// The three mirrors: exact against a per-pixel reference, on half-coloured
// pictures, and undone by a second flip.
#include "effects/flips.h"

#include <gtest/gtest.h>

#include <random>

using namespace quor::effects;

namespace {

constexpr Flip Kinds[] = {Flip::Horizontal, Flip::Vertical, Flip::Diagonal};

QImage noise(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, 0xff000000u | (rng() & 0xffffffu));
    return img;
}

QImage reference(const QImage &src, Flip kind)
{
    QImage out = src;
    const int w = src.width(), h = src.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int sx = kind == Flip::Vertical ? x : w - 1 - x;
            const int sy = kind == Flip::Horizontal ? y : h - 1 - y;
            out.setPixel(x, y, src.pixel(sx, sy));
        }
    return out;
}

// Left half (or top half) one colour, the rest another.
QImage halves(bool sideBySide, QRgb first, QRgb second)
{
    QImage img(8, 6, QImage::Format_RGB32);
    img.fill(second);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            if (sideBySide ? x < 4 : y < 3)
                img.setPixel(x, y, first);
    return img;
}

} // namespace

TEST(Flips, MirrorEveryPixelExactly)
{
    for (const QSize size : {QSize(37, 23), QSize(1, 5), QSize(6, 1), QSize(1, 1)}) {
        const QImage src = noise(size.width(), size.height());
        for (Flip kind : Kinds) {
            const QImage once = flipped(src, kind);
            EXPECT_EQ(once, reference(src, kind));
            EXPECT_EQ(flipped(once, kind), src);
        }
    }
}

TEST(Flips, HalfColouredPictures)
{
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    const QImage redBlue = halves(true, red, blue), blueRed = halves(true, blue, red);
    const QImage blackWhite = halves(false, black, white), whiteBlack = halves(false, white, black);

    EXPECT_EQ(flipped(redBlue, Flip::Horizontal), blueRed);
    EXPECT_EQ(flipped(redBlue, Flip::Vertical), redBlue);
    EXPECT_EQ(flipped(redBlue, Flip::Diagonal), blueRed);
    EXPECT_EQ(flipped(blackWhite, Flip::Horizontal), blackWhite);
    EXPECT_EQ(flipped(blackWhite, Flip::Vertical), whiteBlack);
    EXPECT_EQ(flipped(blackWhite, Flip::Diagonal), whiteBlack);
}

TEST(Flips, InPlaceOtherFormatsAndRefusals)
{
    const QImage src = noise(9, 7);
    for (Flip kind : Kinds) {
        QImage img = src.copy();
        EXPECT_TRUE(flip(img, img, kind));
        EXPECT_EQ(img, reference(src, kind));
    }
    const QImage argb = src.convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(flipped(argb, Flip::Diagonal), reference(src, Flip::Diagonal));

    QImage wrongSize(9, 8, QImage::Format_RGB32);
    wrongSize.fill(0xff123456u);
    EXPECT_FALSE(flip(src, wrongSize, Flip::Horizontal));
    EXPECT_EQ(wrongSize.pixel(0, 0), 0xff123456u);
    EXPECT_TRUE(flipped(QImage(), Flip::Vertical).isNull());
}
