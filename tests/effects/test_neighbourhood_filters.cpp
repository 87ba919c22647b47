// Soften, sharpen, oil and emboss against per-pixel references written
// straight from their formulas, plus the cases that pin their arithmetic
// and the pixels each one leaves alone.
#include "effects/neighbourhood_filters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

using namespace quor::effects;

namespace {

// A colour no filter produces from the pictures below: marks pixels never written.
constexpr QRgb Unwritten = 0xff010203u;

QImage noise(int w, int h, unsigned seed = 5)
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

using ChannelRule = std::function<double(QRgb here, QRgb upperLeft, int (*ch)(QRgb))>;

int clampByte(double v) { return int(std::nearbyint(std::clamp(v, 0.0, 255.0))); }

// Per channel, per pixel, from the upper-left neighbour, for columns and
// rows 1 .. last; writes outside the picture leave no mark.
QImage diagonalReference(const QImage &src, int lastX, int lastY, const ChannelRule &rule)
{
    QImage dst = src;
    for (int y = 1; y <= lastY; ++y)
        for (int x = 1; x <= lastX; ++x) {
            if (x >= src.width() || y >= src.height())
                continue;
            const QRgb v = src.pixel(x, y), u = src.pixel(x - 1, y - 1);
            dst.setPixel(x, y, qRgb(clampByte(rule(v, u, qRed)), clampByte(rule(v, u, qGreen)),
                                    clampByte(rule(v, u, qBlue))));
        }
    return dst;
}

QImage sharpenReference(const QImage &src)
{
    return diagonalReference(src, src.width() - 2, src.height() - 2,
                             [](QRgb v, QRgb u, auto ch) { return ch(v) + (ch(v) - ch(u)) * 0.5; });
}

QImage embossReference(const QImage &src)
{
    return diagonalReference(src, src.width(), src.height(), [](QRgb v, QRgb u, auto ch) {
        return double(ch(v) - ch(u) + 128);
    });
}

QImage softenReference(const QImage &src)
{
    QImage dst = src;
    for (int y = 1; y <= src.height() - 2; ++y)
        for (int x = 1; x <= src.width() - 2; ++x) {
            int r = 0, g = 0, b = 0;
            for (int i = -1; i <= 1; ++i)
                for (int j = -1; j <= 1; ++j) {
                    const QRgb p = src.pixel(x + i, y + j);
                    r += qRed(p);
                    g += qGreen(p);
                    b += qBlue(p);
                }
            dst.setPixel(x, y, qRgb(int(std::nearbyint(r / 9.0)), int(std::nearbyint(g / 9.0)),
                                    int(std::nearbyint(b / 9.0))));
        }
    return dst;
}

QImage oilReference(const QImage &src, RandomSource &random)
{
    QImage dst = src;
    for (int y = 2; y <= src.height() - 3; ++y)
        for (int x = 2; x <= src.width() - 3; ++x) {
            const double dy = random.next() * 4 - 2;
            const int dx = int(std::nearbyint(random.next() * 4 - 2));
            dst.setPixel(x, y, src.pixel(x + dx, int(std::floor(y + dy))));
        }
    return dst;
}

using Filter = bool (*)(const QImage &, QImage &, const RowProgress &);

QImage run(Filter f, const QImage &src, QImage dst)
{
    EXPECT_TRUE(f(src, dst, {}));
    return dst;
}

// Which pixels a filter wrote, on a picture w x h.
std::vector<QPoint> written(Filter f, int w, int h)
{
    const QImage out = run(f, noise(w, h), solid(w, h, Unwritten));
    std::vector<QPoint> at;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (out.pixel(x, y) != Unwritten)
                at.emplace_back(x, y);
    return at;
}

bool oilFresh(const QImage &s, QImage &t, const RowProgress &p)
{
    RandomSource fresh;
    return oil(s, t, p, fresh);
}

// Red of the centre of a 3 x 3 picture whose upper-left pixel has red u and
// the centre red v.
int centreRed(Filter f, int v, int u)
{
    QImage src = solid(3, 3, qRgb(0, 0, 0));
    src.setPixel(0, 0, qRgb(u, 0, 0));
    src.setPixel(1, 1, qRgb(v, 0, 0));
    return qRed(run(f, src, src).pixel(1, 1));
}

} // namespace

TEST(NeighbourhoodFilters, MatchPerPixelReferencesOnNoise)
{
    for (const QSize size : {QSize(61, 47), QSize(5, 4), QSize(4, 9)}) {
        SCOPED_TRACE(size.width() * 1000 + size.height());
        const QImage src = noise(size.width(), size.height());
        EXPECT_EQ(run(soften, src, src), softenReference(src));
        EXPECT_EQ(run(sharpen, src, src), sharpenReference(src));
        EXPECT_EQ(run(emboss, src, src), embossReference(src));
        RandomSource a;
        QImage out = src;
        ASSERT_TRUE(oil(src, out, {}, a));
        RandomSource b;
        EXPECT_EQ(out, oilReference(src, b));
    }
}

