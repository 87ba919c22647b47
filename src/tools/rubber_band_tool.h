// Base of the tools whose figure follows the pointer as an exclusive-or
// rubber band and is drawn for good on release.
#pragma once

#include "tools/tool.h"

namespace quor {

// A figure from the gesture's start point to a corner, drawn with the
// exclusive-or pen while the button is held and in the user's mode at the end.
class RubberBandFigureTool : public Tool
{
public:
    void press(ToolContext &t, const CanvasEvent &e) override;
    void move(ToolContext &t, const CanvasEvent &e) override;
    void release(ToolContext &t, const CanvasEvent &e) override;

protected:
    virtual void figure(ToolContext &t, double u, double v) = 0;
    virtual bool visibleAtZeroSize() const = 0;
};

} // namespace quor
