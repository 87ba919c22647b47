// How figures are filled and lines drawn. The numbers are the order of the
// tool palette's style boxes, which the settings file keeps.
#pragma once

namespace quor {

enum class FillStyle {
    Solid,
    Transparent, // the outline only
    HorizontalLines,
    VerticalLines,
    DownwardDiagonals,
    UpwardDiagonals,
    Cross,
    DiagonalCross,
};

enum class LineStyle {
    Solid,
    Dash,
    Dot,
    DashDot,
    DashDotDot,
    Invisible,
    InsideSolid, // a wide pen lies wholly inside the figure's edge
};

} // namespace quor
