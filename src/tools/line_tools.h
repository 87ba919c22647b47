// The straight line (tool 2) and the freehand line (tool 6).
#pragma once

#include "tools/rubber_band_tool.h"

namespace quor {

class StraightLineTool : public RubberBandFigureTool
{
protected:
    void figure(frmquoredit &doc, double u, double v) override;
    bool visibleAtZeroSize() const override { return true; }
};

class FreehandTool : public Tool
{
public:
    void mouseDown(frmquoredit &doc, int shift, double x, double y) override;
    void mouseMove(frmquoredit &doc, int shift, double x, double y) override;
    void mouseUp(frmquoredit &doc, int shift, double x, double y) override;
};

} // namespace quor
