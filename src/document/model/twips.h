// Places on a canvas in twips, the unit the program's geometry is written
// in (15 to a screen pixel).
#pragma once

namespace quor {

// A rectangle: left, top, width, height.
struct TwipBox
{
    double left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipBox &) const = default;
};

struct TwipPoint
{
    double x = 0, y = 0;
    bool operator==(const TwipPoint &) const = default;
};

} // namespace quor
