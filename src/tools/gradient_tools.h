// The gradient tools: the gradient ellipse (tool 11), the inside-outside and
// the directional gradient rectangles (12, 13), rubber-banded like the
// ellipse and rectangle tools, and the gradient arc band (14) with the arc
// tools' two phases. The gradient grows on screen while it is drawn, the
// program taking events meanwhile; Escape stops it with what is drawn kept,
// one step of the history like a finished one.
#pragma once

#include "tools/arc_tools.h"
#include "tools/gradient_shapes.h"

namespace quor {

// The palette's gradient colours and kind.
GradientColours gradientColours(const ToolContext &t);
GradientKind gradientKind(const ToolContext &t);

// A solid exclusive-or ellipse or box while dragging, the gradient in the
// dragged rectangle on release.
class GradientShapeTool : public Tool
{
public:
    void mouseDown(ToolContext &t, int shift, double x, double y) override;
    void mouseMove(ToolContext &t, int shift, double x, double y) override;
    void mouseUp(ToolContext &t, int shift, double x, double y) override;

protected:
    virtual bool boxBand() const = 0; // a box rubber band, else an ellipse
    virtual GradientResult draw(ToolContext &t, const GradientBox &box,
                                const GradientPace &pace) = 0;

private:
    void figure(ToolContext &t, double u, double v);
};

class GradientEllipseTool : public GradientShapeTool
{
protected:
    bool boxBand() const override { return false; }
    GradientResult draw(ToolContext &t, const GradientBox &box,
                        const GradientPace &pace) override;
};

class GradientFramesTool : public GradientShapeTool
{
protected:
    bool boxBand() const override { return true; }
    GradientResult draw(ToolContext &t, const GradientBox &box,
                        const GradientPace &pace) override;
};

class DirectionalGradientTool : public GradientShapeTool
{
protected:
    bool boxBand() const override { return true; }
    GradientResult draw(ToolContext &t, const GradientBox &box,
                        const GradientPace &pace) override;
};

// The arc tool's gesture and rubber band; the band between the guide's
// radius and the band width inside it on the second release.
class GradientArcBandTool : public TwoPhaseArcTool
{
protected:
    bool finish(ToolContext &t) override;
};

} // namespace quor
