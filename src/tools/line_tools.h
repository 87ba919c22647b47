// The straight line (tool 2) and the freehand line (tool 6).
#pragma once

#include "tools/rubber_band_tool.h"

namespace quor {

class StraightLineTool : public RubberBandFigureTool
{
protected:
    void figure(ToolContext &t, double u, double v) override;
    bool visibleAtZeroSize() const override { return true; }
};

class FreehandTool : public Tool
{
public:
    void press(ToolContext &t, const CanvasEvent &e) override;
    void move(ToolContext &t, const CanvasEvent &e) override;
    void release(ToolContext &t, const CanvasEvent &e) override;
};

} // namespace quor
