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
    void mouseDown(ToolContext &t, int shift, double x, double y) override;
    void mouseMove(ToolContext &t, int shift, double x, double y) override;
    void mouseUp(ToolContext &t, int shift, double x, double y) override;
};

} // namespace quor
