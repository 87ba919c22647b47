// Tools that do not draw figures: the selection (1), the text box (9) and
// the threefold zoom (15).
#pragma once

#include "tools/tool.h"

namespace quor {

class SelectTool : public Tool
{
public:
    void mouseDown(frmquoredit &doc, int shift, double x, double y) override;
    void mouseMove(frmquoredit &doc, int shift, double x, double y) override;
    void mouseUp(frmquoredit &doc, int shift, double x, double y) override;
};

class TextTool : public Tool
{
public:
    void mouseDown(frmquoredit &doc, int shift, double x, double y) override;
    void mouseMove(frmquoredit &doc, int shift, double x, double y) override;
};

class ZoomTool : public Tool
{
public:
    void mouseDown(frmquoredit &doc, int shift, double x, double y) override;
};

} // namespace quor
