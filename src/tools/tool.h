// One family of drawing tools: the canvas mouse steps of its tool numbers.
// A tool keeps no state of its own: the gesture state is the document's.
#pragma once

#include "document/model/tool_handler.h"

namespace quor {

class Tool
{
public:
    virtual ~Tool() = default;
    // Left-button events on the canvas; the engine has already applied the
    // button rules and (for releases) set the user's draw mode.
    virtual void mouseDown(ToolContext &, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void mouseMove(ToolContext &, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void mouseUp(ToolContext &, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void dblClick(ToolContext &) {}
};

} // namespace quor
