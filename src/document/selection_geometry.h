// Geometry of the floating selection: its frame, handles and the resize
// rules of each handle. Plain arithmetic in twips.
#pragma once

#include <array>

namespace quor {

struct TwipRect
{
    double left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipRect &) const = default;
};

struct TwipPoint
{
    double x = 0, y = 0;
    bool operator==(const TwipPoint &) const = default;
};

// The eight handles in this order.
enum SelectionHandle { LeftUp, Up, RightUp, Left, Right, LeftDown, Down, RightDown };

// The frame stands 24 twips outside the picture on the left and top and 39
// on the right and bottom.
TwipRect selectionFrame(const TwipRect &picture);

// Top-left corners of the eight handles (each handleSize square) around a
// frame: outside its corners and edge midpoints.
std::array<TwipPoint, 8> handlePositions(const TwipRect &frame, double handleSize);

// The picture's rectangle after dragging handle h to (x, y), given in the
// handle's own coordinates. Edges never cross: a collapsed side keeps its
// origin and a width or height of 1 (15 for the bottom-right handle).
TwipRect resizeWithHandle(SelectionHandle h, const TwipRect &r, double x, double y);

} // namespace quor
