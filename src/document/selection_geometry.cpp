#include "document/selection_geometry.h"

namespace quor {

TwipBox selectionFrame(const TwipBox &p)
{
    return {p.left - 24, p.top - 24, p.width + 63, p.height + 63};
}

std::array<TwipPoint, 8> handlePositions(const TwipBox &s, double hs)
{
    const double left = s.left - hs, midX = s.left + s.width / 2 - hs / 2, right = s.left + s.width;
    const double top = s.top - hs, midY = s.top + s.height / 2 - hs / 2, bottom = s.top + s.height;
    return {{{left, top}, {midX, top}, {right, top}, {left, midY}, {right, midY},
             {left, bottom}, {midX, bottom}, {right, bottom}}};
}

TwipBox resizeWithHandle(SelectionHandle h, const TwipBox &r, double x, double y)
{
    TwipBox n = r;
    const bool leftSide = h == LeftUp || h == Left || h == LeftDown;
    const bool topSide = h == LeftUp || h == Up || h == RightUp;
    const bool rightSide = h == RightUp || h == Right || h == RightDown;
    const bool bottomSide = h == LeftDown || h == Down || h == RightDown;
    const double least = h == RightDown ? 15 : 1;
    if (leftSide) {
        if (r.width - x >= 1) {
            n.left = r.left + x;
            n.width = r.width - x;
        } else {
            n.width = 1;
        }
    }
    if (topSide) {
        if (r.height - y >= 1) {
            n.top = r.top + y;
            n.height = r.height - y;
        } else {
            n.height = 1;
        }
    }
    if (rightSide)
        n.width = r.width + x >= least ? r.width + x : least;
    if (bottomSide)
        n.height = r.height + y >= least ? r.height + y : least;
    return n;
}

} // namespace quor
