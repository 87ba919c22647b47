// The tool palette's style boxes: their families, the values and tips of
// each box, and where they sit in their panel.
#pragma once

#include "core/pen_styles.h"

#include <QString>

namespace quor {

// Box, circle and sector families hold eight fill boxes and seven line
// boxes; the two line families hold six line boxes each.
enum class StyleFamily { Rectangle, Ellipse, Sector, Line, GradientLine };
constexpr StyleFamily AllStyleFamilies[] = {StyleFamily::Rectangle, StyleFamily::Ellipse,
                                            StyleFamily::Sector, StyleFamily::Line,
                                            StyleFamily::GradientLine};

int styleBoxCount(StyleFamily f);
// Object name of box i (1-based): "Picturebox3", "Pictureline01" …
QString styleBoxName(StyleFamily f, int i);
// Panel the family lies on, 1..5 ("Frame1" …).
int styleFamilyFrame(StyleFamily f);

// Fill boxes set the fill style, the others the line style.
bool isFillBox(StyleFamily f, int i);
// The fill style of fill box i, and the line style of line box i.
FillStyle boxFillStyle(int i);
LineStyle boxLineStyle(StyleFamily f, int i);
QString styleBoxTip(StyleFamily f, int i);

// Placement inside the panel, twips.
struct BoxPlace
{
    double left, top, width, height;
};
BoxPlace styleBoxPlace(StyleFamily f, int i);

} // namespace quor
