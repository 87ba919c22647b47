// The mouse tools: the fifteen of the tool palette, numbered as its
// buttons are, then the two the toolbar chooses.
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
    Fill = 16,
    Picker = 17,
};

// The tools a right-button press on the canvas goes to, instead of the
// edit menu: they do with the right button what the left does, in the
// background colour.
constexpr bool takesRightButton(ToolId tool)
{
    return tool == ToolId::Fill || tool == ToolId::Picker;
}

} // namespace quor
