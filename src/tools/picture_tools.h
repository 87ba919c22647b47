// Tools that do not draw figures: the selection (1), the text box (9) and
// the threefold zoom (15).
#pragma once

#include "tools/tool.h"

namespace quor {

class SelectTool : public Tool
{
public:
    void press(ToolContext &t, const CanvasEvent &e) override;
    void move(ToolContext &t, const CanvasEvent &e) override;
    void release(ToolContext &t, const CanvasEvent &e) override;
};

class TextTool : public Tool
{
public:
    void press(ToolContext &t, const CanvasEvent &e) override;
    void move(ToolContext &t, const CanvasEvent &e) override;
};

// Whether an enlarged bitmap of that many pixels may be made: within the
// limits every picture reader keeps, so that it can be opened again.
bool zoomFits(double widthPx, double heightPx);

class ZoomTool : public Tool
{
public:
    void press(ToolContext &t, const CanvasEvent &e) override;
};

} // namespace quor
