// The two-phase circle tools: the arc (tool 8) and the sector (10), and the
// gesture the gradient arc band (14) shares with them. The first press drags
// a blinking guide from the centre to a point on the circle; the second
// press points, clockwise on screen from the guide, to where the figure ends.
#pragma once

#include "tools/arc_geometry.h"
#include "tools/tool.h"

namespace quor {

struct ArcGesture;

// The circle the second press read from the guide.
ArcCircle arcCircleOf(const ArcGesture &g);

class TwoPhaseArcTool : public Tool
{
public:
    void press(ToolContext &t, const CanvasEvent &e) override;
    void move(ToolContext &t, const CanvasEvent &e) override;
    void release(ToolContext &t, const CanvasEvent &e) override;

protected:
    // The exclusive-or rubber band of the second phase for pointer direction
    // a; drawn twice it is gone.
    virtual void rubberBand(ToolContext &t, double a);
    // The figure at the second release, in the user's draw mode; false when
    // nothing was drawn.
    virtual bool finish(ToolContext &t) = 0;
};

class ArcTool : public TwoPhaseArcTool
{
protected:
    bool finish(ToolContext &t) override;
};

// The arc closed by both radii, in the canvas's fore colour and fill.
class SectorTool : public TwoPhaseArcTool
{
protected:
    void rubberBand(ToolContext &t, double a) override;
    bool finish(ToolContext &t) override;
};

} // namespace quor
