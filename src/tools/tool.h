// One family of drawing tools: the canvas mouse steps of its tool numbers.
// A tool keeps no state of its own: the gesture comes with every event.
#pragma once

#include "document/model/gesture.h"
#include "document/model/tool_handler.h"

namespace quor {

class Tool
{
public:
    virtual ~Tool() = default;
    // Left-button events on the canvas; the engine has already applied the
    // button rules and (for releases) set the user's draw mode.
    virtual void press(ToolContext &, const CanvasEvent &) {}
    virtual void move(ToolContext &, const CanvasEvent &) {}
    virtual void release(ToolContext &, const CanvasEvent &) {}
    virtual void doubleClick(ToolContext &) {}
};

// Starts a rubber-band gesture at (x, y): the start and last points there,
// and the exclusive-or pen on the canvas.
void beginRubberBand(ToolContext &t, double x, double y);

} // namespace quor
