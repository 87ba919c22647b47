// The fifteen mouse tools, numbered as the tool palette's buttons are.
#pragma once

namespace quor {

enum class ToolId {
    Select = 1,
    Line = 2,
    Ellipse = 3,
    Rectangle = 4,
    Polyline = 5,
    Freehand = 6,
    Dots = 7,
    Arc = 8,
    Text = 9,
    Sector = 10,
    GradientEllipse = 11,
    GradientBox = 12,
    GradientDirectional = 13,
    GradientArcBand = 14,
    Zoom = 15,
};

} // namespace quor
