// The straight line (tool 2) and the freehand line (tool 6).
#pragma once

#include "tools/tool.h"

namespace quor {

class StraightLineTool : public Tool
{
public:
    void mouseDown(frmquoredit &doc, int shift, double x, double y) override;
    void mouseMove(frmquoredit &doc, int shift, double x, double y) override;
    void mouseUp(frmquoredit &doc, int shift, double x, double y) override;
};

class FreehandTool : public Tool
{
public:
    void mouseDown(frmquoredit &doc, int shift, double x, double y) override;
    void mouseMove(frmquoredit &doc, int shift, double x, double y) override;
    void mouseUp(frmquoredit &doc, int shift, double x, double y) override;
};

} // namespace quor
