// Ellipse outlines and fills of many sizes and aspects against the
// definition, pixel by pixel: the fast row walk must give the same set.
#include "document/model/canvas_surface.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace quor;

namespace {

bool in(long long dx, long long dy, long long a, long long b)
{
    return std::llabs(dx) <= a && std::llabs(dy) <= b
        && dx * dx * b * b + dy * dy * a * a <= a * a * b * b;
}

} // namespace

TEST(EllipseRows, OutlinesAndFillsOfManyShapesMatchTheDefinition)
{
    constexpr Colour Outline = 0x0000ff, Fill = 0xff0000, Back = 0xffffff;
    const int sizes[][2] = {{0, 0}, {1, 1}, {2, 1}, {1, 7}, {3, 40}, {40, 3}, {57, 56},
                            {120, 119}, {119, 60}, {7, 119}, {300, 2}, {2, 300}};
    for (const auto &size : sizes) {
        const int a = size[0], b = size[1];
        SCOPED_TRACE(std::to_string(a) + "x" + std::to_string(b));
        const int w = 2 * a + 5, h = 2 * b + 5, cx = a + 2, cy = b + 2;
        CanvasSurface s(w, h);
        s.setScaleMode(ScaleMode::Pixels);
        s.setFillStyle(FillStyle::Solid);
        s.setFillColor(Fill);
        // The radius lies along the longer axis; aspect is height / width.
        const double radius = std::max(a, b);
        const double aspect = a == 0 ? 1e9 : double(b) / a;
        s.circle(cx, cy, radius, Outline, std::nullopt, std::nullopt, aspect);
        const QImage img = s.image();
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int dx = x - cx, dy = y - cy;
                const bool inside = in(dx, dy, a, b);
                const bool edge = inside
                    && !(in(dx - 1, dy, a, b) && in(dx + 1, dy, a, b) && in(dx, dy - 1, a, b)
                         && in(dx, dy + 1, a, b));
                const Colour want = edge ? Outline : inside ? Fill : Back;
                ASSERT_EQ(s.point(x, y), want) << x << "," << y;
            }
    }
}
