// The colour palette's 48 swatches, Picture9..Picture56: 24 columns of a
// light colour above a dark one.
#pragma once

#include "core/colour.h"

namespace quor {

constexpr int FirstSwatch = 9, LastSwatch = 56;
// Column 1..24 and row 0 (top) or 1 (bottom) of PictureN.
int swatchColumn(int picture);
int swatchRow(int picture);
Colour swatchColour(int picture);

} // namespace quor
