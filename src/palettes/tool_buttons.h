// The tool palette's sixteen buttons: where each sits, its tip, the tool it
// chooses, where the marker goes and which panel it shows; and their icons.
#pragma once

#include "core/tool_id.h"

#include <QIcon>

namespace quor {

struct ToolButtonSpec
{
    int command;  // CommandN
    int row;      // 1..8
    int column;   // 0 left, 1 right
    const char *tip;
    ToolId tool;
    double markerLeft, markerTop; // twips
    int frame;    // panel shown, Frame1..Frame5
};

// The buttons in their layout order, row by row, left before right.
constexpr int ToolButtonCount = 16;
const ToolButtonSpec &toolButtonAt(int layoutIndex);
// The button CommandN.
const ToolButtonSpec &toolButton(int command);

// The tip's words before an explanation in brackets ("弧线"), and the
// explanation (empty for most), for assistive tools.
QString toolButtonName(const ToolButtonSpec &b);
QString toolButtonHint(const ToolButtonSpec &b);

// Button placement, twips.
constexpr double ToolButtonWidth = 435, ToolButtonHeight = 310;
double toolButtonLeft(const ToolButtonSpec &b);
double toolButtonTop(const ToolButtonSpec &b);

// The picture of CommandN, drawn at the given logical size.
QIcon toolIcon(int command, QSize size);
// The small marker laid on the chosen button.
QPixmap toolMarkerPixmap(QSize size);

} // namespace quor
