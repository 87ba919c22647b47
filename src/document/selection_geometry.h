// Geometry of the floating selection: its frame, handles and the resize
// rules of each handle. Plain arithmetic in twips.
#pragma once

#include "document/model/twips.h"

#include <array>

namespace quor {

// The eight handles in this order.
enum SelectionHandle { LeftUp, Up, RightUp, Left, Right, LeftDown, Down, RightDown };

// The frame stands 24 twips outside the picture on the left and top and 39
// on the right and bottom.
TwipBox selectionFrame(const TwipBox &picture);

// Top-left corners of the eight handles (each handleSize square) around a
// frame: outside its corners and edge midpoints.
std::array<TwipPoint, 8> handlePositions(const TwipBox &frame, double handleSize);

// The picture's rectangle after dragging handle h to (x, y), given in the
// handle's own coordinates. Edges never cross: a collapsed side keeps its
// origin and a width or height of 1 (15 for the bottom-right handle).
TwipBox resizeWithHandle(SelectionHandle h, const TwipBox &r, double x, double y);

} // namespace quor
