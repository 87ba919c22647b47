#include "tools/arc_tools.h"

#include "core/drawing_settings.h"
#include "document/model/document.h"

namespace quor {

ArcCircle arcCircleOf(const ArcGesture &g)
{
    return {g.cx, g.cy, g.radius, g.guideAngle};
}

void TwoPhaseArcTool::press(ToolContext &t, const CanvasEvent &e)
{
    ArcGesture &g = t.gesture.arc;
    if (!t.gesture.arc.guidePlaced) {
        g.x1 = g.x2 = e.x;
        g.y1 = g.y2 = e.y;
        g.placing = true;
        t.overlays.showGuide(e.x, e.y, e.x, e.y);
        return;
    }
    // The guide has done its work: the circle and its direction are read
    // from it once, here.
    t.overlays.hideGuide();
    const ArcCircle c = readGuide({g.x1, g.y1, g.x2, g.y2});
    g.cx = c.cx;
    g.cy = c.cy;
    g.radius = c.radius;
    g.guideAngle = c.guideAngle;
    g.pointerAngle = pointAngle(g.cx, g.cy, e.x, e.y);
    t.doc.canvas().setDrawMode(DrawMode::XorPen);
    rubberBand(t, g.pointerAngle);
    g.pointing = true;
}

void TwoPhaseArcTool::move(ToolContext &t, const CanvasEvent &e)
{
    ArcGesture &g = t.gesture.arc;
    if (g.pointing) {
        t.doc.canvas().setDrawMode(DrawMode::XorPen);
        rubberBand(t, g.pointerAngle);
        g.pointerAngle = pointAngle(g.cx, g.cy, e.x, e.y);
        rubberBand(t, g.pointerAngle);
    } else if (g.placing) {
        g.x2 = e.x;
        g.y2 = e.y;
        t.overlays.moveGuide(g.x1, g.y1, e.x, e.y);
    }
}

void TwoPhaseArcTool::release(ToolContext &t, const CanvasEvent &)
{
    ArcGesture &g = t.gesture.arc;
    if (g.pointing) {
        // The figure ends where the last press or move pointed, not at the
        // release point.
        CanvasSurface &c = t.doc.canvas();
        c.setDrawMode(DrawMode::XorPen);
        rubberBand(t, g.pointerAngle);
        c.setDrawMode(t.settings.drawMode);
        g.pointing = false;
        t.gesture.arc.guidePlaced = false;
        if (finish(t))
            t.doc.markChanged();
        return;
    }
    if (!g.placing)
        return;
    g.placing = false;
    if (g.x1 == g.x2 && g.y1 == g.y2)
        t.overlays.hideGuide(); // a guide without length: start over
    else
        t.gesture.arc.guidePlaced = true;
}

void TwoPhaseArcTool::rubberBand(ToolContext &t, double a)
{
    // The radius to the pointer closes the arc into a pie; it must not be
    // filled, since the finished arc is a thin line whatever the fill style.
    CanvasSurface &c = t.doc.canvas();
    const FillStyle fill = c.fillStyle();
    c.setFillStyle(FillStyle::Transparent);
    drawCircleCall(c, arcFigureCall(ArcFigure::ArcRubberBand, arcCircleOf(t.gesture.arc), a),
                   t.settings.drawingColour);
    c.setFillStyle(fill);
}

bool ArcTool::finish(ToolContext &t)
{
    const ArcGesture &g = t.gesture.arc;
    drawCircleCall(t.doc.canvas(), arcFigureCall(ArcFigure::Arc, arcCircleOf(g), g.pointerAngle),
                   t.settings.drawingColour);
    return true;
}

void SectorTool::rubberBand(ToolContext &t, double a)
{
    drawCircleCall(t.doc.canvas(), arcFigureCall(ArcFigure::Sector, arcCircleOf(t.gesture.arc), a),
                   std::nullopt);
}

bool SectorTool::finish(ToolContext &t)
{
    rubberBand(t, t.gesture.arc.pointerAngle); // the same figure, now in the user's mode
    return true;
}

} // namespace quor
