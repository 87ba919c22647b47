// Wide pens are exactly their width across, for every width and figure,
// and a figure drawn twice with the exclusive-or pen leaves no trace.
#include "document/model/canvas_surface.h"

#include <gtest/gtest.h>

using namespace quor;

namespace {

CanvasSurface blank()
{
    CanvasSurface s(120, 120);
    s.setScaleMode(ScaleMode::Pixels);
    s.setForeColor(0);
    return s;
}

bool inked(const CanvasSurface &s, int x, int y) { return s.point(x, y) == 0; }

// Length of the inked run through (x, y) along a column or a row.
int runThrough(const CanvasSurface &s, int x, int y, bool vertical)
{
    if (!inked(s, x, y))
        return 0;
    int n = 1;
    for (int d = 1; inked(s, vertical ? x : x - d, vertical ? y - d : y); ++d)
        ++n;
    for (int d = 1; inked(s, vertical ? x : x + d, vertical ? y + d : y); ++d)
        ++n;
    return n;
}

} // namespace

TEST(PenWidths, LinesAndDotsAreExactlyTheirWidthAcross)
{
    for (int w = 1; w <= 6; ++w) {
        CanvasSurface s = blank();
        s.setDrawWidth(w);
        s.line(20, 30, 100, 30, 0);  // across
        s.line(60, 50, 60, 110, 0);  // down
        s.line(10, 60, 50, 70, 0);   // shallow
        s.pset(100, 100, 0);         // a dot
        EXPECT_EQ(runThrough(s, 60, 30, true), w) << "horizontal, width " << w;
        EXPECT_EQ(runThrough(s, 60, 80, false), w) << "vertical, width " << w;
        const int shallow = runThrough(s, 30, 65, true);
        EXPECT_GE(shallow, w) << "shallow, width " << w;
        EXPECT_LE(shallow, w + 1) << "shallow, width " << w;
        int dotRows = 0;
        for (int y = 90; y < 110; ++y)
            dotRows += inked(s, 100, y) || inked(s, 99, y);
        EXPECT_EQ(dotRows, w) << "dot, width " << w;
        EXPECT_EQ(runThrough(s, 100, 100 - (w % 2 ? 0 : 1), false), w) << "dot across, width " << w;
    }
}

TEST(PenWidths, EvenPensPutTheirExtraPixelWhereBoxOutlinesDo)
{
    CanvasSurface line = blank(), box = blank();
    line.setDrawWidth(2);
    box.setDrawWidth(2);
    line.line(20, 40, 80, 40, 0);
    box.line(20, 40, 80, 90, std::nullopt, LineKind::Box);
    // Both cover rows 39 and 40 along the top edge.
    for (int y : {39, 40})
        EXPECT_TRUE(inked(line, 50, y) && inked(box, 50, y)) << y;
    EXPECT_FALSE(inked(line, 50, 41));
    EXPECT_FALSE(inked(box, 50, 41));
}

TEST(PenWidths, ExclusiveOrTwiceRestoresForEveryWidth)
{
    for (int w = 1; w <= 6; ++w) {
        CanvasSurface s = blank();
        s.line(0, 0, 119, 119, rgbColour(10, 200, 30));
        const QImage before = s.image();
        s.setDrawWidth(w);
        s.setDrawMode(DrawMode::XorPen);
        for (int pass = 0; pass < 2; ++pass) {
            s.line(5, 90, 110, 20, rgbColour(255, 0, 0));
            s.pset(50, 50, rgbColour(0, 0, 255));
        }
        EXPECT_EQ(s.image(), before) << "width " << w;
    }
}
