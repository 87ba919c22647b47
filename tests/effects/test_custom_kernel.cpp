// The user's kernel against a per-pixel reference of its formula, the cases
// that pin its arithmetic, and the box-text rules.
#include "effects/custom_kernel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace quor::effects;

namespace {

constexpr QRgb Unwritten = 0xff010203u;
constexpr std::int32_t Max32 = std::numeric_limits<std::int32_t>::max();

QImage noise(int w, int h, unsigned seed = 9)
{
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, 0xff000000u | (rng() & 0xffffffu));
    return img;
}

QImage solid(int w, int h, QRgb c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

QImage reference(const QImage &src, const Kernel &k)
{
    QImage dst = src;
    const int r = k.radius, w = src.width(), h = src.height();
    const double d = k.divisor == 0 ? 1 : k.divisor;
    for (int y = r; y <= h - r - 1; ++y)
        for (int x = r; x <= w - r - 1; ++x) {
            std::int64_t s[3] = {};
            for (int dy = -r; dy <= r; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    const QRgb p = src.pixel(x + dx, y + dy);
                    s[0] += std::int64_t(k.weight(dx, dy)) * qRed(p);
                    s[1] += std::int64_t(k.weight(dx, dy)) * qGreen(p);
                    s[2] += std::int64_t(k.weight(dx, dy)) * qBlue(p);
                }
            int c[3];
            for (int i = 0; i < 3; ++i)
                c[i] = int(std::nearbyint(std::min(std::abs(k.addend + s[i] / d), 255.0)));
            dst.setPixel(x, y, qRgb(c[0], c[1], c[2]));
        }
    return dst;
}

QImage apply(const QImage &src, const Kernel &k, QImage dst)
{
    EXPECT_TRUE(applyKernel(src, dst, k));
    return dst;
}
QImage apply(const QImage &src, const Kernel &k) { return apply(src, k, src); }

Kernel centreOnly(std::int32_t w, int radius = 1)
{
    Kernel k;
    k.radius = radius;
    k.weight(0, 0) = w;
    return k;
}

} // namespace

TEST(CustomKernel, MatchesPerPixelReferenceOnNoise)
{
    std::mt19937 rng(1);
    // Small weights (few distinct sums), large 32-bit sums, and sums only 64
    // bits hold; on a picture large enough to look results up and on one
    // with too few pixels for that.
    for (const QImage &src : {noise(120, 90), noise(8, 7)}) {
        for (const std::int32_t spread : {2, 9, 800000, Max32}) {
            for (int radius : {1, 2}) {
                Kernel k;
                k.radius = radius;
                std::uniform_int_distribution<std::int64_t> weight(-spread, spread);
                for (auto &w : k.weights)
                    w = std::int32_t(weight(rng));
                k.divisor = std::int32_t(rng() % 50);
                k.addend = int(rng() % 511) - 255;
                SCOPED_TRACE(spread);
                EXPECT_EQ(apply(src, k), reference(src, k));
            }
        }
    }
}

// A divisor of 1 works in whole numbers, in either lane width; -1 does not.
TEST(CustomKernel, DivisorOneOrMinusOne)
{
    std::mt19937 rng(2);
    const QImage src = noise(40, 30);
    for (const std::int32_t spread : {2, 300, 800000})
        for (const std::int32_t divisor : {1, -1})
            for (int radius : {1, 2}) {
                Kernel k;
                k.radius = radius;
                std::uniform_int_distribution<std::int32_t> weight(-spread, spread);
                for (auto &w : k.weights)
                    w = weight(rng);
                k.divisor = divisor;
                k.addend = int(rng() % 511) - 255;
                SCOPED_TRACE(spread * divisor);
                EXPECT_EQ(apply(src, k), reference(src, k));
            }
}

TEST(CustomKernel, EmptyIdentityAndAbsoluteValue)
{
    const QImage src = noise(6, 5);
    // No weights: every processed pixel is |addend|; the border stays.
    Kernel none;
    none.radius = 1;
    none.addend = -7;
    const QImage grey = apply(src, none, solid(6, 5, Unwritten));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(grey.pixel(x, y), x && y && x < 5 && y < 4 ? qRgb(7, 7, 7) : Unwritten);
    none.addend = 0;
    EXPECT_EQ(apply(src, none).pixel(2, 2), qRgb(0, 0, 0));

    EXPECT_EQ(apply(src, centreOnly(1)), src);
    EXPECT_EQ(apply(src, centreOnly(1, 2)), src);
    EXPECT_EQ(apply(src, centreOnly(-1)), src); // |-v| = v, not a clamp to 0

    Kernel sharpening = centreOnly(9);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx || dy)
                sharpening.weight(dx, dy) = -1;
    const QImage flat = solid(5, 5, qRgb(77, 140, 3));
    EXPECT_EQ(apply(flat, sharpening), flat);
}

