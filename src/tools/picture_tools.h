// Tools that do not draw figures: the selection (1), the text box (9) and
// the threefold zoom (15).
#pragma once

#include "tools/tool.h"

namespace quor {

class SelectTool : public Tool
{
public:
    void mouseDown(ToolContext &t, int shift, double x, double y) override;
    void mouseMove(ToolContext &t, int shift, double x, double y) override;
    void mouseUp(ToolContext &t, int shift, double x, double y) override;
};

class TextTool : public Tool
{
public:
    void mouseDown(ToolContext &t, int shift, double x, double y) override;
    void mouseMove(ToolContext &t, int shift, double x, double y) override;
};

// Whether an enlarged bitmap of that many pixels may be made: at most
// 32767 on a side and 150 million pixels (600 MB).
constexpr double MaxZoomSide = 32767;
constexpr double MaxZoomPixels = 150e6;
bool zoomFits(double widthPx, double heightPx);

class ZoomTool : public Tool
{
public:
    void mouseDown(ToolContext &t, int shift, double x, double y) override;
};

} // namespace quor