TEST(NeighbourhoodFilters, WriteOnlyTheirRanges)
{
    const std::vector<QPoint> centre{QPoint(1, 1)};
    EXPECT_EQ(written(soften, 3, 3), centre);
    EXPECT_EQ(written(sharpen, 3, 3), centre);
    EXPECT_TRUE(written(oilFresh, 3, 3).empty());
    EXPECT_EQ(written(emboss, 3, 3),
              (std::vector<QPoint>{{1, 1}, {2, 1}, {1, 2}, {2, 2}}));

    // Oil keeps two rows and columns at the top and left, three at the
    // bottom and right.
    const std::vector<QPoint> oiled = written(oilFresh, 9, 8);
    ASSERT_EQ(oiled.size(), 5u * 4u);
    EXPECT_EQ(oiled.front(), QPoint(2, 2));
    EXPECT_EQ(oiled.back(), QPoint(6, 5));
}

TEST(NeighbourhoodFilters, ReportEveryRowOfTheirRange)
{
    const QImage src = noise(6, 7);
    const auto rows = [&](Filter f) {
        std::vector<int> seen;
        QImage dst = src;
        f(src, dst, [&](int y) { seen.push_back(y); });
        return seen;
    };
    EXPECT_EQ(rows(soften), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(rows(sharpen), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(rows(oilFresh), (std::vector<int>{2, 3, 4}));
    // Emboss steps down to the height itself.
    EXPECT_EQ(rows(emboss), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
}

TEST(NeighbourhoodFilters, UniformPictures)
{
    const QImage flat = solid(7, 6, qRgb(200, 90, 13));
    EXPECT_EQ(run(soften, flat, flat), flat);
    EXPECT_EQ(run(sharpen, flat, flat), flat);
    const QImage embossed = run(emboss, flat, flat);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(embossed.pixel(x, y), x && y ? qRgb(128, 128, 128) : flat.pixel(x, y));
}

TEST(NeighbourhoodFilters, RoundAndClampPerChannel)
{
    EXPECT_EQ(centreRed(sharpen, 101, 100), 102); // 101.5, halves to even
    EXPECT_EQ(centreRed(sharpen, 100, 99), 100);  // 100.5
    EXPECT_EQ(centreRed(sharpen, 250, 0), 255);   // 375
    EXPECT_EQ(centreRed(sharpen, 10, 200), 0);    // -85
    EXPECT_EQ(centreRed(emboss, 0, 255), 0);      // -127
    EXPECT_EQ(centreRed(emboss, 255, 0), 255);    // 383

    // Nine reds summing to 1000 average 111.1; other channels stay apart.
    QImage src = solid(3, 3, qRgb(111, 7, 250));
    src.setPixel(2, 2, qRgb(112, 7, 250));
    EXPECT_EQ(run(soften, src, src).pixel(1, 1), qRgb(111, 7, 250));
}

TEST(NeighbourhoodFilters, OilSequenceRestartsAndContinues)
{
    const QImage src = noise(20, 16);
    RandomSource a, b;
    QImage first = src, again = src, next = src;
    oil(src, first, {}, a);
    oil(src, again, {}, b); // a fresh start replays the sequence
    EXPECT_EQ(first, again);
    oil(src, next, {}, a); // the same generator continues instead
    EXPECT_NE(first, next);

    RandomSource r;
    for (int i = 0; i < 100000; ++i) {
        const double v = r.next();
        ASSERT_GE(v, 0.0);
        ASSERT_LT(v, 1.0);
    }
}

TEST(NeighbourhoodFilters, SameImageAsSourceAndTarget)
{
    for (Filter f : {soften, sharpen, emboss}) {
        QImage img = noise(12, 10);
        const QImage src = img.copy();
        EXPECT_TRUE(f(img, img, {}));
        EXPECT_EQ(img, run(f, src, src));
    }
}

TEST(NeighbourhoodFilters, RefuseMismatchedTargets)
{
    const QImage src = noise(8, 8);
    QImage smaller = solid(8, 7, Unwritten);
    EXPECT_FALSE(soften(src, smaller, {}));
    QImage withAlpha = solid(8, 8, Unwritten).convertToFormat(QImage::Format_ARGB32);
    EXPECT_FALSE(emboss(src, withAlpha, {}));
    EXPECT_EQ(smaller, solid(8, 7, Unwritten));
    EXPECT_EQ(withAlpha.pixel(3, 3), Unwritten);
}