TEST(CustomKernel, DivisionCapAndRounding)
{
    // Divisor 2 on reds 1, 3, 5, 7: halves to even.
    QImage row = solid(6, 3, 0xff000000u);
    for (int x = 1; x <= 4; ++x)
        row.setPixel(x, 1, qRgb(2 * x - 1, 0, 0));
    Kernel half = centreOnly(1);
    half.divisor = 2;
    const QImage halved = apply(row, half);
    EXPECT_EQ(qRed(halved.pixel(1, 1)), 0);
    EXPECT_EQ(qRed(halved.pixel(2, 1)), 2);
    EXPECT_EQ(qRed(halved.pixel(3, 1)), 2);
    EXPECT_EQ(qRed(halved.pixel(4, 1)), 4);

    // Divisor 0 counts as 1; the cap applies before rounding.
    Kernel doubled = centreOnly(2);
    doubled.divisor = 0;
    EXPECT_EQ(apply(solid(3, 3, qRgb(100, 200, 0)), doubled).pixel(1, 1), qRgb(200, 255, 0));

    // Sums beyond 32 bits: (2^31 - 1) x (3 - 2) / (2^31 - 1) is exactly 1.
    QImage pair = solid(3, 3, qRgb(2, 2, 2));
    pair.setPixel(1, 1, qRgb(3, 3, 3));
    Kernel huge = centreOnly(Max32);
    huge.weight(1, 1) = -Max32;
    huge.divisor = Max32;
    EXPECT_EQ(apply(pair, huge).pixel(1, 1), qRgb(1, 1, 1));
    Kernel allMin;
    allMin.weights.fill(std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(apply(solid(5, 5, qRgb(255, 255, 255)), allMin).pixel(2, 2), qRgb(255, 255, 255));
}

TEST(CustomKernel, PicturesSmallerThanTheKernel)
{
    std::vector<int> rows;
    const auto note = [&](int y) { rows.push_back(y); };
    QImage narrow = noise(4, 9);
    const QImage before = narrow;
    EXPECT_TRUE(applyKernel(narrow, narrow, centreOnly(5, 2), note));
    EXPECT_EQ(narrow, before);
    EXPECT_TRUE(rows.empty());

    QImage tiny = solid(3, 3, Unwritten);
    EXPECT_TRUE(applyKernel(noise(3, 3), tiny, centreOnly(1), note));
    EXPECT_EQ(rows, std::vector<int>{1});
    tiny.setPixel(1, 1, Unwritten);
    EXPECT_EQ(tiny, solid(3, 3, Unwritten));

    QImage mismatched = solid(3, 4, Unwritten);
    EXPECT_FALSE(applyKernel(noise(3, 3), mismatched, centreOnly(1)));
}

TEST(CustomKernel, BoxTexts)
{
    EXPECT_EQ(weightFromText("12"), 12);
    EXPECT_EQ(weightFromText("-7"), -7);
    EXPECT_EQ(weightFromText("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(weightFromText("2147483647"), Max32);
    for (const char *notANumber : {"", "-", "1-2", "--", "--3", "2147483648", "99999999999", "a"})
        EXPECT_EQ(weightFromText(notANumber), 0) << notANumber;

    EXPECT_EQ(divisorFromText(""), 1);
    EXPECT_EQ(divisorFromText("0"), 1);
    EXPECT_EQ(divisorFromText("-4"), 1);
    EXPECT_EQ(divisorFromText("99999999999"), 1);
    EXPECT_EQ(divisorFromText("16"), 16);

    EXPECT_EQ(addendFromText("300"), 255);
    EXPECT_EQ(addendFromText("-300"), -255);
    EXPECT_EQ(addendFromText("-"), 0);
    EXPECT_EQ(addendFromText(""), 0);
    EXPECT_EQ(addendFromText("-17"), -17);
}
