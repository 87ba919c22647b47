// Where document windows go in the document area: plain arithmetic in
// pixels, so it can be checked without windows.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace quor {

// The corner offset of the k-th new window (k from 0): k title-bar heights
// right and down, starting again at the corner once that would leave the
// area. Returns the slot used, so the next window takes the one after.
int cascadeSlot(int k, QSize area, int titleBarHeight);

// Cascade of n windows: each two thirds of the area's width and height,
// offset by a title bar's height from the one before, from the corner.
QList<QRect> cascadeLayout(int n, QSize area, int titleBarHeight);

} // namespace quor
