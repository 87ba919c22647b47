// One family of drawing tools: the canvas mouse steps of its tool numbers.
#pragma once

namespace quor {

class frmquoredit;

class Tool
{
public:
    virtual ~Tool() = default;
    // Left-button events on the canvas; the engine has already applied the
    // button rules and (for releases) set the user's draw mode.
    virtual void mouseDown(frmquoredit &, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void mouseMove(frmquoredit &, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void mouseUp(frmquoredit &, int /*shift*/, double /*x*/, double /*y*/) {}
    virtual void dblClick(frmquoredit &) {}
};

} // namespace quor
